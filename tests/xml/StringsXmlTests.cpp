// The editor names moveables from data/Strings.xml: the root's fifth child,
// that one's second child, then the child at the moveable's object id, whose
// "name" attribute goes into a 32-byte buffer.

#include "XmlTestSupport.h"

#include "SharedData.h"
#include "xml/XMLVariable.h"

#include <gtest/gtest.h>

#include <fstream>
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
  if (element == nullptr) return "";
  const XMLVariable* name = element->findVariable("name");
  if (name == nullptr) return "";
  char buffer[kNameBufferSize];
  name->copyValue(buffer, sizeof buffer, 0);
  return buffer;
}

std::map<unsigned, std::string> ObjectNames() {
  std::map<unsigned, std::string> names;
  std::ifstream table(testsupport::SharedPath("data/tr4-object-names.tsv"));
  std::string line;
  std::getline(table, line);  // header
  while (std::getline(table, line)) {
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) names[static_cast<unsigned>(std::stoul(line.substr(0, tab)))] = line.substr(tab + 1);
  }
  return names;
}

TEST(StringsXml, GivesTheNameOfEveryObjectId) {
  SKIP_WITHOUT_SHARED("data/tr4-object-names.tsv");
  const std::map<unsigned, std::string> names = ObjectNames();
  ASSERT_FALSE(names.empty());
  XML strings(WAD_STRINGS_XML);
  ASSERT_EQ(strings.status(), kXmlLoaded);
  const unsigned largest = names.rbegin()->first;
  EXPECT_EQ(DisplayName(strings, 0), names.at(0));
  EXPECT_EQ(DisplayName(strings, 1), names.at(1));
  EXPECT_EQ(DisplayName(strings, largest), names.at(largest));
  for (unsigned id = 0; id <= largest; ++id) {
    const auto named = names.find(id);
    EXPECT_EQ(DisplayName(strings, id), named == names.end() ? "" : named->second) << id;
  }
  EXPECT_EQ(DisplayName(strings, largest + 1), "");
  EXPECT_EQ(DisplayName(strings, 0xFFFF), "");
}

TEST(StringsXml, LoadSaveLoadKeepsTheWholeFile) {
  XML strings(WAD_STRINGS_XML);
  ASSERT_EQ(strings.status(), kXmlLoaded);
  const std::string saved = xmltest::SavedText(strings);
  XML reloaded(saved.c_str(), XML::kFromText);
  EXPECT_EQ(xmltest::Describe(reloaded), xmltest::Describe(strings));
}

TEST(StringsXml, IncompleteFilesGiveEmptyNames) {
  xmltest::ScratchDirectory scratch;
  XML missing("Strings.xml");
  EXPECT_EQ(DisplayName(missing, 0), "");

  XML shortPath("<?xml?><s><a/><b/><c/><d/><objects><statics/></objects></s>", XML::kFromText);
  EXPECT_EQ(DisplayName(shortPath, 0), "");

  XML noAttribute("<?xml?><s><a/><b/><c/><d/><o><x/><m><moveable id=\"0\"/></m></o></s>", XML::kFromText);
  EXPECT_EQ(DisplayName(noAttribute, 0), "");

  XML noRoot("<?xml?><s><a>", XML::kFromText);
  EXPECT_EQ(noRoot.root(), nullptr);
  EXPECT_EQ(DisplayName(noRoot, 0), "");
}

TEST(StringsXml, LongNamesAreCutToTheBuffer) {
  const std::string ascii(40, 'N');
  // 30 ASCII letters, then a 3-byte character that does not fit whole.
  const std::string accented = std::string(30, 'a') + "\xE2\x82\xAC" + "tail";
  const std::string text = "<?xml?><s><a/><b/><c/><d/><o><x/><m><v name=\"" + ascii + "\"/><v name=\"" + accented +
                           "\"/></m></o></s>";
  XML strings(text.c_str(), XML::kFromText);
  EXPECT_EQ(DisplayName(strings, 0), ascii.substr(0, kNameBufferSize - 1));
  EXPECT_EQ(DisplayName(strings, 1), std::string(30, 'a'));
  char buffer[kNameBufferSize];
  EXPECT_EQ(strings.root()->children()[4]->children()[1]->children()[0]->findVariable("name")->copyValue(
                buffer, sizeof buffer, 0),
            ascii.size());
}

}  // namespace
