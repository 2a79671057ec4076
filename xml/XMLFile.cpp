#include "xml/XMLFile.h"

#include "files/RegularFile.h"
#include "win32/TextConversion.h"
#include "xml/XMLTransform.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::string PathOf(const char* name, const wchar_t* wideName) {
  return wideName != nullptr ? Utf8FromWide(wideName) : std::string(name != nullptr ? name : "");
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
  return RegularFile(PathOf(name, wideName), kXmlMaxFileBytes).IsOpen();
}

std::optional<std::string> readWholeFile(const char* name, const wchar_t* wideName, XMLTransform* transform,
                                         void* transformParameter, XMLFileFailure& failure) {
  failure = XMLFileFailure::kNone;
  RegularFile file(PathOf(name, wideName), kXmlMaxFileBytes);
  std::string bytes(file.IsOpen() ? static_cast<std::size_t>(file.Size()) : 0, '\0');
  if (!file.IsOpen() || !file.ReadAt(0, bytes.data(), bytes.size())) {
    failure = file.Missing() ? XMLFileFailure::kMissing : XMLFileFailure::kUnreadable;
    return std::nullopt;
  }

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
