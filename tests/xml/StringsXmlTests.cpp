// The editor names moveables from data/Strings.xml: the root's fifth child,
// that one's second child, then the child at the moveable's object id, whose
// "name" attribute goes into a 32-byte buffer.

#include "XmlTestSupport.h"

#include "SharedData.h"
#include "xml/XMLVariable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <map>
#include <string>

namespace {

constexpr std::size_t kNameBufferSize = 32;

// The lookup as the editor does it, with a check at every step.
std::string DisplayName(XML& strings, unsigned objectId) {
  XMLElement* element = strings.root();
  for (const unsigned index : {4u, 1u, objectId}) {
    if (element == nullptr || index >= element->childCount()) return "";
    element = element->children()[index];
  }
  const XMLVariable* name = element == nullptr ? nullptr : element->findVariable("name");
  if (name == nullptr) return "";
  char buffer[kNameBufferSize];
  name->copyValue(buffer, sizeof buffer, 0);
  return buffer;
}

TEST(StringsXml, GivesTheNameOfEveryObjectIdInTheTable) {
  SKIP_WITHOUT_SHARED("data/tr4-object-names.tsv");
  std::map<unsigned, std::string> names;
  std::ifstream table(testsupport::SharedPath("data/tr4-object-names.tsv"));
  table.ignore(std::numeric_limits<std::streamsize>::max(), '\n');  // header
  unsigned id = 0;
  for (std::string name; table >> id && std::getline(table >> std::ws, name);) names[id] = name;
  ASSERT_TRUE(names.contains(0) && names.contains(1));

  XML strings(WAD_STRINGS_XML);
  ASSERT_EQ(strings.status(), kXmlLoaded);
  const unsigned largest = names.rbegin()->first;
  for (id = 0; id <= largest + 1; ++id) {
    const auto named = names.find(id);
    EXPECT_EQ(DisplayName(strings, id), named == names.end() ? "" : named->second) << id;
  }
  EXPECT_EQ(DisplayName(strings, 0xFFFF), "");
}

TEST(StringsXml, LoadSaveLoadKeepsTheWholeFile) {
  XML strings(WAD_STRINGS_XML);
  ASSERT_EQ(strings.status(), kXmlLoaded);
  XML reloaded(xmltest::SavedText(strings).c_str(), XML::kFromText);
  EXPECT_EQ(xmltest::Describe(reloaded), xmltest::Describe(strings));
}

TEST(StringsXml, IncompleteFilesAndLongNamesGiveCleanResults) {
  xmltest::ScratchDirectory scratch;
  XML missing("Strings.xml");
  EXPECT_EQ(DisplayName(missing, 0), "");

  const std::string head = "<?xml?><s><a/><b/><c/><d/><o><x/><m>";
  // 30 ASCII letters, then a 3-byte character that does not fit whole.
  const std::string accented = std::string(30, 'a') + "\xE2\x82\xAC" + "tail";
  const std::pair<std::string, std::string> cases[] = {
      {"<?xml?><s><a/><b/><c/><d/><objects><statics/></objects></s>", ""},
      {head + "<v id=\"0\"/></m></o></s>", ""},
      {"<?xml?><s><a>", ""},
      {head + "<v name=\"" + std::string(40, 'N') + "\"/></m></o></s>", std::string(kNameBufferSize - 1, 'N')},
      {head + "<v name=\"" + accented + "\"/></m></o></s>", std::string(30, 'a')},
  };
  for (const auto& [text, name] : cases) {
    XML strings(text.c_str(), XML::kFromText);
    EXPECT_EQ(DisplayName(strings, 0), name) << text;
  }
}

}  // namespace
