#include "files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/FileReason.h"
#include "files/WholeIo.h"

RegularFile::RegularFile(const std::string& path, std::uint64_t maxBytes) {
  if (!Open(path)) return;
  if (size_ > maxBytes)
    Refuse(FileErrorReason(EFBIG) + ": it holds " + std::to_string(size_) + " bytes, more than the " +
           std::to_string(maxBytes) + " that are read");
}

bool RegularFile::Open(const std::string& path) {
  // Looked at before the open: opening a device may already act on it.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    missing_ = errno == ENOENT;
    return Refuse(FileErrorReason(errno));
  }
  if (!S_ISREG(info.st_mode)) return Refuse(NotRegularFileReason(info.st_mode));
  // Without waiting, should the name have become a FIFO since.
  descriptor_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor_ < 0) return Refuse(FileErrorReason(errno));
  if (::fstat(descriptor_, &info) != 0) return Refuse(FileErrorReason(errno));
  if (!S_ISREG(info.st_mode)) return Refuse(NotRegularFileReason(info.st_mode));
  size_ = static_cast<std::uint64_t>(info.st_size);
  return true;
}

RegularFile::~RegularFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

bool RegularFile::Refuse(std::string reason) {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  reason_ = std::move(reason);
  return false;
}

bool RegularFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
  if (descriptor_ < 0) return false;
  if (ReadAllAt(descriptor_, offset, buffer, count)) return true;
  reason_ = errno == 0 ? "The file became shorter while it was read" : FileErrorReason(errno);
  return false;
}
