#include "files/LinkChain.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/FileBeside.h"

namespace {

// As many links as the system itself follows in one path.
constexpr int kMaxLinksFollowed = 40;

// Whether the system, guarding shared folders, would follow the link at path:
// in a sticky folder anyone may write to, another user may plant a link that
// leads a save into the follower's own files, so only a link of the follower
// or of the folder's owner is followed there. Applied whatever the machine's
// own setting, as the chain is read here and never reaches that guard.
bool MayFollow(const std::string& path, const struct stat& link) {
  if (link.st_uid == ::geteuid()) return true;
  const std::string folder = FolderOf(path);
  struct stat info {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &info) != 0) return false;
  const bool shared = (info.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
  return !shared || link.st_uid == info.st_uid;
}

}  // namespace

std::string ResolveLinks(std::string path, int& error) {
  for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    if (!MayFollow(path, info)) {
      error = EACCES;
      return {};
    }
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof target) {
      error = length < 0 ? errno : ENAMETOOLONG;
      return {};
    }
    const std::string next(target, static_cast<std::size_t>(length));
    path = next.starts_with('/') ? next : FolderOf(path) + next;
  }
  error = ELOOP;
  return {};
}
