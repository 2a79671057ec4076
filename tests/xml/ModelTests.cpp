#include "XmlTestSupport.h"

#include "xml/XMLContent.h"
#include "xml/XMLVariable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using xmltest::Value;

TEST(XmlElement, FindVariableComparesUnescapedNamesAndCreateReturnsWhatItAdded) {
  XMLElement element(nullptr, "<e/>");
  element.addVariable(new XMLVariable("a  ", "1"));
  element.addVariable(new XMLVariable("a&amp;b", "2", 1));
  element.addVariable(new XMLVariable("a", "3"));
  EXPECT_EQ(Value(&element, "a"), "1");
  EXPECT_EQ(Value(&element, "a&b"), "2");
  for (const char* absent : {"a&amp;b", "A", "x", static_cast<const char*>(nullptr)})
    EXPECT_EQ(element.findVariable(absent), nullptr) << (absent ? absent : "null");

  // Each creates one attribute and returns it, also under a name that a
  // search for the same text would not find (trailing blank, reference).
  for (const char* name : {"x", "y ", "&#65;"}) {
    const unsigned count = element.variableCount();
    XMLVariable* variable = element.findVariable(name, 1, "v<1");
    ASSERT_EQ(element.variableCount(), count + 1) << name;
    EXPECT_EQ(variable, element.variables()[count]) << name;
    EXPECT_EQ(variable->owner(), &element);
  }
  EXPECT_EQ(Value(&element, "y"), "v<1");
  EXPECT_EQ(Value(&element, "A"), "v<1");
  EXPECT_EQ(element.findVariable("x", 1, "other"), element.variables()[3]);
  EXPECT_EQ(element.variables()[3]->storedValue(), "v&lt;1") << "a created value is stored escaped";
  EXPECT_EQ(element.variableCount(), 6u);
}

TEST(XmlElement, CopiesTerminateCutAtCharacterBoundariesAndReportTheFullLength) {
  // "a", e-acute (2 bytes), the euro sign (3 bytes): what fits in each capacity.
  XMLVariable wide("n", "a\xC3\xA9\xE2\x82\xAC", 1);
  const char* expected[] = {"", "", "a", "a", "a\xC3\xA9", "a\xC3\xA9", "a\xC3\xA9", "a\xC3\xA9\xE2\x82\xAC"};
  for (std::size_t capacity = 0; capacity <= 7; ++capacity) {
    char cut[9];
    std::memset(cut, '#', sizeof cut);
    EXPECT_EQ(wide.copyValue(cut, capacity, 0), 6u) << capacity;
    EXPECT_STREQ(capacity > 0 ? cut : "", expected[capacity]) << capacity;
    EXPECT_EQ(std::string(cut + capacity, sizeof cut - capacity), std::string(sizeof cut - capacity, '#'))
        << "wrote past capacity " << capacity;
  }
}

TEST(XmlElement, NullTextsAndRootsAreHandled) {
  XMLElement element(nullptr, static_cast<const char*>(nullptr));
  char buffer[4] = "xyz";
  EXPECT_EQ(element.copyName(buffer, sizeof buffer, 0), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(XMLVariable(nullptr, nullptr).copyValue(buffer, sizeof buffer, 0), 0u);
  EXPECT_EQ(XMLContent(nullptr, 0, nullptr).copyValue(buffer, sizeof buffer, 0), 0u);
  EXPECT_EQ(element.addChild(nullptr), nullptr);
  EXPECT_EQ(element.childCount(), 0u);
  EXPECT_EQ(element.indexOfChild(nullptr), -1);

  XML document("<?xml?><a><b/></a>", XML::kFromText);
  delete document.detachRoot();
  EXPECT_EQ(xmltest::Describe(document.root()), "<root>\n");
  document.reset();
  EXPECT_EQ(document.root(), nullptr);
  document.reset();
  std::string text;
  EXPECT_EQ(document.saveToMemory(text), 1);
  EXPECT_EQ(text, "");
}

TEST(XmlElement, WideTextsAreStoredAsUtf8) {
  XMLElement element(nullptr, nullptr, 0, L"<caf\u00E9 a=\"\U0001F600\"/>");
  EXPECT_EQ(xmltest::Describe(&element), "<caf\xC3\xA9>\n  @a=[\xF0\x9F\x98\x80]\n");
}

}  // namespace
