#include "XmlTestSupport.h"

#include "xml/XMLContent.h"
#include "xml/XMLFile.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLVariable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using xmltest::Describe;

const std::string kDeclaration = "<?xml version=\"1.0\"?>";

std::string Value(XMLElement* element, const char* name) {
  XMLVariable* variable = element->findVariable(name);
  if (variable == nullptr) return "(missing)";
  char buffer[128];
  variable->copyValue(buffer, sizeof buffer, 1);
  return buffer;
}

TEST(XmlLoad, ReadsDeclarationDoctypeAndHeaderComments) {
  XML document((kDeclaration + "\r\n<!-- before --><!DOCTYPE r [<!ENTITY e \"a>b\">]>\n<r/><!--after-->").c_str(),
               XML::kFromText);
  EXPECT_EQ(document.status(), kXmlLoaded);
  EXPECT_STREQ(document.header()->text(), kDeclaration.c_str());
  EXPECT_STREQ(document.header()->doctype(), "DOCTYPE r [<!ENTITY e \"a>b\">]");
  ASSERT_EQ(document.header()->commentCount(), 2u);
  EXPECT_STREQ(document.header()->comments()[0]->text(), " before ");
  EXPECT_EQ(document.header()->comments()[0]->position(), 0u);
  EXPECT_STREQ(document.header()->comments()[1]->text(), "after");
  EXPECT_EQ(document.header()->comments()[1]->position(), 1u);
  ASSERT_NE(document.root(), nullptr);
  EXPECT_EQ(document.root()->storedName(), "r");
}

TEST(XmlLoad, WithoutDeclarationGivesStatusOneAndKeepsTheDocument) {
  XML bare("<a x=\"1\"/>", XML::kFromText);
  EXPECT_EQ(bare.status(), kXmlNoDeclaration);
  ASSERT_NE(bare.root(), nullptr);
  EXPECT_EQ(bare.root()->storedName(), "a");
  EXPECT_EQ(std::string(bare.header()->text()), "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>");

  // A "?>" further on is no declaration, and does not cut the text.
  XML later("<a><?pi data?><b>x?>y</b></a>", XML::kFromText);
  EXPECT_EQ(later.status(), kXmlNoDeclaration);
  ASSERT_NE(later.root(), nullptr);
  EXPECT_EQ(Describe(later.root()), "<a>\n  comment@0 [?pi data?]\n  <b>\n    content@0 [x?>y]\n");

  XML onlyDeclaration(kDeclaration.c_str(), XML::kFromText);
  EXPECT_EQ(onlyDeclaration.status(), kXmlNoDeclaration);
  ASSERT_NE(onlyDeclaration.root(), nullptr);
  EXPECT_EQ(onlyDeclaration.root()->storedName(), "root");

  XML onlyComments((kDeclaration + "<!--a--><!--b-->").c_str(), XML::kFromText);
  EXPECT_EQ(onlyComments.status(), kXmlLoaded);
  EXPECT_EQ(onlyComments.root(), nullptr);
}

TEST(XmlLoad, PutsTextCommentsAndCDataBetweenChildrenByPosition) {
  XML document((kDeclaration + "<r> one <!--c0--><a/>\n\t two <![CDATA[<x>]]> <b></b>three<!--c2-->\r\n \t</r>").c_str(),
               XML::kFromText);
  EXPECT_EQ(document.status(), kXmlLoaded);
  EXPECT_EQ(Describe(document.root()),
            "<r>\n"
            "  comment@0 [c0]\n  comment@2 [c2]\n"
            "  content@0 [one]\n  content@1 [two]\n  content@2 [three]\n"
            "  cdata@1 [<x>]\n"
            "  <a>\n  <b>\n");
}

TEST(XmlLoad, MatchesNestedElementsOfTheSameName) {
  XML document((kDeclaration + "<a><a><a/></a>x<a>y</a></a>").c_str(), XML::kFromText);
  EXPECT_EQ(document.status(), kXmlLoaded);
  EXPECT_EQ(Describe(document.root()), "<a>\n  content@1 [x]\n  <a>\n    <a>\n  <a>\n    content@0 [y]\n");
}

TEST(XmlLoad, QuotesInTagsHoldSlashesAndAngleBrackets) {
  XML document((kDeclaration + "<r a=\"x/>y\" b='1/2' c='say \"hi\"'><k d=\"'\"/>it's</r>").c_str(), XML::kFromText);
  EXPECT_EQ(document.status(), kXmlLoaded);
  XMLElement* root = document.root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Value(root, "a"), "x/>y");
  EXPECT_EQ(Value(root, "b"), "1/2");
  EXPECT_EQ(Value(root, "c"), "say &quot;hi&quot;");
  ASSERT_EQ(root->childCount(), 1u);
  EXPECT_EQ(Value(root->children()[0], "d"), "'");
  ASSERT_EQ(root->contentCount(), 1u);
  EXPECT_STREQ(root->contents()[0]->text(), "it's");
}

TEST(XmlLoad, AttributesOnSeveralLines) {
  XML document((kDeclaration + "<item\r\n\tid = \"7\"\n\tname=\"seven\"\n/>").c_str(), XML::kFromText);
  ASSERT_NE(document.root(), nullptr);
  EXPECT_EQ(document.root()->storedName(), "item");
  EXPECT_EQ(Value(document.root(), "id"), "7");
  EXPECT_EQ(Value(document.root(), "name"), "seven");
}

TEST(XmlLoad, MalformedTagsAreReadSoThatTheyWriteBackTheSame) {
  struct Case {
    const char* body;
    const char* saved;
  };
  const Case cases[] = {
      // Text before '=' holding a quote is no attribute.
      {"<r a\"b=\"1\" c=\"2\" \"/>", "<r c=\"2\"/>\r\n"},
      // References in names stay as written; a single quote becomes one.
      {"<a&#32;b&amp;c'd'/>", "<a&#32;b&amp;c&apos;d&apos;/>\r\n"},
      // A second '<' ends the name: no declaration comes of it.
      {"<<!x/>", "<>\r\n</>\r\n"},
      // A processing instruction holding "-->" stays one comment.
      {"<r><?p a-->b?></r>", "<r>\r\n\t<!--?p a-- >b?-->\r\n</r>\r\n"},
  };
  for (const Case& c : cases) {
    XML document((kDeclaration + c.body).c_str(), XML::kFromText);
    const std::string saved = xmltest::SavedText(document);
    EXPECT_EQ(saved, kDeclaration + "\r\n" + c.saved) << c.body;
    XML again(saved.c_str(), XML::kFromText);
    EXPECT_EQ(again.status(), kXmlLoaded) << c.body;
    EXPECT_EQ(xmltest::SavedText(again), saved) << c.body;
  }
  XML named((kDeclaration + "<a&#32;b/>").c_str(), XML::kFromText);
  char name[8];
  named.root()->copyName(name, sizeof name, 0);
  EXPECT_STREQ(name, "a b");
}

TEST(XmlLoad, TopLevelKeepsTheLastElementWithABody) {
  XML bodies((kDeclaration + "<a></a><b>t</b><c/>").c_str(), XML::kFromText);
  ASSERT_NE(bodies.root(), nullptr);
  EXPECT_EQ(bodies.root()->storedName(), "b");
  XML empties((kDeclaration + "<a/><b/>").c_str(), XML::kFromText);
  ASSERT_NE(empties.root(), nullptr);
  EXPECT_EQ(empties.root()->storedName(), "a");
}

TEST(XmlLoad, MissingEndsGiveStatusTwo) {
  const char* bodies[] = {
      "<r>",          "<r><a></r>",      "<r><!-- open</r>", "<r><![CDATA[ x </r>", "<r><?pi </r>",
      "<r a=\"x></r>", "<r a='x/></r>",   "<r><a b=\"></a></r>", "<r/><",          "<!DOCTYPE [ >",
      "<r></r><!--",  "<r><x y=\"1></r>",
  };
  for (const char* body : bodies) {
    XML document((kDeclaration + body).c_str(), XML::kFromText);
    EXPECT_EQ(document.status(), kXmlMissingEnd) << body;
  }
  // The root's own end tag went missing: there is no root.
  XML root((kDeclaration + "<r><a></r>").c_str(), XML::kFromText);
  EXPECT_EQ(root.root(), nullptr);
}

TEST(XmlLoad, EveryTruncationIsHandledCleanly) {
  const std::string full = kDeclaration +
                           "<!DOCTYPE r><!--c--><r a=\"1\" b='/>'><x>t<![CDATA[d]]></x><?p q?><y/></r><!--e-->";
  const std::size_t rootEnd = full.find("</r>") + 4;
  for (std::size_t length = 1; length < full.size(); ++length) {
    XML document(full.substr(0, length).c_str(), XML::kFromText);
    const bool rootKept = document.root() != nullptr && document.root()->storedName() == "r";
    EXPECT_EQ(rootKept, length >= rootEnd) << length;
    if (length < rootEnd && full[length - 1] != '>') {
      EXPECT_NE(document.status(), kXmlLoaded) << length;
    }

    const std::string text = xmltest::SavedText(document);
    XML again(text.c_str(), XML::kFromText);
    if (document.root() == nullptr && again.root() != nullptr) {
      // Nothing but a declaration was left to save: loading makes up a root.
      EXPECT_EQ(again.status(), kXmlNoDeclaration) << length;
      EXPECT_EQ(again.root()->storedName(), "root") << length;
      continue;
    }
    EXPECT_EQ(Describe(again), Describe(document)) << length;
  }
}

TEST(XmlLoad, RefusesNestingBeyondTheBound) {
  auto nested = [](unsigned depth) {
    std::string text = kDeclaration;
    for (unsigned i = 0; i < depth; ++i) text += "<e>";
    for (unsigned i = 0; i < depth; ++i) text += "</e>";
    return text;
  };
  XML deepest(nested(kXmlMaxNestingDepth).c_str(), XML::kFromText);
  EXPECT_EQ(deepest.status(), kXmlLoaded);
  XMLElement* element = deepest.root();
  unsigned levels = 0;
  for (; element != nullptr; element = element->childCount() ? element->children()[0] : nullptr) ++levels;
  EXPECT_EQ(levels, kXmlMaxNestingDepth);

  XML tooDeep(nested(kXmlMaxNestingDepth + 1).c_str(), XML::kFromText);
  EXPECT_EQ(tooDeep.status(), kXmlMissingEnd);
  XML farTooDeep(nested(100 * kXmlMaxNestingDepth).c_str(), XML::kFromText);
  EXPECT_EQ(farTooDeep.status(), kXmlMissingEnd);
}

TEST(XmlLoad, ReadsUtf8AndUtf16FilesWithByteOrderMarks) {
  xmltest::ScratchDirectory scratch;
  const std::string text = "<?xml?><r n=\"caf\xC3\xA9 \xF0\x9F\x98\x80\"/>";
  xmltest::WriteFile("utf8.xml", "\xEF\xBB\xBF" + text);
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("<?xml?><r n=\"caf")) utf16 += std::string{c, '\0'};
  utf16 += std::string("\xE9\0 \0\x3D\xD8\x00\xDE\"\0/\0>\0", 14);

  xmltest::WriteFile("utf16.xml", utf16);
  for (const char* name : {"utf8.xml", "utf16.xml"}) {
    XML document(name);
    EXPECT_EQ(document.status(), kXmlLoaded) << name;
    EXPECT_EQ(std::string(document.header()->text()), "\xEF\xBB\xBF<?xml?>") << name;
    ASSERT_NE(document.root(), nullptr) << name;
    EXPECT_EQ(Value(document.root(), "n"), "caf\xC3\xA9 \xF0\x9F\x98\x80") << name;
  }
  XML wide(L"utf16.xml");
  ASSERT_NE(wide.root(), nullptr);
  EXPECT_EQ(Value(wide.root(), "n"), "caf\xC3\xA9 \xF0\x9F\x98\x80");
}

TEST(XmlLoad, UnreadableFilesGiveTheDefaultDocument) {
  xmltest::ScratchDirectory scratch;
  std::filesystem::create_directory("folder.xml");
  xmltest::WriteFile("huge.xml", "<?xml?><a/>");
  std::filesystem::resize_file("huge.xml", kXmlMaxFileBytes + 1);
  for (const char* name : {"missing.xml", "folder.xml", "/dev/zero", "", "huge.xml"}) {
    XML document(name);
    EXPECT_EQ(document.status(), kXmlLoaded) << name;
    ASSERT_NE(document.root(), nullptr) << name;
    EXPECT_EQ(document.root()->storedName(), "root") << name;
    EXPECT_EQ(document.root()->childCount(), 0u) << name;
  }
  XML noText(nullptr, XML::kFromText);
  ASSERT_NE(noText.root(), nullptr);
  EXPECT_EQ(noText.root()->storedName(), "root");
  XML otherMode("<?xml?><a/>", 2);
  ASSERT_NE(otherMode.root(), nullptr);
  EXPECT_EQ(otherMode.root()->storedName(), "root");
}

}  // namespace
