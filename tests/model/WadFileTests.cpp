// Reading and writing WAD files: the builder's fixture, and the real WADs
// beside the checkout (skipped when absent).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "HeapMeter.h"
#include "SharedData.h"
#include "WadBuilder.h"
#include "model/AnimCommands.h"
#include "model/KeyFrameCodec.h"
#include "model/KeyFrameEditing.h"
#include "model/KeyFrameStream.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

// A folder of its own under the system's temporary folder, removed afterwards.
struct TempDir {
  const fs::path path = fs::temp_directory_path() / ("wadfile-tests-" + std::to_string(::getpid()));
  TempDir() {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
  std::size_t EntryCount() const { return std::distance(fs::directory_iterator(path), fs::directory_iterator{}); }
  std::string Put(const std::string& name, const Bytes& bytes) const {
    std::ofstream(path / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return (path / name).string();
  }
};

// Expects ReadWadBytes to refuse bytes, say why, and leave a record that
// differs from the fixture exactly as it was.
void ExpectReadRefused(std::span<const uint8_t> bytes, const std::string& what, const std::string& saying = "") {
  static const WadFile before = [] {
    WadBuilder other;
    other.keyFrameWords = {1, 2, 3};
    other.statics.clear();
    return other.Expected();
  }();
  WadFile wad = before;
  std::string why;
  ASSERT_EQ(ReadWadBytes(bytes, wad, &why), 0) << what;
  EXPECT_FALSE(why.empty()) << what;
  EXPECT_NE(why.find(saying), std::string::npos) << what << ": " << why;
  ASSERT_EQ(wad, before) << what;
}

// Each real WAD: its path, its bytes and the record read from them.
void ForEachRealWad(const std::function<void(const std::string&, const Bytes&, const WadFile&)>& f) {
  const std::vector<fs::path> wads = testsupport::SharedWads();
  EXPECT_FALSE(wads.empty()) << "no WAD in " << testsupport::SharedPath("wads");
  for (const auto& path : wads) {
    const Bytes bytes = testsupport::ReadBytes(path);
    WadFile wad;
    std::string why;
    EXPECT_EQ(ReadWadBytes(bytes, wad, &why), 1) << path << ": " << why;
    f(path.string(), bytes, wad);
  }
}

// Decodes the keyframes and commands, applies edit, and encodes both back in
// place (the streams the WAD holds are the old ones a save starts from).
void DecodeAndEncode(WadFile& wad, const std::function<void(AnimationModel&)>& edit = {}) {
  AnimationModel model;
  uint32_t total = 0;
  DecodeKeyFrames(model, wad, total);
  const AnimCommandArray commands = DecodeAnimCommands(wad);
  if (edit) edit(model);
  const EncodeResult keyFrames = RebuildKeyFrameData(model, wad), encoded = EncodeAnimCommands(commands, wad);
  EXPECT_TRUE(keyFrames && encoded) << keyFrames.message << encoded.message;
}

}  // namespace

TEST(WadFile, ReadWriteRoundTripThroughBytesAndFiles) {
  const WadBuilder fixture;
  const Bytes bytes = fixture.Bytes();
  WadFile wad;
  std::string why;
  ASSERT_EQ(ReadWadBytes(bytes, wad, &why), 1) << why;
  EXPECT_EQ(wad, fixture.Expected());
  EXPECT_EQ(SerializeWad(wad), bytes);

  // Replacing a file keeps its permission bits and leaves no temporary file.
  TempDir dir;
  const std::string target = dir.Put("out.wad", {1});
  const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(target, perms);
  ASSERT_EQ(WriteWad(target, wad), 1);
  EXPECT_EQ(testsupport::ReadBytes(target), bytes);
  EXPECT_EQ(fs::status(target).permissions(), perms);
  EXPECT_EQ(dir.EntryCount(), 1u);
  WadFile again;
  ASSERT_EQ(ReadWad(target, again), 1);
  EXPECT_EQ(again, wad);

  // Links are read as four words inside the stream only: {0, 0, -100, 0, 2, 25, -15, 40}.
  WadLink link;
  ASSERT_TRUE(LinkAt(wad, 4, link));
  EXPECT_EQ(link, (WadLink{2, 25, -15, 40}));
  EXPECT_FALSE(LinkAt(wad, 5, link));
  EXPECT_FALSE(LinkAt(wad, 0xFFFFFFFF, link));
}

TEST(WadReader, RefusesTruncationsHugeCountsOtherVersionsAndNonFilesKeepingTheRecord) {
  std::vector<std::size_t> countAt;
  const Bytes bytes = WadBuilder().Bytes(&countAt);
  for (std::size_t length = 0; length < bytes.size(); ++length)
    ExpectReadRefused(std::span(bytes).first(length), "cut to " + std::to_string(length));
  ASSERT_EQ(countAt.size(), 12u);
  for (std::size_t at : countAt) {
    for (uint32_t count : {0xFFFFFFFFu, 0x80000000u, 0x40000001u}) {
      Bytes patched = bytes;
      for (int i = 0; i < 4; ++i) patched[at + i] = static_cast<uint8_t>(count >> (8 * i));
      ExpectReadRefused(patched, "count at byte " + std::to_string(at));
    }
  }
  WadBuilder old;
  old.version = 128;
  ExpectReadRefused(old.Bytes(), "version 128");

  // A count one lower leaves bytes after the last section (or shifts every
  // later section): whatever is taken is written back whole.
  int taken = 0;
  for (std::size_t at : countAt) {
    Bytes patched = bytes;
    if (patched[at]-- == 0) continue;
    WadFile wad;
    if (ReadWadBytes(patched, wad) == 0) continue;
    ++taken;
    EXPECT_EQ(SerializeWad(wad), patched) << "count at byte " << at;
  }
  EXPECT_GE(taken, 1);  // the statics' count, at least

  TempDir dir;
  WadFile wad = WadBuilder().Expected();
  EXPECT_EQ(ReadWad((dir.path / "missing.wad").string(), wad), 0);
  EXPECT_EQ(ReadWad(dir.path.string(), wad), 0);  // a folder
  EXPECT_EQ(wad, WadBuilder().Expected());
}

// Animation 1 without its two commands (command words 3-9), storing at as
// its command offset.
void WithoutCommandsOfAnimation1(WadBuilder& b, uint16_t at) {
  b.commandWords.erase(b.commandWords.begin() + 3, b.commandWords.begin() + 10);
  b.animations[1].numCommands = 0;
  b.animations[1].commandOffset = at;
  b.animations[2].commandOffset = 3;
  b.animations[3].commandOffset = 9;
}

// Two words before the frames, three after animation 0's, five (half a frame)
// after animation 3's.
void WithWordsAroundTheFrames(WadBuilder& b) {
  std::vector<uint16_t>& w = b.keyFrameWords;
  w.insert(w.begin() + 26, {7, 8, 9});
  w.insert(w.begin(), {0x1111, 0x2222});
  w.insert(w.end(), {1, 2, 3, 4, 5});
  b.animations[0].keyFrameOffset = b.moveables[0].keyFrameOffset = 4;
  b.animations[1].keyFrameOffset = 62;
  b.animations[2].keyFrameOffset = b.animations[3].keyFrameOffset = 152;
  b.moveables[1].keyFrameOffset = b.moveables[2].keyFrameOffset = 152;
}

void WithUncountedCommandWords(WadBuilder& b) { b.commandWords.insert(b.commandWords.end(), {0xABCD, 7}); }

// Conventions and damage a WAD may carry that the editor's own saves never
// make, each on the fixture. Fixture keyframe words: animation 0 at 0-25,
// animation 1 at 26-70, animation 3 at 71-80 (byte offsets 0, 52, 142);
// command words: animation 0 at 0-2, 1 at 3-9, 2 at 10-15, 3 at 16-20.
const std::vector<std::pair<const char*, std::function<void(WadBuilder&)>>> kUnusualWads = {
    {"an animation without commands at the running word", [](WadBuilder& b) { WithoutCommandsOfAnimation1(b, 3); }},
    {"an animation without commands at some other word", [](WadBuilder& b) { WithoutCommandsOfAnimation1(b, 0x1234); }},
    {"command words no count reaches", WithUncountedCommandWords},
    {"a command count past the stream", [](WadBuilder& b) { b.animations[3].numCommands = 5; }},
    {"commands stored out of animation order", [](WadBuilder& b) {
       std::rotate(b.commandWords.begin(), b.commandWords.begin() + 3, b.commandWords.begin() + 10);
       b.animations[0].commandOffset = 7;
       b.animations[1].commandOffset = 0;
     }},
    {"a frameless animation pointing into other frames", [](WadBuilder& b) { b.animations[2].keyFrameOffset = 60; }},
    {"a frameless animation at offset 0", [](WadBuilder& b) { b.animations[2].keyFrameOffset = 0; }},
    {"moveables pointing at other moveables' keyframes", [](WadBuilder& b) {
       b.moveables[0].keyFrameOffset = 162;
       b.moveables[1].keyFrameOffset = 0;
       b.moveables[2].keyFrameOffset = 52;
     }},
    {"words before, between and after the frames", WithWordsAroundTheFrames},
    {"frames too short for the moveable's meshes", [](WadBuilder& b) { b.moveables[2].numMeshes = 3; }},
    {"frames too short for a header", [](WadBuilder& b) { b.animations[1].frameSize = 5; }},
    {"keyframes stored out of animation order", [](WadBuilder& b) {
       std::rotate(b.keyFrameWords.begin(), b.keyFrameWords.begin() + 71, b.keyFrameWords.end());
       b.animations[0].keyFrameOffset = b.moveables[0].keyFrameOffset = 20;
       b.animations[1].keyFrameOffset = 72;
       b.animations[2].keyFrameOffset = b.moveables[1].keyFrameOffset = 162;
       b.animations[3].keyFrameOffset = b.moveables[2].keyFrameOffset = 0;
     }},
    {"two animations starting at the same keyframe", [](WadBuilder& b) { b.animations[3].keyFrameOffset = 52; }},
    {"bytes after the statics", [](WadBuilder& b) { b.trailingBytes = {1, 2, 3, 0xFF}; }},
};

TEST(WadFile, UnusualButLegalWadsSaveByteIdenticalWithoutEdits) {
  for (const auto& [what, make] : kUnusualWads) {
    WadBuilder builder;
    make(builder);
    const Bytes bytes = builder.Bytes();
    WadFile wad;
    std::string why;
    ASSERT_EQ(ReadWadBytes(bytes, wad, &why), 1) << what << ": " << why;
    DecodeAndEncode(wad);
    EXPECT_EQ(SerializeWad(wad), bytes) << what;
  }
}

// After edits, every stored value that the edits do not touch stays as read,
// and those that pointed at moved words move with them.
TEST(WadFile, StoredOffsetsFollowTheWordsTheyPointAt) {
  WadBuilder builder;
  WithoutCommandsOfAnimation1(builder, 3);
  WithWordsAroundTheFrames(builder);
  WithUncountedCommandWords(builder);
  builder.animations[2].keyFrameOffset = 156;  // frameless, 4 bytes into animation 3's frame
  WadFile wad = builder.Expected();
  AnimationModel model;
  uint32_t total = 0;
  DecodeKeyFrames(model, wad, total);
  AnimCommandArray commands = DecodeAnimCommands(wad);

  // Animation 0 grows by one word per keyframe; a Die command joins it; an
  // animation without keyframes or commands is added after animation 2.
  model[0]->keyFrames[1].meshes[2].angles = {10, 20, 30};
  commands.insert(commands.begin() + 1, AnimCommand{3, 0, kCommandDie, {}});
  WadAnimation added = wad.animations[2];
  added.frameSize = added.numCommands = added.commandOffset = 0;
  wad.animations.insert(wad.animations.begin() + 3, added);
  ASSERT_EQ(InsertAnimation(model, 3, 5), 1);
  wad.moveables[2].animIndex = 4;
  for (AnimCommand& c : commands) c.animIndex += c.animIndex >= 3;
  ASSERT_TRUE(RebuildKeyFrameData(model, wad));
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));

  // Keyframe words: the two leading words, animation 0 (2 x 14 words), the three words
  // after it, animation 1 (45 words), animation 3 (10), the five trailing words.
  const std::vector<uint16_t>& w = wad.keyFrameWords;
  ASSERT_EQ(w.size(), builder.keyFrameWords.size() + 2);
  EXPECT_EQ(std::vector<uint16_t>(w.begin(), w.begin() + 2), (std::vector<uint16_t>{0x1111, 0x2222}));
  EXPECT_EQ(std::vector<uint16_t>(w.begin() + 30, w.begin() + 33), (std::vector<uint16_t>{7, 8, 9}));
  EXPECT_TRUE(std::equal(w.begin() + 33, w.end(), builder.keyFrameWords.begin() + 31));
  const uint32_t offsets[] = {4, 66, 160, 156, 156};
  const uint8_t frameSizes[] = {14, 15, 0, 0, 10};
  const uint16_t commandCounts[] = {2, 0, 2, 0, 3}, commandOffsets[] = {0, 4, 4, 0, 10};
  for (int g = 0; g < 5; ++g) {
    EXPECT_EQ(wad.animations[g].keyFrameOffset, offsets[g]) << g;
    EXPECT_EQ(wad.animations[g].frameSize, frameSizes[g]) << g;
    EXPECT_EQ(wad.animations[g].numCommands, commandCounts[g]) << g;
    EXPECT_EQ(wad.animations[g].commandOffset, commandOffsets[g]) << g;
  }
  for (int m = 0; m < 3; ++m) EXPECT_EQ(wad.moveables[m].keyFrameOffset, (std::array{4u, 156u, 156u})[m]) << m;
  EXPECT_EQ(wad.commandWords, (std::vector<uint16_t>{5, 3, 77, 4, 6, 23, 2, 2, 5, 6, 5, 0, 9, 0, 9, 0xABCD, 7}));

  // A second save without edits changes nothing more.
  const WadFile saved = wad;
  ASSERT_TRUE(RebuildKeyFrameData(model, wad));
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));
  EXPECT_EQ(wad, saved);
}

// A keyframe count is 16 bits: a file whose animation holds more keyframes
// could not be saved whole.
TEST(WadReader, RefusesAnAnimationHoldingMoreKeyFramesThanACountCanSay) {
  WadBuilder builder;  // animation 3 ends the stream with one keyframe of 10 words
  const std::vector<uint16_t> frame(builder.keyFrameWords.end() - 10, builder.keyFrameWords.end());
  for (uint32_t k = 1; k < kMaxKeyFrames; ++k)
    builder.keyFrameWords.insert(builder.keyFrameWords.end(), frame.begin(), frame.end());
  WadFile wad;
  ASSERT_EQ(ReadWadBytes(builder.Bytes(), wad), 1);
  AnimationModel model;
  uint32_t total = 0;
  DecodeKeyFrames(model, wad, total);
  EXPECT_EQ(model[3]->numKeyFrames(), kMaxKeyFrames);

  builder.keyFrameWords.insert(builder.keyFrameWords.end(), frame.begin(), frame.end());
  ExpectReadRefused(builder.Bytes(), "65536 keyframes", "65536");
}

TEST(WadWriter, FailedWriteKeepsTheOldFileAndLeavesNothingBehind) {
  TempDir dir;
  const std::string target = dir.Put("level.wad", {7, 7, 7});
  WadBuilder old;
  old.version = 128;
  EXPECT_EQ(WriteWad(target, old.Expected()), 0);
  EXPECT_EQ(WriteWad((dir.path / "new.wad").string(), old.Expected()), 0);

  // The file-size limit makes the write fail part-way through.
  const WadFile wad = WadBuilder().Expected();
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int written = WriteWad(target, wad);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(written, 0);

  // Targets that cannot be written: in a missing folder, or a folder.
  EXPECT_EQ(WriteWad((dir.path / "no-such-folder" / "x.wad").string(), wad), 0);
  fs::create_directory(dir.path / "folder.wad");
  EXPECT_EQ(WriteWad((dir.path / "folder.wad").string(), wad), 0);
  EXPECT_TRUE(fs::is_directory(dir.path / "folder.wad"));
  EXPECT_EQ(testsupport::ReadBytes(target), (Bytes{7, 7, 7}));
  EXPECT_EQ(dir.EntryCount(), 2u);  // the old file and the folder: no new or temporary file
}

// The superuser's save gives the new file the old one's owner.
TEST(WadWriter, ASaveAsSuperuserKeepsTheFilesOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can make a file of another owner";
  TempDir dir;
  const fs::path file = dir.Put("theirs.wad", {1});
  const unsigned nobody = 65534;
  ASSERT_EQ(chown(file.c_str(), nobody, nobody), 0);
  ASSERT_EQ(WriteWad(file.string(), WadBuilder().Expected()), 1);
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(std::pair(info.st_uid, info.st_gid), std::pair(nobody, nobody));
}

// A file of nothing but bytes after its twelve empty sections (sparse: its
// size costs no disk). The open holds those bytes once.
TEST(WadReader, HoldsTrailingBytesOnce) {
  TempDir dir;
  constexpr std::size_t kTrailing = 32 << 20;
  Bytes bytes(4 + 12 * 4, 0);
  bytes[0] = static_cast<uint8_t>(kWadVersion);
  const std::string trailing = dir.Put("trailing.wad", bytes);
  fs::resize_file(trailing, bytes.size() + kTrailing);
  heapmeter::ResetPeak();
  const std::size_t before = heapmeter::InUse();
  WadFile wad;
  ASSERT_EQ(ReadWad(trailing, wad), 1);
  EXPECT_LE(heapmeter::Peak() - before, kTrailing + kTrailing / 16);
  EXPECT_EQ(wad.trailingBytes, Bytes(kTrailing, 0));
}

TEST(RealWads, ReadWriteAndDecodeEncodeAreByteIdentical) {
  SKIP_WITHOUT_SHARED("wads");
  ForEachRealWad([](const std::string& path, const Bytes& bytes, WadFile wad) {
    EXPECT_EQ(SerializeWad(wad), bytes) << path;
    DecodeAndEncode(wad);
    EXPECT_EQ(SerializeWad(wad), bytes) << path << " after decode, rebuild and encode";
  });
}

// The first mesh stored in two words in the first keyframe of an animation
// gets new committed angles; only its two words may change, and they must
// decode to the new angles.
TEST(RealWads, OneCommittedMeshEditChangesOnlyThatMeshsWords) {
  SKIP_WITHOUT_SHARED("wads");
  int edited = 0;
  ForEachRealWad([&](const std::string& path, const Bytes&, const WadFile& original) {
    WadFile wad = original;
    float x = 0;
    DecodeAndEncode(wad, [&](AnimationModel& model) {
      for (auto& animation : model) {
        if (animation->keyFrames.empty()) continue;
        for (MeshPose& pose : animation->keyFrames[0].meshes) {
          if (pose.stored.count != 2) continue;
          x = pose.angles[0] == 17 ? 18 : 17;  // x always changes, so the first word does
          pose.angles = {x, 200, 300};
          return;
        }
      }
    });
    if (x == 0) return;
    ++edited;
    ASSERT_EQ(wad.keyFrameWords.size(), original.keyFrameWords.size()) << path;
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < wad.keyFrameWords.size(); ++i)
      if (wad.keyFrameWords[i] != original.keyFrameWords[i]) changed.push_back(i);
    ASSERT_FALSE(changed.empty()) << path;
    ASSERT_LE(changed.back() - changed.front(), 1u) << path;
    std::array<float, 3> angles{};
    ASSERT_EQ(DecodeRotation(angles[0], angles[1], angles[2], std::span(wad.keyFrameWords).subspan(changed[0], 2)), 3);
    EXPECT_EQ((std::array{RoundAngle(angles[0]), RoundAngle(angles[1]), RoundAngle(angles[2])}),
              (std::array{int(x), 200, 300})) << path;

    WadFile rest = wad;
    rest.keyFrameWords = original.keyFrameWords;
    EXPECT_EQ(rest, original) << path;
    WadFile readBack;
    EXPECT_EQ(ReadWadBytes(SerializeWad(wad), readBack), 1) << path;
  });
  EXPECT_GT(edited, 0);
}

TEST(RealWads, EveryTruncationOfASmallWadIsRefused) {
  SKIP_WITHOUT_SHARED("wads/egypt.wad");
  const Bytes bytes = testsupport::ReadBytes(testsupport::SharedPath("wads/egypt.wad"));
  for (std::size_t length = 0; length < bytes.size(); ++length)
    ExpectReadRefused(std::span(bytes).first(length), "egypt.wad cut to " + std::to_string(length));
}
