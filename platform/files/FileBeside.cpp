#include "files/FileBeside.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kNameAttempts = 100;

}  // namespace

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

int CreateFileBeside(const std::string& target, std::string& path) {
  static unsigned counter = 0;
  const std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    path = folder + ".saving-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

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
