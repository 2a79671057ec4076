#include "xml/XMLEscape.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>
#include <string>

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Pieces of random text, each with what escaping then unescaping must give
// for it: a complete numeric reference its character (U+FFFD when it names
// none, nothing for 0), anything else itself. Only the references hold '#', so joining
// pieces never makes a new reference.
const std::pair<std::string, std::string> kPieces[] = {
    {"&#65;", "A"}, {"&#x41;", "A"}, {"&#X263a;", "\xE2\x98\xBA"}, {"&#x1F600;", "\xF0\x9F\x98\x80"},
    {"&#0;", ""}, {"&#x0000;", ""}, {"&#xDFFF;", kReplacement}, {"&#1114112;", kReplacement},
    {"&#99999999999;", kReplacement}, {"&#;", "&#;"}, {"&#x;", "&#x;"}, {"&#12a;", "&#12a;"}, {"&amp;", "&amp;"},
    {"&lt", "&lt"}, {"&", "&"}, {"<", "<"}, {">", ">"}, {"\"", "\""}, {"'", "'"}, {";", ";"}, {"x", "x"}, {"7", "7"},
};

// A random text (no zero byte) and what escaping then unescaping must give.
std::pair<std::string, std::string> RandomText(std::mt19937& random) {
  std::pair<std::string, std::string> text;
  for (int i = random() % 40; i > 0; --i) {
    const char byte = static_cast<char>(1 + random() % 255);
    const std::pair<std::string, std::string> any{std::string(1, byte), std::string(1, byte)};
    const auto& piece = random() % 4 == 0 && byte != '#' ? any : kPieces[random() % std::size(kPieces)];
    text.first += piece.first;
    text.second += piece.second;
  }
  return text;
}

TEST(XmlEscape, EscapesMarkupAndKeepsOnlyCompleteNumericReferences) {
  const std::pair<const char*, const char*> cases[] = {
      {"a < b & c", "a &lt; b &amp; c"}, {"'\">", "&apos;&quot;&gt;"},
      {"&#38; &#x26; &#X26;", "&#38; &#x26; &#X26;"},
      {"&#38", "&amp;#38"}, {"&#;", "&amp;#;"}, {"&#x;", "&amp;#x;"}, {"&#12a;", "&amp;#12a;"},
      {"a&", "a&amp;"}, {"&amp;", "&amp;amp;"},
  };
  for (const auto& [text, escaped] : cases) EXPECT_EQ(escapedXmlText(text), escaped) << text;
  EXPECT_EQ(escapeXmlText(nullptr, nullptr), 0u);
  EXPECT_EQ(unescapeXmlText(nullptr, nullptr), 0u);
}

TEST(XmlEscape, UnescapesNamedAndNumericReferences) {
  const std::pair<const char*, std::string> cases[] = {
      {"&#x41;&#65;", "AA"}, {"&#233;", "\xC3\xA9"}, {"&#x263A;", "\xE2\x98\xBA"},
      // Above U+FFFF: four bytes.
      {"&#x10041;", "\xF0\x90\x81\x81"}, {"&#65536;", "\xF0\x90\x80\x80"}, {"&#x10FFFF;", "\xF4\x8F\xBF\xBF"},
      {"&#x000000000041;", "A"}, {"&lt;&gt;&amp;&quot;&apos;", "<>&\"'"},
      // Names no character: a surrogate, above U+10FFFF, overflow (more in kPieces).
      {"&#xD800;", kReplacement}, {"&#x110000;", kReplacement}, {"&#99999999999999999999;", kReplacement},
      // Zero names no character, and a zero byte would end the text.
      {"a&#0;b&#x00;c", "abc"},
      // Not a complete reference: stays as written, down to the character
      // after the digits.
      {"AT&T &zz; &AMP; &lt", "AT&T &zz; &AMP; &lt"}, {"&#65x", "&#65x"}, {"&#65", "&#65"}, {"&#;", "&#;"},
      {"&#x;b", "&#x;b"},
  };
  for (const auto& [text, unescaped] : cases) EXPECT_EQ(unescapedXmlText(text), unescaped) << text;
}

TEST(XmlEscape, IntPowerWrapsIn32Bits) {
  // Exact while the power fits; then the low 32 bits, as a signed value.
  EXPECT_EQ(intPower(16, 0), 1);
  EXPECT_EQ(intPower(16, 1), 16);
  EXPECT_EQ(intPower(16, 6), 0x1000000);
  EXPECT_EQ(intPower(10, 9), 1000000000);
  EXPECT_EQ(intPower(-3, 3), -27);
  EXPECT_EQ(intPower(2, 31), INT32_MIN);
  EXPECT_EQ(intPower(16, 8), 0);
  EXPECT_EQ(intPower(10, 10), static_cast<std::int32_t>(10000000000 - 2 * 4294967296));
}

// Over random text: each length query gives room for exactly (escape) or at
// least (unescape) what is then written, and unescaping the escaped text
// gives the text back, complete numeric references decoded.
TEST(XmlEscape, LengthQueriesAndRoundTripOverRandomText) {
  std::mt19937 random(4);
  for (int i = 0; i < 5000; ++i) {
    const auto [text, roundTrip] = RandomText(random);
    std::string escaped(escapeXmlText(text.c_str(), nullptr) + 1, '\x7F');
    EXPECT_EQ(escapeXmlText(text.c_str(), escaped.data()), escaped.size() - 1) << text;
    EXPECT_EQ(escaped.back(), '\0') << text;
    EXPECT_EQ(escaped.find_first_of("<>\"'"), std::string::npos) << text;
    EXPECT_EQ(unescapedXmlText(escaped.c_str()), roundTrip) << text;

    EXPECT_EQ(unescapeXmlText(text.c_str(), nullptr), text.size());
    std::string unescaped(text.size() + 2, '\x7F');
    const std::size_t written = unescapeXmlText(text.c_str(), unescaped.data());
    EXPECT_LE(written, text.size()) << text;
    EXPECT_EQ(unescaped[written], '\0') << text;
    EXPECT_EQ(unescaped[text.size() + 1], '\x7F') << "wrote past the room it asked for: " << text;
  }
}

}  // namespace
