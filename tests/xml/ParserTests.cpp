#include "FileHazards.h"
#include "XmlTestSupport.h"

#include "xml/XMLFile.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

namespace {

using xmltest::Describe;

const std::string kDeclaration = "<?xml version=\"1.0\"?>";
// What Describe gives for the header of a text that starts with "<?xml?>".
const std::string kHead = "declaration [<?xml?>]\ndoctype []\n";
const std::string kDefaultHead =
    "declaration [\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>]\ndoctype []\n";

TEST(XmlLoad, StatusAndStructureOfSmallDocuments) {
  struct Case {
    const char* text;
    unsigned status;
    std::string described;
  };
  const Case cases[] = {
      {"<?xml?>\r\n<!-- before --><!DOCTYPE r [<!ENTITY e \"a>b\">]>\n<r/><!--after-->", kXmlLoaded,
       "declaration [<?xml?>]\ndoctype [DOCTYPE r [<!ENTITY e \"a>b\">]]\n"
       "header comment@0 [ before ]\nheader comment@1 [after]\n<r>\n"},
      {"<?xml?><?pi x?><!DOCTYPE r><r/>", kXmlLoaded,
       "declaration [<?xml?>]\ndoctype [DOCTYPE r]\nheader comment@0 [?pi x?]\n<r>\n"},
      // Without a declaration: the default one, and a later "?>" cuts nothing.
      {"<a x=\"1\"/>", kXmlNoDeclaration, kDefaultHead + "<a>\n  @x=[1]\n"},
      {"<a><?pi d>ata?><b>x?>y</b></a>", kXmlNoDeclaration,
       kDefaultHead + "<a>\n  comment@0 [?pi d>ata?]\n  <b>\n    content@0 [x?>y]\n"},
      {"<?xml?>", kXmlNoDeclaration, kHead + "<root>\n"},
      {"<?xml?><!--a--><!--b-->", kXmlLoaded, kHead + "header comment@0 [a]\nheader comment@0 [b]\n(none)\n"},
      // Contents, comments and CDATA between children; blanks alone make no content.
      {"<?xml?><r> one <!--c0--><a/>\n\t two <![CDATA[<x>]]> <b></b>three<!--c2-->\r\n \t</r>", kXmlLoaded,
       kHead + "<r>\n  comment@0 [c0]\n  comment@2 [c2]\n  content@0 [one]\n  content@1 [two]\n"
               "  content@2 [three]\n  cdata@1 [<x>]\n  <a>\n  <b>\n"},
      {"<?xml?><a><a><a/></a>x<a>y</a></a>", kXmlLoaded,
       kHead + "<a>\n  content@1 [x]\n  <a>\n    <a>\n  <a>\n    content@0 [y]\n"},
      // Either quote holds '/', '>' and the other quote; line breaks are blanks.
      {"<?xml?><r a = \"x/>y\"\r\n\tb='1/2' c='say \"hi\"'\n><k d=\"'\"/>it's</r>", kXmlLoaded,
       kHead + "<r>\n  @a=[x/>y]\n  @b=[1/2]\n  @c=[say &quot;hi&quot;]\n  content@1 [it's]\n  <k>\n    @d=[']\n"},
      // The top level keeps the last element with a body, else the first empty one.
      {"<?xml?><a></a><b>t</b><c/>", kXmlLoaded, kHead + "<b>\n  content@0 [t]\n"},
      {"<?xml?><a/><b/>", kXmlLoaded, kHead + "<a>\n"},
      // The root's own end tag is missing: no root.
      {"<?xml?><r><a></r>", kXmlMissingEnd, kHead + "(none)\n"},
  };
  for (const Case& c : cases) {
    XML document(c.text, XML::kFromText);
    EXPECT_EQ(document.status(), c.status) << c.text;
    EXPECT_EQ(Describe(document), c.described) << c.text;
  }
}

// Comments and processing instructions of a doctype's internal subset are
// passed over whole: quotes, brackets and '>' inside them are their own.
TEST(XmlLoad, DoctypeSubsetKeepsCommentsAndInstructionsWhole) {
  const char* pieces[] = {"<!-- it's -->", "<!-- say \"hi -->", "<!-- ] -->", "<!-- ]> -->",
                          "<?pi don't ?>", "<?pi ]> ?>",      "<!--a--><?b?>"};
  for (const char* piece : pieces) {
    const std::string doctype = std::string("DOCTYPE r [") + piece + "<!ENTITY e \"x\">" + piece + "]";
    XML document((kDeclaration + "<!" + doctype + "><r a=\"1\"/>").c_str(), XML::kFromText);
    EXPECT_EQ(document.status(), kXmlLoaded) << piece;
    EXPECT_EQ(std::string(document.header()->doctype()), doctype) << piece;
    EXPECT_EQ(xmltest::Value(document.root(), "a"), "1") << piece;
    XML again(xmltest::SavedText(document).c_str(), XML::kFromText);
    EXPECT_EQ(Describe(again), Describe(document)) << piece;
  }
  XML open((kDeclaration + "<!DOCTYPE r [<!-- ]> <r/>").c_str(), XML::kFromText);
  EXPECT_EQ(open.status(), kXmlMissingEnd) << "a comment without its end leaves the doctype open";
}

TEST(XmlLoad, BlanksAroundTheEqualsSignAreNotPartOfTheName) {
  for (const char* blanks : {" ", "\t", "\n", "\r\n", " \t\r\n "}) {
    const std::string text = kDeclaration + "<r" + blanks + "a" + blanks + "=" + blanks + "\"1\"" + blanks + "b" +
                             blanks + "='2'/>";
    XML document(text.c_str(), XML::kFromText);
    EXPECT_EQ(Describe(document.root()), "<r>\n  @a=[1]\n  @b=[2]\n") << text;
    EXPECT_EQ(xmltest::Value(document.root(), "a"), "1") << text;
    EXPECT_EQ(xmltest::SavedText(document), kDeclaration + "\r\n<r a=\"1\" b=\"2\"/>\r\n") << text;
  }
}

TEST(XmlLoad, MissingEndsGiveStatusTwo) {
  const char* bodies[] = {
      "<r>",           "<r><a></r>",      "<r><!-- open</r>",    "<r><![CDATA[ x </r>", "<r><?pi </r>",
      "<r a=\"x></r>", "<r a='x/></r>",   "<r><a b=\"></a></r>", "<r/><",               "<!DOCTYPE [ >",
      "<r></r><!--",   "<r><x y=\"1></r>",
  };
  for (const char* body : bodies) {
    XML document((kDeclaration + body).c_str(), XML::kFromText);
    EXPECT_EQ(document.status(), kXmlMissingEnd) << body;
  }
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

    XML again(xmltest::SavedText(document).c_str(), XML::kFromText);
    if (document.root() == nullptr && again.root() != nullptr) {
      // Nothing but a declaration was left to save: loading makes up a root.
      EXPECT_EQ(again.root()->storedName(), "root") << length;
      continue;
    }
    EXPECT_EQ(Describe(again), Describe(document)) << length;
  }
}

TEST(XmlLoad, RefusesNestingBeyondTheBound) {
  for (const unsigned depth : {kXmlMaxNestingDepth, kXmlMaxNestingDepth + 1, 100 * kXmlMaxNestingDepth}) {
    std::string text = kDeclaration;
    for (unsigned i = 0; i < 2 * depth; ++i) text += i < depth ? "<e>" : "</e>";
    XML document(text.c_str(), XML::kFromText);
    unsigned levels = 0;
    for (XMLElement* e = document.root(); e != nullptr; e = e->childCount() ? e->children()[0] : nullptr) ++levels;
    EXPECT_EQ(document.status(), depth > kXmlMaxNestingDepth ? kXmlMissingEnd : kXmlLoaded) << depth;
    // A cut document has no root, so it is never saved as if whole.
    EXPECT_EQ(document.root() == nullptr, depth > kXmlMaxNestingDepth) << depth;
    // Every level within the bound is kept; beyond it, never more than the bound.
    EXPECT_EQ(levels, depth > kXmlMaxNestingDepth ? std::min(levels, kXmlMaxNestingDepth) : depth) << depth;
  }
}

TEST(XmlLoad, ReadsUtf8AndUtf16FilesWithByteOrderMarks) {
  xmltest::ScratchDirectory scratch;
  const std::string value = "caf\xC3\xA9 \xF0\x9F\x98\x80";
  xmltest::WriteFile("utf8.xml", "\xEF\xBB\xBF<?xml?><r n=\"" + value + "\"/>");
  xmltest::WriteFile("utf16.xml", "\xFF\xFE" + xmltest::Utf16Le(u"<?xml?><r n=\"caf\u00E9 \U0001F600\"/>"));

  XML utf8File("utf8.xml"), utf16File("utf16.xml"), wideName(L"utf16.xml");
  for (const XML* document : {&utf8File, &utf16File, &wideName}) {
    EXPECT_EQ(document->status(), kXmlLoaded);
    EXPECT_EQ(std::string(document->header()->text()), "\xEF\xBB\xBF<?xml?>");
    EXPECT_EQ(xmltest::Value(document->root(), "n"), value);
  }
}

// A FIFO with no writer would hold a blocking open forever: the load must
// see it is no regular file without waiting, and the save refuse it.
TEST(XmlLoad, FifoIsRefusedWithoutWaitingForAWriter) {
  xmltest::ScratchDirectory scratch;
  ASSERT_EQ(mkfifo("Strings.xml", 0600), 0);
  for (const bool wide : {false, true}) {
    std::string described;
    int saved = -1;
    const bool blocked = testsupport::WaitedOnFifo("Strings.xml", [&] {
      XML document = wide ? XML(L"Strings.xml") : XML("Strings.xml");
      described = Describe(document);
      saved = document.save();
    });
    EXPECT_FALSE(blocked) << "the open waited for the other end (wide name: " << wide << ")";
    EXPECT_EQ(described, "declaration [<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>]\n"
                         "doctype []\n<root>\n");
    EXPECT_EQ(saved, 0);
  }
  EXPECT_TRUE(std::filesystem::is_fifo("Strings.xml"));
}

TEST(XmlLoad, UnreadableFilesGiveTheDefaultDocument) {
  xmltest::ScratchDirectory scratch;
  std::filesystem::create_directory("folder.xml");
  xmltest::WriteFile("huge.xml", "<?xml?><a/>");
  std::filesystem::resize_file("huge.xml", kXmlMaxFileBytes + 1);
  const std::string expected =
      "declaration [<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>]\ndoctype []\n<root>\n";
  // Only what is missing loads as a new document, which a save makes; what
  // is there but cannot be read says so and is never saved over.
  for (const char* name : {"missing.xml", "folder.xml", "/dev/zero", "", "huge.xml"}) {
    XML document(name);
    const bool missing = name == std::string("missing.xml") || *name == '\0';
    EXPECT_EQ(document.status(), missing ? kXmlLoaded : kXmlUnreadable) << name;
    EXPECT_EQ(Describe(document), expected) << name;
    EXPECT_EQ(document.save(), missing && *name ? 1 : 0) << name;
  }
  EXPECT_EQ(std::filesystem::file_size("huge.xml"), kXmlMaxFileBytes + 1);
  XML noText(nullptr, XML::kFromText);
  EXPECT_EQ(Describe(noText), expected);
}

}  // namespace
