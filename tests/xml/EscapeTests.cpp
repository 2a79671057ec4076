#include "xml/XMLEscape.h"

#include "win32/TextConversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Unescape(const std::string& text) { return unescapedXmlText(text); }
std::string Escape(const std::string& text) { return escapedXmlText(text); }

// Text of random bytes (no zero byte), heavy in the characters that matter.
std::string RandomText(std::mt19937& random) {
  static const std::string kInteresting = "&#;xX0123456789aAfFgG<>\"'lmpqtuos";
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> pick(0, 3);
  std::uniform_int_distribution<int> byte(1, 255);
  std::uniform_int_distribution<std::size_t> interesting(0, kInteresting.size() - 1);
  std::string text;
  for (int i = length(random); i > 0; --i)
    text += pick(random) == 0 ? static_cast<char>(byte(random)) : kInteresting[interesting(random)];
  return text;
}

// What escaping then unescaping must give: the text with each complete
// numeric reference ("&#" digits ";" or "&#x" hex digits ";") replaced by its
// character, U+FFFD when it names none.
std::string WithNumericReferencesDecoded(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const bool hex = text.compare(i, 3, "&#x") == 0 || text.compare(i, 3, "&#X") == 0;
    const std::size_t first = i + (hex ? 3 : 2);
    const char* digits = hex ? "0123456789abcdefABCDEF" : "0123456789";
    const std::size_t last = text.find_first_not_of(digits, first);
    if (text.compare(i, 2, "&#") != 0 || last == first || last == std::string::npos || text[last] != ';') {
      out += text[i++];
      continue;
    }
    const std::string number = text.substr(first, last - first);
    const std::string significant = number.substr(std::min(number.find_first_not_of('0'), number.size()));
    char32_t value = 0xFFFD;
    if (!significant.empty() && significant.size() <= 7) {
      const unsigned long parsed = std::stoul(significant, nullptr, hex ? 16 : 10);
      if (parsed <= 0x10FFFF && (parsed < 0xD800 || parsed > 0xDFFF)) value = static_cast<char32_t>(parsed);
    }
    const wchar_t character[] = {static_cast<wchar_t>(value), L'\0'};
    out += Utf8FromWide(character);
    i = last + 1;
  }
  return out;
}

TEST(XmlEscape, EscapesMarkupAndKeepsCompleteNumericReferences) {
  EXPECT_EQ(Escape("a < b & c"), "a &lt; b &amp; c");
  EXPECT_EQ(Escape("'\">"), "&apos;&quot;&gt;");
  EXPECT_EQ(Escape("&#38; &#x26; &#X26;"), "&#38; &#x26; &#X26;");
  // Only a complete reference keeps its '&'.
  EXPECT_EQ(Escape("&#38"), "&amp;#38");
  EXPECT_EQ(Escape("&#;"), "&amp;#;");
  EXPECT_EQ(Escape("&#x;"), "&amp;#x;");
  EXPECT_EQ(Escape("&#12a;"), "&amp;#12a;");
  EXPECT_EQ(Escape("a&"), "a&amp;");
  EXPECT_EQ(Escape("&amp;"), "&amp;amp;");
  EXPECT_EQ(escapeXmlText(nullptr, nullptr), 0u);
}

TEST(XmlEscape, UnescapesNamedAndNumericReferences) {
  EXPECT_EQ(Unescape("&#x41;&#65;"), "AA");
  EXPECT_EQ(Unescape("&#233;"), "\xC3\xA9");
  EXPECT_EQ(Unescape("&#x263A;"), "\xE2\x98\xBA");
  EXPECT_EQ(Unescape("&#x10041;"), "\xF0\x90\x81\x81");
  EXPECT_EQ(Unescape("&#65536;"), "\xF0\x90\x80\x80");
  EXPECT_EQ(Unescape("&#x10FFFF;"), "\xF4\x8F\xBF\xBF");
  char out[16];
  EXPECT_EQ(unescapeXmlText("&lt;&gt;&amp;&quot;&apos;", out), 5u);
  EXPECT_STREQ(out, "<>&\"'");
  EXPECT_EQ(Unescape("AT&T &zz; &AMP; &lt"), "AT&T &zz; &AMP; &lt");
}

TEST(XmlEscape, NumericReferencesThatNameNoCharacterGiveReplacement) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(Unescape("&#xD800;"), replacement);
  EXPECT_EQ(Unescape("&#57343;"), replacement);
  EXPECT_EQ(Unescape("&#x110000;"), replacement);
  EXPECT_EQ(Unescape("&#0;"), replacement);
  EXPECT_EQ(Unescape("&#99999999999999999999;"), replacement);
  EXPECT_EQ(Unescape("&#x000000000041;"), "A");
}

TEST(XmlEscape, IncompleteNumericReferencesStayAsWritten) {
  EXPECT_EQ(Unescape("&#65x"), "&#65x");
  EXPECT_EQ(Unescape("&#;"), "&#;");
  EXPECT_EQ(Unescape("&#x;"), "&#x;");
  EXPECT_EQ(Unescape("&#65"), "&#65");
}

TEST(XmlEscape, LengthQueriesBoundWhatIsWritten) {
  std::mt19937 random(4);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomText(random);
    std::string escaped(escapeXmlText(text.c_str(), nullptr) + 1, '\x7F');
    EXPECT_EQ(escapeXmlText(text.c_str(), escaped.data()), escaped.size() - 1);
    EXPECT_EQ(escaped.back(), '\0');

    const std::size_t room = unescapeXmlText(text.c_str(), nullptr);
    EXPECT_EQ(room, text.size());
    std::string unescaped(room + 2, '\x7F');
    const std::size_t written = unescapeXmlText(text.c_str(), unescaped.data());
    EXPECT_LE(written, room);
    EXPECT_EQ(unescaped[written], '\0');
    EXPECT_EQ(unescaped[room + 1], '\x7F') << "wrote past the room it asked for: " << text;
  }
}

TEST(XmlEscape, UnescapeOfEscapeGivesTheTextBack) {
  std::mt19937 random(7);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomText(random);
    const std::string escaped = Escape(text);
    EXPECT_EQ(escaped.find_first_of("<>\"'"), std::string::npos) << text;
    EXPECT_EQ(Unescape(escaped), WithNumericReferencesDecoded(text)) << text;
  }
}

}  // namespace
