#include "files/LinkChain.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/FileBeside.h"

namespace {

// As many links as the system itself follows in one path.
constexpr int kMaxLinksFollowed = 40;

}  // namespace

std::string ResolveLinks(std::string path, int& error) {
  for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
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

