#include "files/FileBeside.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kNameAttempts = 100;
constexpr mode_t kOwnerOnly = 0600;

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

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
  const std::string stem = FolderOf(target) + "." + NameOf(target) + ".backup-" + std::to_string(::getpid());
  return CreateFirstFree(path, kOwnerOnly,
                         [&](int attempt) { return attempt == 0 ? stem : stem + "-" + std::to_string(attempt); });
}

bool FolderTakesNoNewName(int error) { return error == EACCES || error == EPERM || error == EROFS; }

bool WriteAllTo(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n < 0 && errno == EINTR) continue;
    else return false;
  }
  return true;
}

int FlushFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno == EACCES ? 0 : errno;
  const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
  ::close(fd);
  return error;
}
