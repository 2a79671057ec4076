#include "files/WholeIo.h"

#include <unistd.h>

#include <cerrno>

bool ReadAllAt(int fd, std::uint64_t offset, void* buffer, std::size_t count) {
  auto* into = static_cast<unsigned char*>(buffer);
  for (std::size_t done = 0; done < count;) {
    const ssize_t n = ::pread(fd, into + done, count - done, static_cast<off_t>(offset + done));
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0) {
      errno = 0;
      return false;
    } else if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

bool WriteAllAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n == 0 || errno != EINTR) return false;
  }
  return true;
}
