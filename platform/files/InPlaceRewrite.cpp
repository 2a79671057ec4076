#include "files/InPlaceRewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "files/FileBeside.h"

namespace {

bool ReadAll(int fd, std::vector<std::uint8_t>& into) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  into.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < into.size()) {
    const ssize_t n = ::pread(fd, into.data() + done, into.size() - done, static_cast<off_t>(done));
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n < 0 && errno == EINTR) continue;
    else return false;
  }
  return true;
}

bool PutAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n < 0 && errno == EINTR) continue;
    else return false;
  }
  return true;
}

// The whole content of the file becomes bytes.
bool Overwrite(int fd, std::span<const std::uint8_t> bytes, bool durable) {
  return PutAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
         (!durable || ::fsync(fd) == 0);
}

int ErrorNow() { return errno != 0 ? errno : EIO; }

// Copies old beside target; the backup's name, or empty with error set.
std::string WriteBackup(const std::string& target, std::span<const std::uint8_t> old, bool durable, int& error) {
  std::string backup;
  const int fd = CreateFileBeside(target, backup);
  if (fd < 0) {
    error = ErrorNow();
    return {};
  }
  const bool written = WriteAllTo(fd, old) && (!durable || ::fsync(fd) == 0);
  error = written ? 0 : ErrorNow();
  if (::close(fd) != 0 && error == 0) error = ErrorNow();
  if (error == 0) return backup;
  ::unlink(backup.c_str());
  return {};
}

}  // namespace

int RewriteInPlace(const std::string& target, std::span<const std::uint8_t> bytes, bool durable,
                   std::string& backupLeft) {
  errno = 0;
  const int fd = ::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return ErrorNow();
  std::vector<std::uint8_t> old;
  int error = ReadAll(fd, old) ? 0 : ErrorNow();
  std::string backup;
  if (error == 0) backup = WriteBackup(target, old, durable, error);
  if (error == 0 && !Overwrite(fd, bytes, durable)) {
    error = ErrorNow();
    // The old content goes back where it was; only if that fails too is the
    // backup all that holds it.
    if (!Overwrite(fd, old, durable)) backupLeft = backup;
  }
  ::close(fd);
  if (!backup.empty() && backupLeft.empty()) ::unlink(backup.c_str());
  return error;
}
