#include "XmlTestSupport.h"

#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;

// Writes child `index` of parent to its parked file as a document and empties
// its slot, as a user of the library parks a child.
void Park(XMLElement& parent, unsigned index) {
  std::string text = "<?xml?>";
  XMLWriteTarget target = XMLWriteTarget::memory(text);
  ASSERT_EQ(parent.children()[index]->write(target, 0, 1, 1), 1);
  xmltest::WriteFile(parent.parkedFileName(index), text);
  delete std::exchange(parent.children()[index], nullptr);
}

const char* const kTree = "<?xml?><r><a/><b><c/><d/><e/></b><f/><g/></r>";

TEST(XmlParking, NamesFilesAfterTheChainOfIndicesAndWritingRestoresThem) {
  xmltest::ScratchDirectory scratch;
  XML document(kTree, XML::kFromText);
  XMLElement* b = document.root()->children()[1];
  EXPECT_EQ(b->children()[0]->parkedFileName(123456), "1-0-123456.xmltmp");
  const std::string before = xmltest::SavedText(document);
  Park(*b, 1);
  EXPECT_TRUE(fs::exists("1-1.xmltmp"));
  Park(*document.root(), 1);
  EXPECT_TRUE(fs::exists("1.xmltmp"));

  EXPECT_EQ(xmltest::SavedText(document), before);
  ASSERT_NE(document.root()->children()[1], nullptr);
  EXPECT_EQ(document.root()->children()[1]->parent(), document.root());
  EXPECT_TRUE(fs::is_empty(scratch.path)) << "parked files were left behind";
}

TEST(XmlParking, MissingOrBrokenFilesLeaveTheSlotEmptyAndDeletingRemovesFiles) {
  xmltest::ScratchDirectory scratch;
  {
    XML document(kTree, XML::kFromText);
    XMLElement* root = document.root();
    Park(*root, 2);
    Park(*root, 3);
    Park(*root->children()[1], 0);
    fs::remove("2.xmltmp");
    xmltest::WriteFile("3.xmltmp", "<?xml?><g/><!--");  // the root is whole, the status 2
    EXPECT_EQ(root->restoreParkedChild(2), 0);
    EXPECT_EQ(root->restoreParkedChild(3), 0);
    EXPECT_EQ(root->restoreParkedChild(0), 1) << "a filled slot";
    EXPECT_EQ(root->restoreParkedChild(99), 0) << "no such slot";
    EXPECT_EQ(root->children()[2], nullptr);
    EXPECT_TRUE(fs::exists("3.xmltmp"));
    // The writer passes over the slots it cannot fill and restores the rest.
    EXPECT_EQ(xmltest::SavedText(document),
              "<?xml?>\r\n<r>\r\n\t<a/>\r\n\t<b>\r\n\t\t<c/>\r\n\t\t<d/>\r\n\t\t<e/>\r\n\t</b>\r\n</r>\r\n");
    Park(*root->children()[1], 2);
    EXPECT_TRUE(fs::exists("1-2.xmltmp"));
  }
  EXPECT_TRUE(fs::is_empty(scratch.path));
}

}  // namespace
