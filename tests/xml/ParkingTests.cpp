#include "XmlTestSupport.h"

#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using xmltest::Describe;

// Writes child `index` of parent to its parked file as a document and empties
// its slot.
void Park(XMLElement& parent, unsigned index) {
  XMLElement* child = parent.children()[index];
  std::string text;
  XMLWriteTarget target = XMLWriteTarget::memory(text);
  XMLHeader header("<?xml version=\"1.0\"?>");
  ASSERT_EQ(child->writeWithHeader(target, 1, 1, &header), 1);
  xmltest::WriteFile(parent.parkedFileName(index), text);
  delete child;
  parent.children()[index] = nullptr;
}

XML Tree() {
  return XML("<?xml?><r><a/><b><c/><d/><e/></b><f/><g/></r>", XML::kFromText);
}

TEST(XmlParking, NamesFilesAfterTheChainOfIndices) {
  XML document("<?xml?><r><a/><b/><c><x/><y/><z><p/><q/><s/><t/><u/><v/></z></c></r>", XML::kFromText);
  XMLElement* root = document.root();
  XMLElement* c = root->children()[2];
  XMLElement* z = c->children()[2];
  EXPECT_EQ(root->pathKey(), "");
  EXPECT_EQ(root->parkedFileName(3), "3.xmltmp");
  EXPECT_EQ(c->pathKey(), "2-");
  EXPECT_EQ(c->parkedFileName(2), "2-2.xmltmp");
  EXPECT_EQ(z->parkedFileName(5), "2-2-5.xmltmp");
  EXPECT_EQ(z->depth(), 2u);
  EXPECT_EQ(z->parkedFileName(123456), "2-2-123456.xmltmp");
}

TEST(XmlParking, WritingRestoresParkedChildrenInPlace) {
  xmltest::ScratchDirectory scratch;
  XML document = Tree();
  const std::string before = xmltest::SavedText(document);
  XMLElement* b = document.root()->children()[1];
  Park(*b, 1);
  Park(*document.root(), 1);
  EXPECT_TRUE(std::filesystem::exists("1.xmltmp"));

  EXPECT_EQ(xmltest::SavedText(document), before);
  EXPECT_FALSE(std::filesystem::exists("1.xmltmp"));
  ASSERT_NE(document.root()->children()[1], nullptr);
  EXPECT_EQ(document.root()->children()[1]->parent(), document.root());
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path())) << "parked files were left behind";
}

TEST(XmlParking, MissingOrBrokenFilesLeaveTheSlotEmpty) {
  xmltest::ScratchDirectory scratch;
  XML document = Tree();
  XMLElement* root = document.root();
  Park(*root, 2);
  Park(*root, 3);
  std::filesystem::remove("2.xmltmp");
  xmltest::WriteFile("3.xmltmp", "<?xml?><g><unclosed></g>");
  EXPECT_EQ(root->restoreParkedChild(2), 0);
  EXPECT_EQ(root->restoreParkedChild(3), 0);
  EXPECT_EQ(root->restoreParkedChild(0), 1);
  EXPECT_EQ(root->restoreParkedChild(99), 0);
  EXPECT_EQ(root->children()[2], nullptr);
  EXPECT_TRUE(std::filesystem::exists("3.xmltmp"));
  // The writer passes over the slots it cannot fill.
  EXPECT_EQ(xmltest::SavedText(document), "<?xml?>\r\n<r>\r\n\t<a/>\r\n\t<b>\r\n\t\t<c/>\r\n\t\t<d/>\r\n\t\t<e/>\r\n\t</b>\r\n</r>\r\n");
}

TEST(XmlParking, DeletingAParentRemovesParkedFiles) {
  xmltest::ScratchDirectory scratch;
  {
    XML document = Tree();
    Park(*document.root(), 0);
    Park(*document.root()->children()[1], 2);
    EXPECT_TRUE(std::filesystem::exists("0.xmltmp"));
    EXPECT_TRUE(std::filesystem::exists("1-2.xmltmp"));
  }
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

}  // namespace
