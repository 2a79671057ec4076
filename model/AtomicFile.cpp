#include "model/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

constexpr int kNameAttempts = 100;

// Opens a file of a new, short name in path's folder (so that the rename stays
// on one file system); the name is returned in tempPath.
int CreateBeside(const std::string& path, std::string& tempPath) {
  static unsigned counter = 0;
  const std::string folder = path.substr(0, path.find_last_of('/') + 1);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    tempPath = folder + ".saving-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n < 0 && errno == EINTR) continue;
    else return false;
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
  struct stat target {};
  bool targetExists = ::stat(path.c_str(), &target) == 0;
  if (targetExists && !S_ISREG(target.st_mode)) return false;

  std::string tempPath;
  int fd = CreateBeside(path, tempPath);
  if (fd < 0) return false;

  bool ok = WriteAll(fd, bytes);
  if (ok && targetExists) ok = ::fchmod(fd, target.st_mode & 07777) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(tempPath.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(tempPath.c_str());
  return ok;
}
