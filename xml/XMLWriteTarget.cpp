#include "xml/XMLWriteTarget.h"

#include "win32/TextConversion.h"

#include <climits>
#include <vector>

namespace {

constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char32_t kHighSurrogateBase = 0xD800;
constexpr char32_t kLowSurrogateBase = 0xDC00;

void AppendUnit(std::string& bytes, char32_t unit) {
  bytes.push_back(static_cast<char>(unit & 0xFF));
  bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

}  // namespace

std::string utf16LeBytes(std::string_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int length = static_cast<int>(text.size());
  std::vector<wchar_t> characters(text.size());
  const int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, characters.data(), length);
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(count) * 4);
  for (int i = 0; i < count; ++i) {
    const auto c = static_cast<char32_t>(characters[static_cast<std::size_t>(i)]);
    if (c < kFirstSupplementary) {
      AppendUnit(bytes, c);
    } else {
      AppendUnit(bytes, kHighSurrogateBase + ((c - kFirstSupplementary) >> 10));
      AppendUnit(bytes, kLowSurrogateBase + ((c - kFirstSupplementary) & 0x3FF));
    }
  }
  return bytes;
}

bool writeUtf8AsUtf16(std::FILE* file, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const std::string bytes = utf16LeBytes(text);
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

void XMLWriteTarget::emit(std::string_view text) {
  if (failed_) return;
  if (kind_ == kUtf16File) {
    if (stream_ == nullptr)
      text_->append(utf16LeBytes(text));
    else if (!writeUtf8AsUtf16(stream_, text))
      failed_ = true;
  } else if (kind_ != kRegistry) {
    emitBytes(text);
  }
}

void XMLWriteTarget::emitBytes(std::string_view bytes) {
  if (failed_ || kind_ == kRegistry) return;
  if (stream_ == nullptr)
    text_->append(bytes);
  else if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
    failed_ = true;
}
