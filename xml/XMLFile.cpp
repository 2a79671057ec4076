#include "xml/XMLFile.h"

#include "win32/TextConversion.h"
#include "xml/XMLTransform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens a regular file for reading. The open itself does not wait (a FIFO
// without a writer would hold it forever), and anything that is not a
// regular file is closed again before a byte is read.
File OpenRegularFile(const char* name, const wchar_t* wideName) {
  const std::string path = wideName != nullptr ? Utf8FromWide(wideName) : std::string(name != nullptr ? name : "");
  if (path.empty()) return nullptr;
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) ||
      fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
    ::close(descriptor);
    return nullptr;
  }
  File file(fdopen(descriptor, "rb"));
  if (file == nullptr) ::close(descriptor);
  return file;
}

// The size of an open regular file.
std::optional<std::size_t> FileSize(std::FILE* file) {
  struct stat info {};
  if (fstat(fileno(file), &info) != 0 || info.st_size < 0) return std::nullopt;
  return static_cast<std::size_t>(info.st_size);
}

std::string UpToFirstZero(const char* bytes, std::size_t length) {
  const void* zero = std::memchr(bytes, 0, length);
  return std::string(bytes, zero != nullptr ? static_cast<const char*>(zero) - bytes : length);
}

bool StartsWithUtf16ByteOrderMark(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// UTF-16LE bytes, up to the first zero unit, as UTF-8 text.
std::string Utf8FromUtf16Le(const std::string& bytes) {
  std::vector<wchar_t> units;
  units.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                           static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit == 0) break;
    units.push_back(unit);
  }
  units.push_back(0);
  return Utf8FromWide(units.data());
}

}  // namespace

bool xmlIsReadableFile(const char* name, const wchar_t* wideName) {
  return OpenRegularFile(name, wideName) != nullptr;
}

std::optional<std::string> readWholeFile(const char* name, const wchar_t* wideName, XMLTransform* transform,
                                         void* transformParameter) {
  const File file = OpenRegularFile(name, wideName);
  if (file == nullptr) return std::nullopt;
  const std::optional<std::size_t> size = FileSize(file.get());
  if (!size || *size > kXmlMaxFileBytes) return std::nullopt;
  std::string bytes(*size, '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return std::nullopt;

  if (transform != nullptr) {
    // The decoder writes at most as many bytes as it reads.
    std::string decoded(bytes.size(), '\0');
    const std::size_t length =
        transform->decode(bytes.data(), bytes.size(), decoded.data(), decoded.size(), transformParameter);
    decoded.resize(std::min(length, decoded.size()));
    bytes = std::move(decoded);
  }
  // UTF-16 text holds zero bytes: the mark is looked for before any cut.
  if (StartsWithUtf16ByteOrderMark(bytes)) return Utf8FromUtf16Le(bytes);
  return UpToFirstZero(bytes.data(), bytes.size());
}
