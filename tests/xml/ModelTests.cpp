#include "xml/XML.h"
#include "xml/XMLContent.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLVariable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string ValueOf(const XMLVariable* variable, int raw = 0) {
  char buffer[256];
  variable->copyValue(buffer, sizeof buffer, raw);
  return buffer;
}

std::string NameOf(const XMLVariable* variable) {
  char buffer[256];
  variable->copyName(buffer, sizeof buffer, 0);
  return buffer;
}

TEST(XmlElement, FindsAttributesByTheirUnescapedName) {
  XMLElement element(nullptr, "<a/>");
  element.addVariable(new XMLVariable("a  ", "1"));
  element.addVariable(new XMLVariable("a&amp;b", "2", 1));
  element.addVariable(new XMLVariable("a", "3"));
  ASSERT_NE(element.findVariable("a"), nullptr);
  EXPECT_EQ(ValueOf(element.findVariable("a")), "1");
  ASSERT_NE(element.findVariable("a&b"), nullptr);
  EXPECT_EQ(ValueOf(element.findVariable("a&b")), "2");
  EXPECT_EQ(element.findVariable("a&amp;b"), nullptr);
  EXPECT_EQ(element.findVariable("A"), nullptr);
  EXPECT_EQ(element.findVariable(nullptr), nullptr);
}

TEST(XmlElement, FindVariableWithCreateReturnsTheAttributeItAdded) {
  XMLElement element(nullptr, "<a/>");
  XMLVariable* created = element.findVariable("x", 1, "v<1");
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(element.variableCount(), 1u);
  EXPECT_EQ(element.findVariable("x", 1, "other"), created);
  EXPECT_EQ(element.variableCount(), 1u);
  EXPECT_EQ(ValueOf(created, 1), "v&lt;1");
  EXPECT_EQ(created->owner(), &element);

  // Names that a search would not find again still give the new attribute.
  XMLVariable* blanks = element.findVariable("y ", 1);
  ASSERT_NE(blanks, nullptr);
  EXPECT_EQ(NameOf(blanks), "y");
  XMLVariable* reference = element.findVariable("&#65;", 1);
  ASSERT_NE(reference, nullptr);
  EXPECT_EQ(NameOf(reference), "A");
  EXPECT_EQ(element.variableCount(), 3u);
  EXPECT_EQ(element.findVariable("z", 0), nullptr);
}

TEST(XmlElement, CopiesCutAtCharacterBoundariesAndReportTheFullLength) {
  XMLVariable variable("n", "x&lt;y", 1);
  EXPECT_EQ(variable.copyValue(nullptr, 0, 0), 6u);
  EXPECT_EQ(variable.copyValue(nullptr, 0, 1), 6u);
  char buffer[8];
  EXPECT_EQ(variable.copyValue(buffer, sizeof buffer, 0), 3u);
  EXPECT_STREQ(buffer, "x<y");
  EXPECT_EQ(variable.copyValue(buffer, sizeof buffer, 1), 6u);
  EXPECT_STREQ(buffer, "x&lt;y");

  // "a" then e-acute (2 bytes) then the euro sign (3 bytes).
  XMLVariable wide("n", "a\xC3\xA9\xE2\x82\xAC", 1);
  const char* expected[] = {"", "", "a", "a", "a\xC3\xA9", "a\xC3\xA9", "a\xC3\xA9", "a\xC3\xA9\xE2\x82\xAC"};
  for (std::size_t capacity = 1; capacity <= 7; ++capacity) {
    char cut[8];
    std::memset(cut, '#', sizeof cut);
    EXPECT_EQ(wide.copyValue(cut, capacity, 0), 6u);
    EXPECT_STREQ(cut, expected[capacity]) << capacity;
    EXPECT_EQ(cut[capacity], '#') << "wrote past capacity " << capacity;
  }
  char untouched = '#';
  EXPECT_EQ(wide.copyValue(&untouched, 0, 0), 6u);
  EXPECT_EQ(untouched, '#');
}

TEST(XmlElement, NullTextsGiveEmptyOnes) {
  XMLElement element(nullptr, static_cast<const char*>(nullptr));
  char buffer[4] = "xyz";
  EXPECT_EQ(element.copyName(buffer, sizeof buffer, 0), 0u);
  EXPECT_STREQ(buffer, "");
  XMLVariable variable(nullptr, nullptr);
  EXPECT_EQ(variable.copyValue(buffer, sizeof buffer, 0), 0u);
  XMLContent content(nullptr, 0, nullptr);
  EXPECT_EQ(content.copyValue(buffer, sizeof buffer, 0), 0u);
  EXPECT_EQ(element.addChild(nullptr), nullptr);
  EXPECT_EQ(element.childCount(), 0u);
  EXPECT_EQ(element.indexOfChild(nullptr), -1);
}

TEST(XmlElement, WideTextsAreStoredAsUtf8) {
  XMLElement element(nullptr, nullptr, 0, L"<caf\u00E9 a=\"\U0001F600\"/>");
  char buffer[32];
  element.copyName(buffer, sizeof buffer, 0);
  EXPECT_STREQ(buffer, "caf\xC3\xA9");
  EXPECT_EQ(ValueOf(element.findVariable("a")), "\xF0\x9F\x98\x80");
  XMLVariable variable(nullptr, nullptr, 0, L"n", L"\u00E9");
  EXPECT_EQ(ValueOf(&variable), "\xC3\xA9");
}

TEST(XmlContent, StoresBytesGivenWithALengthAsBase64) {
  XMLContent content(nullptr, 0, "ab\0c", 0, 4);
  char buffer[16];
  content.copyValue(buffer, sizeof buffer, 0);
  EXPECT_STREQ(buffer, "YWIAYw==");
  content.setValue("a<b");
  content.copyValue(buffer, sizeof buffer, 1);
  EXPECT_STREQ(buffer, "a&lt;b");
}

TEST(XmlDocument, DetachRootHandsItOverAndLeavesAnEmptyRoot) {
  XML document("<?xml?><a><b/></a>", XML::kFromText);
  XMLElement* detached = document.detachRoot();
  ASSERT_NE(detached, nullptr);
  EXPECT_EQ(detached->childCount(), 1u);
  ASSERT_NE(document.root(), nullptr);
  EXPECT_EQ(document.root()->storedName(), "root");
  EXPECT_EQ(document.root()->childCount(), 0u);
  delete detached;
}

TEST(XmlDocument, ResetLeavesNothingAndCanBeRepeated) {
  XML document("<?xml?><a/>", XML::kFromText);
  document.reset();
  EXPECT_EQ(document.root(), nullptr);
  EXPECT_EQ(document.header(), nullptr);
  document.reset();
  std::string text;
  EXPECT_EQ(document.saveToMemory(text), 1);
  EXPECT_EQ(text, "");
}

}  // namespace
