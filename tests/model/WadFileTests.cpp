#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "SharedData.h"
#include "WadBuilder.h"
#include "model/WadFile.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() : path_(fs::temp_directory_path() / ("wadfile-tests-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  std::size_t EntryCount() const {
    return std::distance(fs::directory_iterator(path_), fs::directory_iterator{});
  }

 private:
  fs::path path_;
};

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A record that differs from the fixture in every section, to see that a
// failed read leaves it alone.
WadFile OtherRecord() {
  WadBuilder other;
  other.textureBytes = {9};
  other.keyFrameWords = {1, 2, 3};
  other.statics.clear();
  return other.Expected();
}

}  // namespace

TEST(WadReader, ReadsEveryFieldOfEverySection) {
  WadBuilder fixture;
  WadFile wad;
  std::string why;
  ASSERT_EQ(ReadWadBytes(fixture.Bytes(), wad, &why), 1) << why;
  EXPECT_EQ(wad, fixture.Expected());
}

TEST(WadWriter, WritesTheBytesItRead) {
  const std::vector<uint8_t> bytes = WadBuilder().Bytes();
  WadFile wad;
  ASSERT_EQ(ReadWadBytes(bytes, wad), 1);
  EXPECT_EQ(SerializeWad(wad), bytes);

  TempDir dir;
  ASSERT_EQ(WriteWad((dir / "out.wad").string(), wad), 1);
  EXPECT_EQ(testsupport::ReadBytes(dir / "out.wad"), bytes);
  WadFile again;
  ASSERT_EQ(ReadWad((dir / "out.wad").string(), again), 1);
  EXPECT_EQ(again, wad);
}

TEST(WadWriter, EmptyAndMoveableOnlyRecordsHaveTheirFileSizes) {
  WadFile wad;
  ASSERT_EQ(ReadWadBytes(EmptyWad().Bytes(), wad), 1);
  EXPECT_EQ(wad, EmptyWad().Expected());
  EXPECT_EQ(SerializeWad(wad).size(), 4u + 12 * 4);

  wad.moveables.resize(3);
  EXPECT_EQ(SerializeWad(wad).size(), 4u + 12 * 4 + 3 * 18);
}

TEST(WadReader, RefusesEveryTruncationAndKeepsTheRecord) {
  const std::vector<uint8_t> bytes = WadBuilder().Bytes();
  const WadFile before = OtherRecord();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    WadFile wad = before;
    std::string why;
    ASSERT_EQ(ReadWadBytes(std::span(bytes).first(length), wad, &why), 0) << length;
    EXPECT_FALSE(why.empty());
    ASSERT_EQ(wad, before) << length;
  }
}

TEST(WadReader, RefusesCountsBeyondTheFileAndKeepsTheRecord) {
  const WadBuilder fixture;
  const WadFile before = OtherRecord();
  for (std::size_t at : fixture.CountOffsets()) {
    for (uint32_t count : {0xFFFFFFFFu, 0x80000000u, 0x40000001u}) {
      std::vector<uint8_t> bytes = fixture.Bytes();
      for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(count >> (8 * i));
      WadFile wad = before;
      EXPECT_EQ(ReadWadBytes(bytes, wad), 0) << "count at " << at;
      EXPECT_EQ(wad, before);
    }
  }
}

TEST(WadFileVersion, OtherThan129IsRefusedByReaderAndWriter) {
  WadBuilder old;
  old.version = 128;
  const WadFile before = OtherRecord();
  WadFile wad = before;
  EXPECT_EQ(ReadWadBytes(old.Bytes(), wad), 0);
  EXPECT_EQ(wad, before);

  TempDir dir;
  const fs::path existing = dir / "existing.wad";
  WriteBytes(existing, {1, 2, 3});
  EXPECT_EQ(WriteWad(existing.string(), old.Expected()), 0);
  EXPECT_EQ(testsupport::ReadBytes(existing), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(WriteWad((dir / "new.wad").string(), old.Expected()), 0);
  EXPECT_FALSE(fs::exists(dir / "new.wad"));
}

TEST(WadReader, RefusesMissingFilesAndFolders) {
  TempDir dir;
  const WadFile before = OtherRecord();
  WadFile wad = before;
  EXPECT_EQ(ReadWad((dir / "missing.wad").string(), wad), 0);
  EXPECT_EQ(ReadWad((dir / "").string(), wad), 0);
  EXPECT_EQ(wad, before);
}

TEST(WadWriter, FailedWriteKeepsTheOldFileAndLeavesNothingBehind) {
  TempDir dir;
  const fs::path target = dir / "level.wad";
  const std::vector<uint8_t> old = {7, 7, 7};
  WriteBytes(target, old);
  const WadFile wad = WadBuilder().Expected();

  // The file-size limit makes the write fail part-way through.
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int written = WriteWad(target.string(), wad);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);

  EXPECT_EQ(written, 0);
  EXPECT_EQ(testsupport::ReadBytes(target), old);
  EXPECT_EQ(dir.EntryCount(), 1u);

  EXPECT_EQ(WriteWad((dir / "no-such-folder" / "x.wad").string(), wad), 0);
  fs::create_directory(dir / "folder.wad");
  EXPECT_EQ(WriteWad((dir / "folder.wad").string(), wad), 0);
  EXPECT_TRUE(fs::is_directory(dir / "folder.wad"));
  EXPECT_EQ(dir.EntryCount(), 2u);
}

TEST(WadWriter, ReplacingAFileKeepsItsPermissions) {
  TempDir dir;
  const fs::path target = dir / "level.wad";
  WriteBytes(target, {1});
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_EQ(WriteWad(target.string(), WadBuilder().Expected()), 1);
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(CountMoveableAnimations, CountsUpToTheNextMoveableWithAnimationsInsideTheTable) {
  WadFile wad;
  wad.animations.resize(8);
  for (auto [first, expected] : {std::pair{0, 8}, {3, 5}, {-1, 0}, {8, 0}}) {
    wad.moveables.resize(1);
    wad.moveables[0].animIndex = static_cast<int16_t>(first);
    EXPECT_EQ(CountMoveableAnimations(wad, 0), uint32_t(expected)) << "one moveable from " << first;
  }
  wad.moveables = {{}, {}, {}};
  const int16_t firsts[3][3] = {{0, -1, 5}, {2, 1, 9}, {2, -1, 9}};
  const uint32_t counts[3][3] = {{5, 0, 3}, {0, 7, 0}, {6, 0, 0}};
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 3; ++i) wad.moveables[i].animIndex = firsts[c][i];
    for (int i = 0; i < 3; ++i) EXPECT_EQ(CountMoveableAnimations(wad, i), counts[c][i]) << c << " " << i;
    EXPECT_EQ(CountMoveableAnimations(wad, 3), 0u);
  }
}

TEST(LinkAt, ReadsFourWordsInsideTheStreamOnly) {
  const WadFile wad = WadBuilder().Expected();
  WadLink link;
  ASSERT_TRUE(LinkAt(wad, 4, link));
  EXPECT_EQ(link, (WadLink{2, 25, -15, 40}));
  EXPECT_FALSE(LinkAt(wad, 5, link));
  EXPECT_FALSE(LinkAt(wad, 0xFFFFFFFF, link));
}
