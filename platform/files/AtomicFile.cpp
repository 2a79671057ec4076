#include "files/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "files/FileBeside.h"
#include "files/FileReason.h"
#include "files/InPlaceRewrite.h"
#include "files/LinkChain.h"

namespace {

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

// Writes, keeps the owner and mode, flushes, closes and renames; the first error
// number met, 0 when all went well. The new file is gone on failure.
int WriteAndRename(int fd, const std::string& tempPath, const std::string& target, std::span<const std::uint8_t> bytes,
                   const std::optional<struct stat>& existing, bool durable) {
  int error = 0;
  const auto step = [&error](bool ok) {
    if (!ok && error == 0) error = errno != 0 ? errno : EIO;
  };
  step(WriteAllTo(fd, bytes));
  // Only the superuser may give the file back to its owner; anyone else
  // writes a file that is already theirs.
  if (error == 0 && existing && ::geteuid() == 0) step(::fchown(fd, existing->st_uid, existing->st_gid) == 0);
  // After the owner: a change of owner clears the set-id bits.
  if (error == 0 && existing) step(::fchmod(fd, existing->st_mode & 07777) == 0);
  if (error == 0 && durable) step(::fsync(fd) == 0);
  step(::close(fd) == 0);
  if (error == 0) step(::rename(tempPath.c_str(), target.c_str()) == 0);
  if (error != 0) ::unlink(tempPath.c_str());
  return error;
}

// A file of several names is rewritten where it lies, so that every name
// keeps naming it.
bool ReplaceLinkedFile(const std::string& target, std::span<const std::uint8_t> bytes, std::string* why,
                       bool durable) {
  std::string backupLeft;
  const int error = RewriteInPlace(target, bytes, durable, backupLeft);
  if (error == 0) return true;
  std::string reason = FileErrorReason(error);
  if (!backupLeft.empty()) reason += "; its old content is kept in " + backupLeft;
  return Refused(why, reason);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string* why,
                         ReplaceOptions options) {
  int error = 0;
  const std::string target = options.links == LinkHandling::kThroughLinks ? ResolveLinks(path, error) : path;
  if (target.empty()) return Refused(why, FileErrorReason(error != 0 ? error : ENOENT));
  std::optional<struct stat> existing;
  if (const std::optional<std::string> refusal = RefusalOf(target, options.links, existing))
    return Refused(why, *refusal);

  if (existing && options.links == LinkHandling::kThroughLinks && existing->st_nlink > 1)
    return ReplaceLinkedFile(target, bytes, why, options.durable);

  std::string tempPath;
  const int fd = CreateFileBeside(target, tempPath);
  if (fd < 0) return Refused(why, FileErrorReason(errno));
  errno = 0;
  error = WriteAndRename(fd, tempPath, target, bytes, existing, options.durable);
  return error == 0 || Refused(why, FileErrorReason(error));
}
