#include "xml/XML.h"
#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The keys below `key` as indented lines, values (name=[text]) before keys;
// a value that is not a terminated REG_SZ string shows as name=(bad).
std::string Render(const RegistryKeyCopy& key, const std::string& indent = "") {
  std::string text;
  for (const RegistryValueCopy& value : key.values) {
    const bool string = value.type == REG_SZ && !value.data.empty() && value.data.back() == 0;
    text += indent + value.name + "=" +
            (string ? "[" + std::string(value.data.begin(), value.data.end() - 1) + "]" : "(bad)") + "\n";
  }
  for (const RegistryKeyCopy& child : key.keys) text += indent + child.name + "\n" + Render(child, indent + "  ");
  return text;
}

// Exports a document's root below a fresh key; the result of the write and
// the tree it made.
std::pair<int, std::string> Export(const std::string& text, int raw) {
  RegistryDeleteAll();
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Export", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  XML document(text.c_str(), XML::kFromText);
  XMLWriteTarget target = XMLWriteTarget::registry(key);
  const int result = document.root()->writeWithHeader(target, 1, raw, document.header());
  const std::string tree = Render(RegistryReadTree(key));
  RegCloseKey(key);
  RegistryDeleteAll();
  return {result, tree};
}

TEST(RegistryExport, WritesKeysForElementsAndStringValuesForTheRest) {
  // The CDATA section has index 0 like the first content and, written after
  // it, replaces it.
  EXPECT_EQ(Export("<?xml?><r a=\"1\"><a x=\"&lt;\"/><!--note--><b>one<![CDATA[cd]]><k/>two</b></r>", 0),
            std::make_pair(1, std::string("E0r\n  Va=[1]\n  C0=[note]\n  E0a\n    Vx=[<]\n  E1b\n    D0=[cd]\n"
                                          "    D1=[two]\n    E0k\n")));
}

TEST(RegistryExport, KeyThatCannotBeMadeSkipsItsSubtreeAndFails) {
  const std::string longName(kRegistryMaxKeyNameLength, 'n');
  EXPECT_EQ(Export("<?xml?><r><" + longName + " v=\"1\"><c/></" + longName + "><ok/></r>", 1),
            std::make_pair(0, std::string("E0r\n  E1ok\n")));
}

// Each sibling's key name carries its index, and the registry finds a key by
// name among its many siblings; both in time independent of the number of
// siblings, so a wide element exports quickly (a benchmark measures it).
TEST(RegistryExport, ManySiblingsEachGetTheirOwnKeyInOrder) {
  constexpr unsigned kSiblings = 20000;
  std::string text = "<?xml?><r>";
  for (unsigned i = 0; i < kSiblings; ++i) text += i % 2 ? "<b v=\"" + std::to_string(i) + "\"/>" : "<A/>";
  XML document((text + "</r>").c_str(), XML::kFromText);
  RegistryDeleteAll();
  XMLWriteTarget target = XMLWriteTarget::registry(HKEY_CURRENT_USER);
  ASSERT_EQ(document.root()->write(target, 0, 1, 1), 1);
  const RegistryKeyCopy tree = RegistryReadTree(HKEY_CURRENT_USER);
  RegistryDeleteAll();
  ASSERT_EQ(tree.keys.size(), 1u);
  const std::vector<RegistryKeyCopy>& keys = tree.keys[0].keys;
  ASSERT_EQ(keys.size(), kSiblings);
  for (unsigned i = 0; i < kSiblings; ++i) {
    ASSERT_EQ(keys[i].name, "E" + std::to_string(i) + (i % 2 ? "b" : "A")) << i;
    if (i % 2) {
      ASSERT_EQ(Render(keys[i]), "Vv=[" + std::to_string(i) + "]\n") << i;
    }
  }
}

}  // namespace
