#include "xml/XMLEscape.h"

#include "win32/TextConversion.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr int kMaxUtf8Bytes = 4;

struct NamedReference {
  const char* name;  // after the '&', with its ';'
  std::size_t length;
  char character;
};

constexpr NamedReference kNamedReferences[] = {
    {"amp;", 4, '&'}, {"quot;", 5, '"'}, {"apos;", 5, '\''}, {"lt;", 3, '<'}, {"gt;", 3, '>'},
};

const char* EntityFor(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\'': return "&apos;";
    default: return nullptr;
  }
}

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hex) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// More significant digits than any character needs (U+10FFFF has 6 hex and
// 7 decimal digits); below it the value cannot wrap in 32 bits.
constexpr std::size_t kMaxSignificantDigits = 7;

// The value of `count` digits at `digits`, each weighted by a power of the
// base; nothing when it has more significant digits than a character needs.
std::optional<char32_t> DigitsValue(const char* digits, std::size_t count, bool hex) {
  const std::int32_t base = hex ? 16 : 10;
  std::size_t first = 0;
  while (first < count && digits[first] == '0') ++first;
  if (count - first > kMaxSignificantDigits) return std::nullopt;
  std::int32_t value = 0;
  for (std::size_t i = first; i < count; ++i)
    value += DigitValue(digits[i], hex) * intPower(base, static_cast<std::uint32_t>(count - 1 - i));
  return static_cast<char32_t>(value);
}

// A complete numeric reference at text ("&#" digits ";" or "&#x" hex digits
// ";"): its length and the character it names, U+FFFD when it names none,
// 0 for the value 0. A length of 0 means text does not start one.
std::size_t ReadNumericReference(const char* text, char32_t& character) {
  if (text[0] != '&' || text[1] != '#') return 0;
  const bool hex = text[2] == 'x' || text[2] == 'X';
  const std::size_t first = hex ? 3 : 2;
  std::size_t end = first;
  while (DigitValue(text[end], hex) >= 0) ++end;
  if (end == first || text[end] != ';') return 0;
  const std::optional<char32_t> value = DigitsValue(text + first, end - first, hex);
  const bool surrogate = value && *value >= 0xD800 && *value <= 0xDFFF;
  character = (!value || *value > kMaxCodePoint || surrogate) ? kReplacement : *value;
  return end + 1;
}

std::size_t EncodeUtf8(char32_t c, char* out) {
  const wchar_t wide = static_cast<wchar_t>(c);
  return static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, &wide, 1, out, kMaxUtf8Bytes, nullptr, nullptr));
}

// The reference at text (which starts with '&') unescaped into out; returns
// the input taken, 1 for an '&' that starts no reference.
std::size_t UnescapeReference(const char* text, char* out, std::size_t& written) {
  char32_t character = 0;
  if (const std::size_t length = ReadNumericReference(text, character)) {
    // A zero byte would end the text: the reference gives no character.
    written = character != 0 ? EncodeUtf8(character, out) : 0;
    return length;
  }
  for (const NamedReference& reference : kNamedReferences) {
    if (std::strncmp(text + 1, reference.name, reference.length) == 0) {
      out[0] = reference.character;
      written = 1;
      return reference.length + 1;
    }
  }
  out[0] = '&';
  written = 1;
  return 1;
}

}  // namespace

std::int32_t intPower(std::int32_t base, std::uint32_t exponent) {
  // Unsigned arithmetic wraps where signed would overflow.
  std::uint32_t power = 1;
  for (std::uint32_t i = 0; i < exponent; ++i) power *= static_cast<std::uint32_t>(base);
  return static_cast<std::int32_t>(power);
}

std::size_t escapeXmlText(const char* input, char* output) {
  if (input == nullptr) return 0;
  std::size_t length = 0;
  char32_t unused;
  for (const char* p = input; *p != '\0'; ++p) {
    const char* entity = EntityFor(*p);
    if (*p == '&' && ReadNumericReference(p, unused) != 0) entity = nullptr;
    const std::size_t n = entity != nullptr ? std::strlen(entity) : 1;
    if (output != nullptr) std::memcpy(output + length, entity != nullptr ? entity : p, n);
    length += n;
  }
  if (output != nullptr) output[length] = '\0';
  return length;
}

std::size_t unescapeXmlText(const char* input, char* output) {
  if (input == nullptr) return 0;
  if (output == nullptr) return std::strlen(input);
  std::size_t in = 0;
  std::size_t out = 0;
  while (input[in] != '\0') {
    const char* amp = std::strchr(input + in, '&');
    const std::size_t run = amp != nullptr ? static_cast<std::size_t>(amp - (input + in)) : std::strlen(input + in);
    std::memmove(output + out, input + in, run);
    in += run;
    out += run;
    if (amp == nullptr) break;
    std::size_t written = 0;
    in += UnescapeReference(input + in, output + out, written);
    out += written;
  }
  output[out] = '\0';
  return out;
}

std::string escapedXmlText(const std::string& input) {
  std::string escaped(escapeXmlText(input.c_str(), nullptr), '\0');
  escapeXmlText(input.c_str(), escaped.data());
  return escaped;
}

std::string unescapedXmlText(const std::string& input) {
  std::string unescaped(unescapeXmlText(input.c_str(), nullptr), '\0');
  unescaped.resize(unescapeXmlText(input.c_str(), unescaped.data()));
  return unescaped;
}
