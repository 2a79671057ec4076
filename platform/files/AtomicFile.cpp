#include "files/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <optional>

#include "files/FileAttributes.h"
#include "files/FileBeside.h"
#include "files/FileReason.h"
#include "files/InPlaceRewrite.h"
#include "files/LinkChain.h"
#include "files/WholeIo.h"

namespace {

// A file where there was none takes what any file made in its folder takes:
// this, less the umask, or as the folder's default ACL has it.
constexpr mode_t kAsAnyNewFile = 0666;

// Why the file at target may not be replaced, if it may not; nothing when
// it does not exist or may be replaced. existing receives its status.
std::optional<std::string> RefusalOf(const std::string& target, LinkHandling links,
                                     std::optional<struct stat>& existing) {
  struct stat info {};
  if (::lstat(target.c_str(), &info) != 0) return std::nullopt;
  // Met only when links are not followed: the link itself is replaced.
  if (S_ISLNK(info.st_mode)) return std::nullopt;
  if (!S_ISREG(info.st_mode)) return NotRegularFileReason(info.st_mode);
  existing = info;
  // With the effective ids, as the open of a write would check them.
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return FileErrorReason(errno);
  return std::nullopt;
}

bool Refused(std::string* why, std::string reason) {
  if (why != nullptr) *why = std::move(reason);
  return false;
}

// What came of replacing a file by a new one renamed over its name.
struct RenameOutcome {
  int error = 0;
  // Nothing was changed, because no new file can take the old one's place:
  // the folder takes no new name, or the new file could not be given the old
  // one's owner, group, mode or extended attributes.
  bool noNewFileFits = false;
};

// A new file beside target, written, given what old has besides its bytes
// (when there is an old file whose place it takes), flushed and renamed over
// target; then the folder is flushed, so that the rename survives a crash
// too. The new file is gone should any step fail.
RenameOutcome ReplaceByRename(const std::string& target, std::span<const std::uint8_t> bytes,
                              const struct stat* old, bool durable) {
  std::string tempPath;
  const int fd = CreateFileBeside(target, tempPath, old != nullptr ? kOwnerOnly : kAsAnyNewFile);
  if (fd < 0) return {errno, old != nullptr && FolderTakesNoNewName(errno)};
  RenameOutcome outcome;
  const auto step = [&outcome](bool ok) {
    if (!ok && outcome.error == 0) outcome.error = ErrorNow();
  };
  errno = 0;
  step(WriteAllAt(fd, 0, bytes));
  if (outcome.error == 0 && old != nullptr) {
    outcome.error = GiveAttributesOf(target, *old, fd);
    outcome.noNewFileFits = outcome.error != 0;
  }
  if (outcome.error == 0 && durable) step(::fsync(fd) == 0);
  step(::close(fd) == 0);
  if (outcome.error == 0) step(::rename(tempPath.c_str(), target.c_str()) == 0);
  if (outcome.error != 0) {
    ::unlink(tempPath.c_str());
    return outcome;
  }
  return {durable ? FlushFolderOf(target) : 0};
}

// The file is rewritten where it lies, from a backup should the write fail.
bool RewriteWhereItLies(const std::string& target, std::span<const std::uint8_t> bytes, std::string* why,
                        bool durable) {
  const InPlaceOutcome outcome = RewriteInPlace(target, bytes, durable);
  if (outcome.error == 0) return true;
  std::string reason = FileErrorReason(outcome.error);
  if (!outcome.backupLeft.empty()) reason += "; its old content is kept in " + outcome.backupLeft;
  if (outcome.oldContentLost) reason += "; its old content could not be put back";
  return Refused(why, reason);
}

// The file whose content a save replaces, as opposed to a name that gets a
// file of its own: none when there is no file, and none when links are not
// followed and the file has other names, which keep it as it is.
const struct stat* FileReplaced(const std::optional<struct stat>& existing, LinkHandling links) {
  if (!existing || (links == LinkHandling::kReplaceName && existing->st_nlink > 1)) return nullptr;
  return &*existing;
}

bool Replace(const std::string& path, std::span<const std::uint8_t> bytes, std::string* why, ReplaceOptions options) {
  int error = 0;
  const std::string target = options.links == LinkHandling::kThroughLinks ? ResolveLinks(path, error) : path;
  if (target.empty()) return Refused(why, FileErrorReason(error != 0 ? error : ENOENT));
  std::optional<struct stat> existing;
  if (const std::optional<std::string> refusal = RefusalOf(target, options.links, existing))
    return Refused(why, *refusal);
  const struct stat* old = FileReplaced(existing, options.links);

  // A file of several names is rewritten where it lies: a new file renamed
  // over one of them would part it from the others.
  if (old != nullptr && old->st_nlink > 1) return RewriteWhereItLies(target, bytes, why, options.durable);
  // So is a file that, as trying shows, no new file can replace: one in a
  // folder that takes no new name, or one whose owner, group, mode or
  // extended attributes a new file cannot be given.
  const RenameOutcome outcome = ReplaceByRename(target, bytes, old, options.durable);
  if (outcome.noNewFileFits) return RewriteWhereItLies(target, bytes, why, options.durable);
  return outcome.error == 0 || Refused(why, FileErrorReason(outcome.error));
}

}  // namespace

// The steps that hold a file open catch running out of memory themselves,
// so that no descriptor or new file is left behind; what is left to run out
// here holds nothing.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string* why,
                         ReplaceOptions options) {
  try {
    return Replace(path, bytes, why, options);
  } catch (const std::bad_alloc&) {
    return Refused(why, FileErrorReason(ENOMEM));
  }
}
