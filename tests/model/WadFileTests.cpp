// Reading and writing WAD files: the builder's fixture, and the real WADs
// beside the checkout (skipped when absent).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "SharedData.h"
#include "WadBuilder.h"
#include "model/AnimCommands.h"
#include "model/KeyFrameCodec.h"
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
void ExpectReadRefused(std::span<const uint8_t> bytes, const std::string& what) {
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

  TempDir dir;
  WadFile wad = WadBuilder().Expected();
  EXPECT_EQ(ReadWad((dir.path / "missing.wad").string(), wad), 0);
  EXPECT_EQ(ReadWad(dir.path.string(), wad), 0);  // a folder
  EXPECT_EQ(wad, WadBuilder().Expected());
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
