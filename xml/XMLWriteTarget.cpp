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

// Appends UTF-8 text as UTF-16 code units, two bytes each, low byte first;
// characters above U+FFFF become surrogate pairs. False for a text longer
// than the conversion takes.
bool AppendUtf16Le(std::string& bytes, std::string_view text) {
  if (text.empty()) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const int length = static_cast<int>(text.size());
  std::vector<wchar_t> characters(text.size());
  const int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, characters.data(), length);
  bytes.reserve(bytes.size() + static_cast<std::size_t>(count) * 4);
  for (int i = 0; i < count; ++i) {
    const auto c = static_cast<char32_t>(characters[static_cast<std::size_t>(i)]);
    if (c < kFirstSupplementary) {
      AppendUnit(bytes, c);
    } else {
      AppendUnit(bytes, kHighSurrogateBase + ((c - kFirstSupplementary) >> 10));
      AppendUnit(bytes, kLowSurrogateBase + ((c - kFirstSupplementary) & 0x3FF));
    }
  }
  return true;
}

}  // namespace

void XMLWriteTarget::emit(std::string_view text) {
  if (failed_ || kind_ == kRegistry) return;
  if (kind_ != kUtf16File) return emitBytes(text);
  // Every one to four UTF-8 bytes become two bytes or more, so a text that
  // cannot fit is refused before it is converted.
  if (text.size() / 2 > room()) return fail();
  failingOnExhaustion([&] {
    if (!AppendUtf16Le(*text_, text) || text_->size() - start_ > kMaxTextBytes) fail();
  });
}

void XMLWriteTarget::emitBytes(std::string_view bytes) {
  if (failed_ || kind_ == kRegistry) return;
  if (bytes.size() > room()) return fail();
  failingOnExhaustion([&] { text_->append(bytes); });
}

void XMLWriteTarget::fail() {
  failed_ = true;
  // Shrinking a string allocates nothing.
  if (text_ != nullptr && text_->size() > start_) text_->resize(start_);
}
