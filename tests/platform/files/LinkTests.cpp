// Saves through symbolic links: each relative link is read from its own
// folder, and in a sticky folder anyone may write to only the saver's links
// and the folder owner's are followed.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "FileHazards.h"
#include "SharedData.h"
#include "TempFiles.h"
#include "files/AtomicFile.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

// a.wad -> sub/b.wad -> c.wad: the second link lies in sub, so it names sub/c.wad.
TEST(SaveThroughLinks, EachRelativeLinkIsReadFromItsOwnFolder) {
  const testsupport::TempFolder scratch("link-chain");
  const fs::path& folder = scratch.path;
  fs::create_directory(folder / "sub");
  std::ofstream(folder / "c.wad") << "top";
  std::ofstream(folder / "sub/c.wad") << "sub";
  fs::create_symlink("sub/b.wad", folder / "a.wad");
  fs::create_symlink("c.wad", folder / "sub/b.wad");
  std::string why;
  EXPECT_TRUE(WriteFileAtomically(folder / "a.wad", Bytes("new"), &why)) << why;
  EXPECT_EQ(testsupport::ReadBytes(folder / "sub/c.wad"), Bytes("new"));
  EXPECT_EQ(testsupport::ReadBytes(folder / "c.wad"), Bytes("top"));
  EXPECT_TRUE(fs::is_symlink(folder / "a.wad") && fs::is_symlink(folder / "sub/b.wad"));
}

// Another user's link in a sticky folder anyone may write to would lead the
// saver's save into the saver's own file: refused, at any link of a chain, as
// the system refuses it where it guards such folders.
TEST(SaveThroughLinks, AStrangersLinkInAStickySharedFolderIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give files and links to other users";
  constexpr uid_t kSaver = 1000, kStranger = 2000, kFolderOwner = 3000;
  const testsupport::TempFolder scratch("sticky-links");
  const fs::path& folder = scratch.path;
  const fs::path shared = folder / "shared", victim = folder / "victim" / "own.wad";
  fs::create_directories(shared);
  fs::create_directories(victim.parent_path());
  std::ofstream(victim) << "mine";
  fs::permissions(folder, fs::perms(0755));
  ASSERT_EQ(::chown(shared.c_str(), kFolderOwner, kFolderOwner) | ::chmod(shared.c_str(), 01777), 0);
  ASSERT_EQ(::chown(victim.parent_path().c_str(), kSaver, kSaver) | ::chown(victim.c_str(), kSaver, kSaver), 0);
  for (auto [name, target, owner] : {std::tuple{"planted.wad", "../victim/own.wad", kStranger},
                                     {"own.wad", "../victim/own.wad", kSaver},
                                     {"owners.wad", "../victim/own.wad", kFolderOwner},
                                     {"via.wad", "planted.wad", kSaver}}) {
    fs::create_symlink(target, shared / name);
    ASSERT_EQ(::lchown((shared / name).c_str(), owner, owner), 0);
  }
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    if (std::string skip = testsupport::BecomeUser(kSaver, kSaver); !skip.empty()) return skip;
    if (::chdir(shared.c_str()) != 0) return testsupport::kChildSkipped + "the temp folder is closed to other users";
    std::string report;
    for (const char* name : {"planted.wad", "via.wad"})
      if (std::string why; WriteFileAtomically(name, Bytes(name), &why) || why != "Permission denied")
        report += std::string(name) + " was not refused for want of permission: " + why + "\n";
    if (testsupport::ReadBytes(victim) != Bytes("mine") || testsupport::EntryCount(victim.parent_path()) != 1 ||
        testsupport::EntryCount(shared) != 4)
      report += "a refused save left a mark\n";
    for (const char* name : {"own.wad", "owners.wad"})
      if (std::string why; !WriteFileAtomically(name, Bytes(name), &why) ||
                           testsupport::ReadBytes(victim) != Bytes(name) || !fs::is_symlink(name))
        report += std::string(name) + " was not followed: " + why + "\n";
    return report;
  }));
}
