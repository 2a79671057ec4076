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

  // Each creates one attribute and returns it, also under a name that is
  // stored otherwise (trailing blanks, a reference); asking again, with or
  // without create, finds that attribute and adds none.
  for (const char* name : {"x", "y ", "z\t\r\n ", "&#66;", "w&#32;"}) {
    const unsigned count = element.variableCount();
    XMLVariable* variable = element.findVariable(name, 1, "v<1");
    ASSERT_EQ(element.variableCount(), count + 1) << name;
    EXPECT_EQ(variable, element.variables()[count]) << name;
    EXPECT_EQ(variable->owner(), &element);
    EXPECT_EQ(element.findVariable(name, 1, "other"), variable) << name;
    EXPECT_EQ(element.findVariable(name), variable) << name;
    EXPECT_EQ(element.variableCount(), count + 1) << name;
  }
  EXPECT_EQ(Value(&element, "y"), "v<1");
  EXPECT_EQ(Value(&element, "z"), "v<1");
  EXPECT_EQ(Value(&element, "B"), "v<1");
  EXPECT_EQ(Value(&element, "w "), "v<1");
  EXPECT_EQ(element.variables()[3]->storedValue(), "v&lt;1") << "a created value is stored escaped";
  EXPECT_EQ(element.variableCount(), 8u);
  // "a  " would be stored as a, which exists: create finds it.
  EXPECT_EQ(element.findVariable("a  ", 1), element.variables()[0]);
}

TEST(XmlElement, MemoryUsageCountsTextsAndArraySlots) {
  // Slots when nothing has grown: 20 children, 20 attributes, 10 comments,
  // 4 contents, 10 CDATA sections, 4 bytes each.
  constexpr std::size_t kSlots = 4 * (20 + 20 + 10 + 4 + 10);
  XML document("<?xml?><ab c=\"1\" de=\"&lt;\"><!--xy-->text<![CDATA[z]]><k/></ab>", XML::kFromText);
  const std::size_t child = 112 + 1 + kSlots;
  // name 2; attributes 16+1+1 and 16+2+4; comment 12+2; content 40+4; CDATA 12+1.
  EXPECT_EQ(document.root()->memoryUsage(), 112 + 2 + (18 + 22) + 14 + 44 + 13 + child + kSlots);

  // The fifth content grows its array from 4 to 8 slots; the 21st child the
  // child array from 20 to 40.
  XMLElement* root = document.root();
  for (int i = 0; i < 4; ++i) root->addContent(new XMLContent(nullptr, 0, ""), 1);
  for (int i = 0; i < 20; ++i) root->addChild(new XMLElement(nullptr, "<k/>"));
  EXPECT_EQ(root->memoryUsage(), 112 + 2 + (18 + 22) + 14 + 44 + 4 * 40 + 13 + 21 * child + kSlots + 4 * (4 + 20));
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
}

TEST(XmlElement, WideTextsAreStoredAsUtf8) {
  XMLElement element(nullptr, nullptr, 0, L"<caf\u00E9 a=\"\U0001F600\"/>");
  EXPECT_EQ(xmltest::Describe(&element), "<caf\xC3\xA9>\n  @a=[\xF0\x9F\x98\x80]\n");
}

}  // namespace
