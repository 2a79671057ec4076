#include "xml/XML.h"
#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The string data of a REG_SZ value, without its terminator ("(absent)"
// when there is no such value).
std::string StringValue(const RegistryKeyCopy& key, const std::string& name) {
  for (const RegistryValueCopy& value : key.values) {
    if (value.name != name) continue;
    EXPECT_EQ(value.type, REG_SZ) << name;
    EXPECT_FALSE(value.data.empty()) << name;
    EXPECT_EQ(value.data.back(), 0) << name << " has no terminator";
    return std::string(value.data.begin(), value.data.end() - 1);
  }
  return "(absent)";
}

// Exports a document's root below a fresh key and reads the tree back.
class RegistryExport : public ::testing::Test {
 protected:
  void SetUp() override {
    RegistryDeleteAll();
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Export", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegistryDeleteAll();
  }

  int Export(const char* text, int raw = 1) {
    XML document(text, XML::kFromText);
    XMLWriteTarget target = XMLWriteTarget::registry(key_);
    return document.root()->writeWithHeader(target, 1, raw, document.header());
  }
  RegistryKeyCopy Tree() const { return RegistryReadTree(key_); }

  HKEY key_ = nullptr;
};

TEST_F(RegistryExport, WritesAKeyPerElementAndAValuePerAttribute) {
  EXPECT_EQ(Export("<?xml?><r a=\"1\"/>"), 1);
  const RegistryKeyCopy tree = Tree();
  ASSERT_EQ(tree.keys.size(), 1u);
  EXPECT_EQ(tree.keys[0].name, "E0r");
  ASSERT_EQ(tree.keys[0].values.size(), 1u);
  EXPECT_EQ(StringValue(tree.keys[0], "Va"), "1");
  EXPECT_TRUE(tree.keys[0].keys.empty());
}

TEST_F(RegistryExport, NamesChildrenByIndexAndTextsByKind) {
  EXPECT_EQ(Export("<?xml?><r><a x=\"&lt;\"/><!--note--><b>one<![CDATA[cd]]><k/>two</b></r>", 0), 1);
  const RegistryKeyCopy tree = Tree();
  ASSERT_EQ(tree.keys.size(), 1u);
  const RegistryKeyCopy& root = tree.keys[0];
  EXPECT_EQ(StringValue(root, "C0"), "note");
  ASSERT_EQ(root.keys.size(), 2u);
  EXPECT_EQ(root.keys[0].name, "E0a");
  EXPECT_EQ(StringValue(root.keys[0], "Vx"), "<");
  EXPECT_EQ(root.keys[1].name, "E1b");
  ASSERT_EQ(root.keys[1].keys.size(), 1u);
  EXPECT_EQ(root.keys[1].keys[0].name, "E0k");
  // The CDATA section has index 0 like the first content and, written after
  // it, replaces it.
  EXPECT_EQ(StringValue(root.keys[1], "D0"), "cd");
  EXPECT_EQ(StringValue(root.keys[1], "D1"), "two");
}

TEST_F(RegistryExport, KeyThatCannotBeMadeSkipsItsSubtreeAndFails) {
  const std::string longName(kRegistryMaxKeyNameLength, 'n');
  const std::string text = "<?xml?><r><" + longName + " v=\"1\"><c/></" + longName + "><ok/></r>";
  EXPECT_EQ(Export(text.c_str()), 0);
  const RegistryKeyCopy tree = Tree();
  ASSERT_EQ(tree.keys.size(), 1u);
  ASSERT_EQ(tree.keys[0].keys.size(), 1u);
  EXPECT_EQ(tree.keys[0].keys[0].name, "E1ok");
}

TEST_F(RegistryExport, SaveRefusesTheRegistryKind) {
  XML document("<?xml?><r/>", XML::kFromText);
  EXPECT_EQ(document.save("ignored.xml", 1, XMLWriteTarget::kRegistry), 0);
  EXPECT_TRUE(Tree().keys.empty());
}

}  // namespace
