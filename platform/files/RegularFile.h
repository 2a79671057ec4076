#pragma once
// A regular file opened for reading. Nothing that is not a regular file is
// ever waited on: a FIFO without a writer, a device or a folder is refused
// before a byte is read, and so is a file larger than the caller allows.

#include <cstddef>
#include <cstdint>
#include <string>

class RegularFile {
 public:
  // Opens path for reading. When it is missing, cannot be opened, is not a
  // regular file or holds more than maxBytes, the file is not open and
  // reason() says why.
  RegularFile(const std::string& path, std::uint64_t maxBytes);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  // Nothing exists under the name (as opposed to a file that cannot be read).
  bool Missing() const { return missing_; }
  const std::string& Reason() const { return reason_; }
  // The size the file had when it was opened.
  std::uint64_t Size() const { return size_; }

  // Reads exactly count bytes from offset into buffer; false, with the
  // reason, when the read fails or the file ends before them.
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count);

 private:
  bool Open(const std::string& path);
  // Closes the file and keeps the reason; false.
  bool Refuse(std::string reason);

  int descriptor_ = -1;
  bool missing_ = false;
  std::uint64_t size_ = 0;
  std::string reason_;
};
