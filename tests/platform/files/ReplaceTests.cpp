// Replacing a file as users meet it: whoever saves, the file keeps its
// owner, group, attributes and mode; its bytes are no one else's to read on
// their way in; a folder that takes no new name does not stop the save; a
// backup that is left says whose it is; and a save reported done stays done.

#include "files/AtomicFile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "FileHazards.h"
#include "SyncRecord.h"
#include "TempFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kSaver = 1000;
constexpr gid_t kSaversGroup = 1000;
constexpr gid_t kSharedGroup = 1234;  // the saver is a member
constexpr uid_t kOtherUser = 2000;    // not in the saver's groups
const std::string kSaved = "saved";

// A folder of its own for a test, removed with what it holds.
struct Scratch {
  explicit Scratch(const std::string& stem) : folder(testsupport::UniqueTempPath(stem, "")) {
    fs::create_directories(folder);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  const fs::path folder;
};

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
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
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
std::string Ids(const fs::path& path) {
  const struct stat info = StatusOf(path);
  char line[64];
  std::snprintf(line, sizeof line, "%u:%u %04o", info.st_uid, info.st_gid, info.st_mode & 07777);
  return line;
}

// The names in folder other than those it is known to hold.
std::set<std::string> Others(const fs::path& folder, const std::set<std::string>& known) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (!known.contains(entry.path().filename())) names.insert(entry.path().filename());
  return names;
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

// Root sets up files that a user (a member of a shared group) may write,
// and the user saves them. None changes owner, group or mode: the user's
// own file of the shared group is replaced in one step; another user's, in a
// folder closed to new names or in a sticky one, is rewritten in place (the
// user may give a new file neither owner nor name). A failed write where no
// backup can be made is undone from memory. Root's save keeps set-id bits,
// which the change of owner clears.
TEST(Replace, KeepsOwnerGroupAndModeWhoeverSavesAndWhereverTheFileIs) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can set up other users' files";
  Scratch scratch("owners");
  const fs::path folder = scratch.folder, closed = folder / "closed", sticky = folder / "sticky";
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
    char ids[32];
    std::snprintf(ids, sizeof ids, "%u:%u %04o", file.uid, file.gid, file.mode);
    EXPECT_EQ(Ids(file.path), ids) << file.path;
    EXPECT_EQ(Read(file.path), "new") << file.path;
    EXPECT_EQ(StatusOf(file.path).st_ino != inodes[i], file.replaced) << file.path;
  }
  for (const fs::path& place : {folder, closed, sticky})
    EXPECT_EQ(Others(place, {"theirs.wad", "mine.wad", "tool.wad", "closed", "sticky"}), std::set<std::string>{});
}

// A file's own attributes and ACL stay with it, and one without gets none
// from its folder's default ACL. A security label the saver may not give a
// new file keeps the file where it lies, and so with its label.
TEST(Replace, KeepsExtendedAttributesAndTakesNoneFromTheFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can set security attributes";
  Scratch scratch("attributes");
  const fs::path folder = scratch.folder, tagged = folder / "tagged.wad", plain = folder / "plain.wad",
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
  const auto taggedBefore = AttributesOf(tagged), plainBefore = AttributesOf(plain),
             labelledBefore = AttributesOf(labelled);
  ASSERT_EQ(taggedBefore.size(), 2u);

  EXPECT_EQ(Save(tagged, "new"), kSaved);
  EXPECT_EQ(Save(plain, "new"), kSaved);
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    if (std::string refused = testsupport::BecomeUser(kSaver, kSaversGroup, {}); !refused.empty()) return refused;
    return Save(labelled, "new") == kSaved ? "" : "the labelled file was not saved";
  }));
  EXPECT_EQ(AttributesOf(tagged), taggedBefore);
  EXPECT_EQ(AttributesOf(plain), plainBefore);
  EXPECT_EQ(AttributesOf(labelled), labelledBefore);
  EXPECT_EQ(Ids(tagged), "0:0 0640");
  EXPECT_EQ(Ids(plain), "0:0 0644");
  for (const fs::path& path : {tagged, plain, labelled}) EXPECT_EQ(Read(path), "new") << path;
}

// The folder is looked at while a save's bytes go in (the write passes a
// file-size limit and fails): every file there that holds a 0600 file's
// content, old or new, is owner-only, a backup too, which is named after
// its file even when that name is taken. A file where there was none takes
// the mode any new file there takes, and is gone should its write fail.
TEST(Replace, NoOneElseCanReadTheBytesOnTheirWayIn) {
  Scratch scratch("privacy");
  const fs::path folder = scratch.folder;
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
    report.Expect(Others(folder, known) == std::set<std::string>{"new.wad"}, "a file was left in the folder");
    return report.text;
  }));
}

// A durable save flushes the folder after each name it makes or changes:
// after the rename, after a new file, after a backup and before the rewrite
// it guards. The backup is gone after a rewrite that went well. A save that
// need not last flushes nothing.
TEST(Replace, DurableSavesFlushTheFolderOnceTheNameIsThere) {
  Scratch scratch("flush");
  const fs::path folder = scratch.folder;
  Put(folder / "one.wad", "old", 0644);
  Put(folder / "twin.wad", "old", 0644);
  fs::create_hard_link(folder / "twin.wad", folder / "twin2.wad");
  filetests::SyncRecord record;
  using Calls = std::vector<std::string>;

  EXPECT_EQ(Save(folder / "one.wad", "new"), kSaved);
  EXPECT_EQ(record.Take(), (Calls{"flush file", "rename", "flush folder"}));
  EXPECT_EQ(Save(folder / "made.wad", "new"), kSaved);
  EXPECT_EQ(record.Take(), (Calls{"flush file", "rename", "flush folder"}));
  EXPECT_EQ(Save(folder / "twin.wad", "new"), kSaved);
  EXPECT_EQ(record.Take(), (Calls{"flush file", "flush folder", "flush file"}));
  EXPECT_EQ(Save(folder / "one.wad", "newer", {.durable = false}), kSaved);
  EXPECT_EQ(Save(folder / "twin.wad", "newer", {.durable = false}), kSaved);
  EXPECT_EQ(record.Take(), Calls{"rename"});
  EXPECT_EQ(Read(folder / "twin2.wad"), "newer");
  EXPECT_EQ(Others(folder, {"one.wad", "made.wad", "twin.wad", "twin2.wad"}), std::set<std::string>{});
}

// On a full disk: a backup that cannot be written refuses the save with the
// file untouched. Given room for the backup only, a sparse file's rewrite
// runs out of room over its holes, and so does putting the old bytes back;
// the backup then stays, owner-only, named after the file and in the reason.
TEST(Replace, ABackupThatIsLeftIsNamedOwnerOnlyAndHoldsTheOldContent) {
  Scratch scratch("full");
  const std::string folder = scratch.folder.string(), twin = folder + "/twin.wad";
  constexpr off_t kSparseSize = 16384;
  const std::string old = std::string(4096, 'o') + std::string(kSparseSize - 4096, '\0');

  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    const std::string whole = folder + "/whole.wad", page(4096, 'o');
    std::string full = testsupport::MountFullFileSystem(folder, [&] {
      std::ofstream(twin) << page;
      fs::resize_file(twin, kSparseSize);
      fs::create_hard_link(twin, folder + "/twin2.wad");
      std::ofstream(whole) << page;  // needs no new room to be overwritten
      fs::create_hard_link(whole, folder + "/whole2.wad");
    });
    if (!full.empty()) return full;
    Report report;
    const std::set<std::string> known{"twin.wad", "twin2.wad", "whole.wad", "whole2.wad", "filler"};

    report.Expect(Save(whole, std::string(4096, 'n')) == "No space left on device",
           "a save without room for a backup was not refused");
    report.Expect(Read(whole) == page, "the file was touched without a backup");
    report.Expect(Others(folder, known).empty(), "a partial backup was left");

    fs::resize_file(folder + "/filler", fs::file_size(folder + "/filler") - kSparseSize);
    const std::string backup = folder + "/.twin.wad.backup-" + std::to_string(::getpid());
    const std::string why = Save(twin, std::string(kSparseSize, 'n'));
    report.Expect(why == "No space left on device; its old content is kept in " + backup, "the reason was " + why);
    report.Expect(fs::exists(backup) && Read(backup) == old, "the backup does not hold the old content");
    report.Expect(fs::exists(backup) && (StatusOf(backup).st_mode & 07777) == 0600, "the backup is not owner-only");
    return report.text;
  }));
}

// In a folder that takes no new name the old content is kept in memory
// only. When a full disk refuses both the new bytes and the old ones put
// back, the reason says that the old content is lost, as no backup holds it.
TEST(Replace, ARewriteWithoutABackupSaysWhenTheOldContentCouldNotBePutBack) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can mount a full file system";
  Scratch scratch("lost");
  const fs::path closed = scratch.folder / "closed", sparse = closed / "sparse.wad";
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    std::string full = testsupport::MountFullFileSystem(scratch.folder, [&] {
      fs::create_directory(closed);
      Put(sparse, std::string(4096, 'o'), 0644, kSaver, kSaversGroup);
      fs::resize_file(sparse, 16384);
      ::chown(closed.c_str(), kSaver, kSaversGroup);
      ::chmod(closed.c_str(), 0555);
    });
    if (!full.empty()) return full;
    if (std::string refused = testsupport::BecomeUser(kSaver, kSaversGroup); !refused.empty()) return refused;
    const std::string why = Save(sparse, std::string(16384, 'n'));
    return why == "No space left on device; its old content could not be put back" ? "" : "the reason was " + why;
  }));
}
