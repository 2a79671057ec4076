#include "win32/TextConversion.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kHighSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateLast = 0xDFFF;

bool IsHighSurrogate(char32_t c) { return c >= kHighSurrogateFirst && c < kLowSurrogateFirst; }
bool IsLowSurrogate(char32_t c) { return c >= kLowSurrogateFirst && c <= kSurrogateLast; }
bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one character at text[0..length); sets `used` to the bytes taken.
// An ill-formed sequence takes its longest valid prefix (at least one byte)
// and gives U+FFFD, so that the next character starts where a decoder that
// resynchronises would start it.
char32_t DecodeUtf8(const unsigned char* text, std::size_t length, std::size_t& used) {
  const unsigned char lead = text[0];
  used = 1;
  if (lead < 0x80) return lead;
  std::size_t extra;
  char32_t value;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return kReplacement;
  }
  for (std::size_t i = 1; i <= extra; ++i) {
    if (i >= length) return kReplacement;
    const unsigned char byte = text[i];
    const bool fits = i == 1 ? (byte >= low && byte <= high) : IsContinuation(byte);
    if (!fits) return kReplacement;
    value = (value << 6) | (byte & 0x3F);
    used = i + 1;
  }
  return value;
}

std::size_t EncodeUtf8(char32_t c, char* out) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

// The input length in units, the terminator included for -1; -1 on bad input.
template <typename Unit>
long long InputLength(const Unit* text, int length, std::size_t (*measure)(const Unit*)) {
  if (text == nullptr || length == 0 || length < -1) return -1;
  if (length == -1) return static_cast<long long>(measure(text)) + 1;
  return length;
}

std::size_t MeasureNarrow(const char* text) { return std::strlen(text); }
std::size_t MeasureWide(const WCHAR* text) { return std::wcslen(text); }

// Sends `count` units to out[written..] when there is room; counts them always.
// Returns false when a buffer was given and is full.
class UnitCounter {
 public:
  explicit UnitCounter(int capacity) : capacity_(capacity) {}
  bool Room(std::size_t count) const {
    return capacity_ == 0 || written_ + count <= static_cast<std::size_t>(capacity_);
  }
  void Advance(std::size_t count) { written_ += count; }
  std::size_t Written() const { return written_; }
  bool Measuring() const { return capacity_ == 0; }

 private:
  int capacity_;
  std::size_t written_ = 0;
};

int Result(std::size_t written) {
  return written > static_cast<std::size_t>(INT32_MAX) ? 0 : static_cast<int>(written);
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD /*flags*/, const char* text, int length,
                        WCHAR* wide, int capacity) {
  const long long total = InputLength(text, length, MeasureNarrow);
  if (codePage != CP_UTF8 || total < 0 || capacity < 0) return 0;
  if (capacity > 0 && wide == nullptr) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  UnitCounter out(capacity);
  for (std::size_t i = 0; i < static_cast<std::size_t>(total);) {
    std::size_t used = 0;
    const char32_t c = DecodeUtf8(bytes + i, static_cast<std::size_t>(total) - i, used);
    i += used;
    if (!out.Room(1)) return 0;
    if (!out.Measuring()) wide[out.Written()] = static_cast<WCHAR>(c);
    out.Advance(1);
  }
  return Result(out.Written());
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, const WCHAR* wide, int length,
                        char* text, int capacity, const char* /*defaultChar*/,
                        BOOL* usedDefaultChar) {
  if (usedDefaultChar != nullptr) *usedDefaultChar = FALSE;
  const long long total = InputLength(wide, length, MeasureWide);
  if (codePage != CP_UTF8 || total < 0 || capacity < 0) return 0;
  if (capacity > 0 && text == nullptr) return 0;
  UnitCounter out(capacity);
  char encoded[4];
  for (std::size_t i = 0; i < static_cast<std::size_t>(total); ++i) {
    char32_t c = static_cast<char32_t>(wide[i]);
    if (IsHighSurrogate(c) && i + 1 < static_cast<std::size_t>(total) &&
        IsLowSurrogate(static_cast<char32_t>(wide[i + 1]))) {
      const char32_t low = static_cast<char32_t>(wide[++i]);
      c = 0x10000 + ((c - kHighSurrogateFirst) << 10) + (low - kLowSurrogateFirst);
    } else if ((c >= kHighSurrogateFirst && c <= kSurrogateLast) || c > kMaxCodePoint) {
      c = kReplacement;
    }
    const std::size_t n = EncodeUtf8(c, encoded);
    if (!out.Room(n)) return 0;
    if (!out.Measuring()) std::memcpy(text + out.Written(), encoded, n);
    out.Advance(n);
  }
  return Result(out.Written());
}

std::string Utf8FromWide(const wchar_t* wide) {
  const int needed = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 1) return {};
  std::string text(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), needed, nullptr, nullptr);
  text.pop_back();  // the terminator the conversion counted
  return text;
}

std::wstring WideFromUtf8(const char* text) {
  const int needed = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (needed <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), needed);
  wide.pop_back();
  return wide;
}
