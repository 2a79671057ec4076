#include "files/FileBeside.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kNameAttempts = 100;

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// The first bytes of a name, at most length of them, cut before a character
// rather than inside one.
std::string LeadOf(const std::string& name, std::size_t length) {
  if (name.size() <= length) return name;
  while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  return name.substr(0, length);
}

// Creates the first free name that nameFor gives for attempt 0, 1, ...
template <typename NameFor>
int CreateFirstFree(std::string& path, mode_t mode, NameFor nameFor) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    path = nameFor(attempt);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

int CreateFileBeside(const std::string& target, std::string& path, mode_t mode) {
  static unsigned counter = 0;
  const std::string stem = FolderOf(target) + ".saving-" + std::to_string(::getpid()) + "-";
  return CreateFirstFree(path, mode, [&](int) { return stem + std::to_string(counter++); });
}

int CreateBackupBeside(const std::string& target, std::string& path) {
  const std::string suffix = ".backup-" + std::to_string(::getpid());
  // A long name is cut so that the backup's name, with its dot, suffix and
  // a count, still fits where the file's own name did.
  const std::size_t room = NAME_MAX - 1 - suffix.size() - std::to_string(kNameAttempts).size() - 1;
  const std::string stem = FolderOf(target) + "." + LeadOf(NameOf(target), room) + suffix;
  return CreateFirstFree(path, kOwnerOnly,
                         [&](int attempt) { return attempt == 0 ? stem : stem + "-" + std::to_string(attempt); });
}

bool FolderTakesNoNewName(int error) { return error == EACCES || error == EPERM || error == EROFS; }

int FlushFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno == EACCES ? 0 : errno;
  const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
  ::close(fd);
  return error;
}
