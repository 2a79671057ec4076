#include "files/FileAttributes.h"

#include <unistd.h>

#include <cerrno>

#include "files/ExtendedAttributes.h"
#include "files/FileReason.h"

namespace {

constexpr mode_t kPermissionBits = 07777;

// Whether the system kept all that it was asked to set: it may drop a
// set-group-ID bit rather than refuse it.
bool HasAttributesOf(int fd, const struct stat& old) {
  struct stat now {};
  return ::fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
         (now.st_mode & kPermissionBits) == (old.st_mode & kPermissionBits);
}

}  // namespace

int GiveAttributesOf(const std::string& oldPath, const struct stat& old, int fd) {
  errno = 0;
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) return ErrorNow();
  // After the owner, whose change removes file capabilities (an attribute);
  // before the mode, as setting an access ACL sets the mode's group bits.
  if (const int error = CopyExtendedAttributes(oldPath, fd); error != 0) return error;
  // Last: a change of owner clears the set-id bits.
  if (::fchmod(fd, old.st_mode & kPermissionBits) != 0) return ErrorNow();
  return HasAttributesOf(fd, old) ? 0 : EPERM;
}
