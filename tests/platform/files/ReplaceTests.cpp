// Replacing a file as users meet it: whoever saves and wherever, the file
// keeps its owner, group, attributes and mode; its bytes are no one else's
// to read on their way in; and a save reported done stays done.

#include "files/AtomicFile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <vector>

#include "FileHazards.h"
#include "SharedData.h"
#include "SyncRecord.h"
#include "TempFiles.h"

namespace fs = std::filesystem;
using testsupport::EntryCount;
using testsupport::TempFolder;

namespace {

constexpr uid_t kSaver = 1000;
constexpr gid_t kSaversGroup = 1000;
constexpr gid_t kSharedGroup = 1234;  // the saver is a member
constexpr uid_t kOtherUser = 2000;    // not in the saver's groups
const std::string kSaved = "saved";

// What a child found wrong, one "what; " each.
struct Report {
  void Expect(bool ok, const std::string& what) { text += ok ? "" : what + "; "; }
  std::string text;
};

std::string Save(const fs::path& path, const std::string& text, ReplaceOptions options = {}) {
  std::string why;
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  return WriteFileAtomically(path, std::span(data, text.size()), &why, options) ? kSaved : why;
}

std::string Read(const fs::path& path) {
  const std::vector<unsigned char> bytes = testsupport::ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

// Makes path hold text, with the given mode and, where root sets it up, owner.
void Put(const fs::path& path, const std::string& text, mode_t mode, uid_t uid = ::geteuid(),
         gid_t gid = ::getegid()) {
  std::ofstream(path, std::ios::binary) << text;
  EXPECT_EQ(::chown(path.c_str(), uid, gid), 0);
  EXPECT_EQ(::chmod(path.c_str(), mode), 0);
}

struct stat StatusOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

// Owner, group and mode, as one line that a failure prints readably.
std::string Ids(uid_t uid, gid_t gid, mode_t mode) {
  char line[64];
  std::snprintf(line, sizeof line, "%u:%u %04o", uid, gid, mode & 07777);
  return line;
}
std::string Ids(const fs::path& path) {
  const struct stat info = StatusOf(path);
  return Ids(info.st_uid, info.st_gid, info.st_mode);
}

std::map<std::string, std::string> AttributesOf(const fs::path& path) {
  std::map<std::string, std::string> attributes;
  char names[4096], value[4096];
  const ssize_t length = ::llistxattr(path.c_str(), names, sizeof names);
  for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
    const ssize_t size = ::lgetxattr(path.c_str(), names + at, value, sizeof value);
    attributes[names + at] = std::string(value, static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
  }
  return attributes;
}

// An ACL as the system keeps it in an extended attribute: a version word,
// then entries as they lie in memory here (little-endian).
struct AclEntry {
  enum Tag : std::uint16_t { kOwner = 1, kUser = 2, kGroup = 4, kMask = 0x10, kOther = 0x20 } tag;
  std::uint16_t permissions;
  std::uint32_t id = ~0u;  // a user's, for kUser
};
std::string Acl(const std::vector<AclEntry>& entries) {
  return std::string("\2\0\0\0", 4) + std::string(reinterpret_cast<const char*>(entries.data()), 8 * entries.size());
}

// The files in a folder and their modes at the moment a write first passes
// the file-size limit: what others could read while a save was under way.
std::string watchedFolder;
std::map<std::string, mode_t> seenWhileWriting;

void LookWhenTooLarge(int) {
  if (!seenWhileWriting.empty()) return;
  DIR* folder = ::opendir(watchedFolder.c_str());
  for (const dirent* entry; (entry = ::readdir(folder)) != nullptr;) {
    struct stat info {};
    if (::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
      seenWhileWriting[entry->d_name] = info.st_mode & 07777;
  }
  ::closedir(folder);
}

// In a child: files may grow to 4 KiB only; onPassing is what the signal
// of a write past that does. Empty when that was done.
constexpr rlim_t kSizeLimit = 4096;
std::string LimitFileSize(void (*onPassing)(int)) {
  struct sigaction action {};
  action.sa_handler = onPassing;
  const rlimit small{kSizeLimit, kSizeLimit};
  if (::sigaction(SIGXFSZ, &action, nullptr) != 0 || ::setrlimit(RLIMIT_FSIZE, &small) != 0)
    return testsupport::kChildSkipped + "no file-size limit can be set";
  return {};
}

}  // namespace

// A member of a shared group saves files root set up; none changes owner,
// group or mode. Another user's file, or one in a folder closed to new names,
// is rewritten in place; there a failed write is undone from memory. Root's
// save keeps the set-id bits that a change of owner clears.
TEST(Replace, KeepsOwnerGroupAndModeWhoeverSavesAndWhereverTheFileIs) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can set up other users' files";
  TempFolder scratch("owners");
  const fs::path folder = scratch.path, closed = folder / "closed", sticky = folder / "sticky";
  fs::create_directories(closed);
  fs::create_directories(sticky);
  struct Case {
    fs::path path;
    mode_t mode;
    uid_t uid;
    gid_t gid;
    bool replaced;  // by a new file, in one step
  };
  const std::vector<Case> cases{{folder / "theirs.wad", 0664, kOtherUser, kSharedGroup, false},
                                {folder / "mine.wad", 0660, kSaver, kSharedGroup, true},
                                {folder / "tool.wad", 06755, kOtherUser, kSharedGroup, true},
                                {closed / "mine.wad", 0644, kSaver, kSaversGroup, false},
                                {sticky / "theirs.wad", 0666, kOtherUser, kOtherUser, false}};
  std::vector<ino_t> inodes;
  for (const Case& file : cases) {
    Put(file.path, "old", file.mode, file.uid, file.gid);
    inodes.push_back(StatusOf(file.path).st_ino);
  }
  ASSERT_EQ(::chown(folder.c_str(), 0, kSharedGroup) | ::chmod(folder.c_str(), 0775), 0);
  ASSERT_EQ(::chown(closed.c_str(), kSaver, kSaversGroup) | ::chmod(closed.c_str(), 0555), 0);
  ASSERT_EQ(::chmod(sticky.c_str(), 01777), 0);

  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    if (std::string refused = testsupport::BecomeUser(kSaver, kSaversGroup, {kSharedGroup}); !refused.empty())
      return refused;
    Report report;
    for (const Case& file : cases)
      if (::access(file.path.c_str(), W_OK) == 0) report.Expect(Save(file.path, "new") == kSaved, file.path);
    if (std::string refused = LimitFileSize(SIG_IGN); !refused.empty()) return refused;
    report.Expect(Save(closed / "mine.wad", std::string(2 * kSizeLimit, 'n')) == "File too large",
                  "the write past the limit was not refused");
    return report.text;
  }));
  EXPECT_EQ(Save(folder / "tool.wad", "new"), kSaved);

  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& file = cases[i];
    EXPECT_EQ(Ids(file.path), Ids(file.uid, file.gid, file.mode)) << file.path;
    EXPECT_EQ(Read(file.path), "new") << file.path;
    EXPECT_EQ(StatusOf(file.path).st_ino != inodes[i], file.replaced) << file.path;
  }
  EXPECT_EQ(EntryCount(folder) + EntryCount(closed) + EntryCount(sticky), cases.size() + 2) << "a file was left beside";
}

// A file's own attributes and ACL stay with it; one without gets none from
// the folder's default ACL. A security label the saver may not give a new
// file keeps the file where it lies.
TEST(Replace, KeepsExtendedAttributesAndTakesNoneFromTheFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can set security attributes";
  TempFolder scratch("attributes");
  const fs::path folder = scratch.path, tagged = folder / "tagged.wad", plain = folder / "plain.wad",
                 saversOwn = folder / "own", labelled = saversOwn / "labelled.wad";
  fs::create_directory(saversOwn);
  ASSERT_EQ(::chown(saversOwn.c_str(), kSaver, kSaversGroup), 0);
  Put(plain, "plain", 0644);
  Put(tagged, "tagged", 0640);
  using enum AclEntry::Tag;
  const std::string origin = "exported",
                    acl = Acl({{kOwner, 6}, {kUser, 4, kOtherUser}, {kGroup, 4}, {kMask, 4}, {kOther, 0}}),
                    folderAcl = Acl({{kOwner, 7}, {kUser, 6, kOtherUser}, {kGroup, 5}, {kMask, 7}, {kOther, 5}});
  if (::setxattr(tagged.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0 ||
      ::setxattr(folder.c_str(), "system.posix_acl_default", folderAcl.data(), folderAcl.size(), 0) != 0)
    GTEST_SKIP() << "no ACLs on this file system";
  ASSERT_EQ(::setxattr(tagged.c_str(), "user.origin", origin.data(), origin.size(), 0), 0);
  Put(labelled, "labelled", 0644, kSaver, kSaversGroup);
  ASSERT_EQ(::setxattr(labelled.c_str(), "security.wadtest", "kept", 4, 0), 0);
  std::map<fs::path, std::map<std::string, std::string>> before;
  for (const fs::path& path : {tagged, plain, labelled}) before[path] = AttributesOf(path);
  ASSERT_EQ(before[tagged].size(), 2u);

  EXPECT_EQ(Save(tagged, "new"), kSaved);
  EXPECT_EQ(Save(plain, "new"), kSaved);
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    if (std::string refused = testsupport::BecomeUser(kSaver, kSaversGroup, {}); !refused.empty()) return refused;
    return Save(labelled, "new") == kSaved ? "" : "the labelled file was not saved";
  }));
  for (const fs::path& path : {tagged, plain, labelled}) {
    EXPECT_EQ(AttributesOf(path), before[path]) << path;
    EXPECT_EQ(Read(path), "new") << path;
  }
  EXPECT_EQ(Ids(tagged), "0:0 0640");
  EXPECT_EQ(Ids(plain), "0:0 0644");
}

// The folder is looked at as a save's write passes a file-size limit: what
// holds a 0600 file's content, new or old (the backup, named after its file
// even when that name is taken), is owner-only. A new file takes the umask's
// mode, and is gone should its write fail.
TEST(Replace, NoOneElseCanReadTheBytesOnTheirWayIn) {
  TempFolder scratch("privacy");
  const fs::path folder = scratch.path;
  Put(folder / "alone.wad", "secret", 0600);
  Put(folder / "twin.wad", "secret", 0600);
  fs::create_hard_link(folder / "twin.wad", folder / "twin2.wad");
  Put(folder / "victim.wad", "victim", 0600);
  fs::create_hard_link(folder / "victim.wad", folder / "scratch.bbb");

  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    const std::string backup = ".twin.wad.backup-" + std::to_string(::getpid()), big(2 * kSizeLimit, 'n');
    Put(folder / backup, "", 0600);  // the name a backup would take first
    ::umask(022);
    watchedFolder = folder;
    if (std::string refused = LimitFileSize(LookWhenTooLarge); !refused.empty()) return refused;
    Report report;
    const std::set<std::string> known{"alone.wad", "twin.wad", "twin2.wad", backup, "victim.wad", "scratch.bbb"};
    const auto onTheWay = [&] {
      std::map<std::string, mode_t> others;
      for (const auto& [name, mode] : std::exchange(seenWhileWriting, {}))
        if (!known.contains(name)) others[name] = mode;
      return others;
    };

    report.Expect(Save(folder / "alone.wad", big) == "File too large", "the first save was not refused");
    const auto beside = onTheWay();
    report.Expect(beside.size() == 1 && beside.begin()->second == 0600, "the new file beside was not owner-only");
    report.Expect(Save(folder / "twin.wad", big) == "File too large", "the second save was not refused");
    report.Expect(onTheWay() == std::map<std::string, mode_t>{{backup + "-1", 0600}},
                  "no owner-only backup named after the file, beside the name taken");
    report.Expect(Read(folder / "alone.wad") + Read(folder / "twin.wad") == "secretsecret", "old content was lost");

    ::umask(027);
    report.Expect(Save(folder / "new.wad", "new") == kSaved && Ids(folder / "new.wad").ends_with(" 0640"),
                  "a new file did not take the umask's mode");
    report.Expect(Save(folder / "scratch.bbb", "new", {.links = LinkHandling::kReplaceName}) == kSaved &&
                      Ids(folder / "scratch.bbb").ends_with(" 0640") && Read(folder / "victim.wad") == "victim",
                  "a name of its own did not become a new file");
    report.Expect(Save(folder / "lost.wad", big) == "File too large" && !fs::exists(folder / "lost.wad"),
                  "a new file whose write failed was kept");
    report.Expect(EntryCount(folder) == known.size() + 1, "a file was left in the folder");
    return report.text;
  }));
}

// A durable save flushes the folder once a name it makes is there: after the
// rename, and after a backup, before the rewrite it guards, which then drops
// the backup, even for a file of a name as long as names go. A save that
// need not last flushes nothing.
TEST(Replace, DurableSavesFlushTheFolderOnceTheNameIsThere) {
  TempFolder scratch("flush");
  const fs::path folder = scratch.path;
  // As long as a name may be: the backup's name is cut to fit.
  std::string twin;
  while (twin.size() + 6 <= NAME_MAX) twin += "é";
  twin += ".wad";
  Put(folder / "one.wad", "old", 0644);
  Put(folder / twin, "old", 0644);
  fs::create_hard_link(folder / twin, folder / "twin2.wad");
  filetests::SyncRecord record;
  using Calls = std::vector<std::string>;

  EXPECT_EQ(Save(folder / "one.wad", "new"), kSaved);
  EXPECT_EQ(record.Take(), (Calls{"flush file", "rename", "flush folder"}));
  EXPECT_EQ(Save(folder / "made.wad", "new"), kSaved);
  EXPECT_EQ(record.Take(), (Calls{"flush file", "rename", "flush folder"}));
  EXPECT_EQ(Save(folder / twin, "new"), kSaved);
  EXPECT_EQ(record.Take(), (Calls{"flush file", "flush folder", "flush file"}));
  EXPECT_EQ(Save(folder / "one.wad", "newer", {.durable = false}), kSaved);
  EXPECT_EQ(Save(folder / twin, "newer", {.durable = false}), kSaved);
  EXPECT_EQ(record.Take(), Calls{"rename"});
  EXPECT_EQ(Read(folder / "twin2.wad"), "newer");
  EXPECT_EQ(EntryCount(folder), 4u) << "a backup was left";
}

// On a full disk a save that finds no room for a backup leaves the file
// untouched. With room for the backup only, a sparse file's rewrite and the
// put-back both run out of room over its holes: the backup stays, owner-only,
// and the reason names it; where the folder took no backup, the reason says
// that nothing holds the old content.
TEST(Replace, WhenTheOldContentCannotBePutBackTheReasonSaysWhatHoldsIt) {
  TempFolder scratch("full");
  const std::string folder = scratch.path.string(), twin = folder + "/twin.wad", closed = folder + "/closed";
  constexpr off_t kSparseSize = 16384;
  const std::string page(4096, 'o'), old = page + std::string(kSparseSize - 4096, '\0');

  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    const std::string whole = folder + "/whole.wad", sparse = closed + "/sparse.wad";
    std::string full = testsupport::MountFullFileSystem(folder, [&] {
      std::ofstream(twin) << page;
      fs::resize_file(twin, kSparseSize);
      fs::create_hard_link(twin, folder + "/twin2.wad");
      std::ofstream(whole) << page;  // needs no new room to be overwritten
      fs::create_hard_link(whole, folder + "/whole2.wad");
      fs::create_directory(closed);
      Put(sparse, page, 0644, kSaver, kSaversGroup);
      fs::resize_file(sparse, kSparseSize);
      ::chown(closed.c_str(), kSaver, kSaversGroup);
      ::chmod(closed.c_str(), 0555);
    });
    if (!full.empty()) return full;
    Report report;
    report.Expect(Save(whole, std::string(4096, 'n')) == "No space left on device",
                  "a save without room for a backup was not refused");
    report.Expect(Read(whole) == page, "the file was touched without a backup");
    report.Expect(EntryCount(folder) == 6, "a partial backup was left");

    fs::resize_file(folder + "/filler", fs::file_size(folder + "/filler") - kSparseSize);
    const std::string backup = folder + "/.twin.wad.backup-" + std::to_string(::getpid());
    std::string why = Save(twin, std::string(kSparseSize, 'n'));
    report.Expect(why == "No space left on device; its old content is kept in " + backup, "the reason was " + why);
    report.Expect(fs::exists(backup) && Read(backup) == old, "the backup does not hold the old content");
    report.Expect(fs::exists(backup) && Ids(backup).ends_with(" 0600"), "the backup is not owner-only");

    if (std::string refused = testsupport::BecomeUser(kSaver, kSaversGroup); !refused.empty()) return refused;
    why = Save(sparse, std::string(kSparseSize, 'n'));
    report.Expect(why == "No space left on device; its old content could not be put back", "the reason was " + why);
    return report.text;
  }));
}
