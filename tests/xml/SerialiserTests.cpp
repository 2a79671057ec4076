#include "XmlTestSupport.h"

#include "xml/XMLContent.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLTransform.h"
#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace {

using xmltest::Describe;
using xmltest::ReadFile;
using xmltest::SavedText;

// Flips every byte; encoding can be told to claim more room than it had.
struct FlipTransform : XMLTransform {
  bool overflow = false;
  std::size_t encode(const char* input, std::size_t length, char* output, std::size_t capacity, void*) override {
    return overflow ? capacity + 1 : decode(input, length, output, capacity, nullptr);
  }
  std::size_t decode(const char* input, std::size_t length, char* output, std::size_t capacity, void*) override {
    for (std::size_t i = 0; i < length && i < capacity; ++i) output[i] = static_cast<char>(~input[i]);
    return length;
  }
};

TEST(XmlSave, WritesIndentedLinesEndedByCrLf) {
  const std::pair<const char*, const char*> cases[] = {
      {"<?xml?><a b=\"1\"/>", "<?xml?>\r\n<a b=\"1\"/>\r\n"},
      {"<?xml?><a><b><c/></b></a>", "<?xml?>\r\n<a>\r\n\t<b>\r\n\t\t<c/>\r\n\t</b>\r\n</a>\r\n"},
      {"<?xml?><!DOCTYPE r><!--c--><r/><!--e-->", "<?xml?>\r\n<!DOCTYPE r>\r\n<!--c-->\r\n<r/>\r\n<!--e-->\r\n"},
      {"<?xml?><r a=\"x&lt;y\">t&amp;u</r>", "<?xml?>\r\n<r a=\"x&lt;y\">\r\n\tt&amp;u\r\n</r>\r\n"},
  };
  for (const auto& [text, saved] : cases) EXPECT_EQ(SavedText(text), saved) << text;
  EXPECT_EQ(SavedText("<?xml?><r a=\"x&lt;y\">t&amp;u</r>", 0), "<?xml?>\r\n<r a=\"x<y\">\r\n\tt&u\r\n</r>\r\n");

  XML document("<?xml?><a/>", XML::kFromText);
  std::string text = "before\n";
  EXPECT_EQ(document.saveToMemory(text), 1);
  EXPECT_EQ(text, "before\n<?xml?>\r\n<a/>\r\n") << "the memory target appends";
}

TEST(XmlSave, PutsCommentsContentsAndCDataBackByPosition) {
  XMLElement root(nullptr, "<r/>");
  root.addChild(new XMLElement(nullptr, "<c0/>"));
  root.addChild(new XMLElement(nullptr, "<c1/>"));
  root.addComment(new XMLComment(nullptr, 0, "x"), 0);
  root.addContent(new XMLContent(nullptr, 0, "t"), 1);
  root.addCData(new XMLCData(nullptr, 0, "d"), 1);
  root.addComment(new XMLComment(nullptr, 0, "z"), 2);
  root.addContent(new XMLContent(nullptr, 0, "late"), 7);
  std::string text;
  XMLWriteTarget target = XMLWriteTarget::memory(text);
  EXPECT_EQ(root.write(target, 0, 1, 1), 1);
  EXPECT_EQ(text,
            "<r>\r\n\t<!--x-->\r\n\t<c0/>\r\n\tt\r\n\t<![CDATA[d]]>\r\n\t<c1/>\r\n\t<!--z-->\r\n\tlate\r\n</r>\r\n");
  // Without children everything is left over: comments, CDATA, contents.
  text.clear();
  EXPECT_EQ(root.write(target, 1, 0, 1), 1);
  EXPECT_EQ(text, "\t<r>\r\n\t\t<!--x-->\r\n\t\t<!--z-->\r\n\t\t<![CDATA[d]]>\r\n\t\tt\r\n\t\tlate\r\n\t</r>\r\n");
}

TEST(XmlSave, Utf16FileHasOneByteOrderMarkAndLittleEndianUnits) {
  xmltest::ScratchDirectory scratch;
  XML document("<a n=\"\xC3\xA9\xF0\x9F\x98\x80\"/>", XML::kFromText);
  ASSERT_EQ(document.save("out.xml", 1, XMLWriteTarget::kUtf16File), 1);
  // Without a declaration the document gets the default one.
  const std::string expected =
      "\xFF\xFE" + xmltest::Utf16Le(u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n"
                                   u"<a n=\"\u00E9\U0001F600\"/>\r\n");
  EXPECT_EQ(ReadFile("out.xml"), expected);

  // The header read back begins with a UTF-8 byte-order mark; saving it back
  // to its own (wide-named) file still writes one mark.
  XML reread(L"out.xml");
  EXPECT_EQ(Describe(reread.root()), Describe(document.root()));
  ASSERT_EQ(reread.save(nullptr, 1, XMLWriteTarget::kUtf16File), 1);
  EXPECT_EQ(ReadFile("out.xml"), expected);
}

TEST(XmlSave, ReportsEveryFailure) {
  xmltest::ScratchDirectory scratch;
  XML document("<?xml?><a/>", XML::kFromText);
  EXPECT_EQ(document.save(), 0) << "a document from memory has no file";
  EXPECT_EQ(document.save("/dev/full"), 0) << "a full device must not count as saved";
  EXPECT_EQ(document.save("no/such/folder.xml"), 0);
  xmltest::WriteFile("bare.xml", "<a/>");
  EXPECT_EQ(XML("bare.xml").save(), 0) << "a made-up declaration is not saved over its file";
  EXPECT_EQ(ReadFile("bare.xml"), "<a/>");
  EXPECT_EQ(document.save("memory.xml", 1, XMLWriteTarget::kMemory), 0);
  EXPECT_EQ(document.save("registry.xml", 1, XMLWriteTarget::kRegistry), 0);
  FlipTransform flip;
  EXPECT_EQ(document.save("utf16.xml", 1, XMLWriteTarget::kUtf16File, &flip), 0);
  flip.overflow = true;
  std::string overflowed;
  EXPECT_EQ(document.saveToMemory(overflowed, 1, &flip), 0);
  EXPECT_EQ(document.save("overflow.xml", 1, 0, &flip), 0);
  for (const char* refused : {"memory.xml", "registry.xml", "utf16.xml"})
    EXPECT_FALSE(std::filesystem::exists(refused)) << refused;
}

// A document without a root (its end tag missing, or only comments) would be
// written as a declaration alone: every save refuses it before it opens the
// file, which stays as it was.
TEST(XmlSave, DocumentWithoutRootIsRefusedAndTheFileKept) {
  xmltest::ScratchDirectory scratch;
  for (const std::string text : {"<?xml?><!--c--><r><a/>", "<?xml?><!--only a comment-->"}) {
    xmltest::WriteFile("doc.xml", text);
    XML document("doc.xml");
    ASSERT_EQ(document.root(), nullptr) << text;
    for (const int kind : {XMLWriteTarget::kFile, XMLWriteTarget::kUtf16File}) {
      EXPECT_EQ(document.save(nullptr, 1, kind), 0) << text;
      EXPECT_EQ(ReadFile("doc.xml"), text);
      EXPECT_EQ(document.save("new.xml", 1, kind), 0) << text;
      EXPECT_FALSE(std::filesystem::exists("new.xml")) << text;
    }
    std::string memory = "kept";
    EXPECT_EQ(document.saveToMemory(memory), 0) << text;
    char buffer[256] = "kept";
    EXPECT_EQ(document.save(std::span(buffer)), 0) << text;
    EXPECT_EQ(memory + buffer, "keptkept");
  }
}

// Kind 1 appends to the text in a buffer, as a whole or not at all.
TEST(XmlSave, KindOneAppendsToABufferThatHoldsTheWholeText) {
  XML document("<?xml?><a b=\"x&lt;\">t</a>", XML::kFromText);
  const std::string expected = "before" + SavedText(document);
  std::string fits = "before";
  fits.resize(expected.size() + 1, '\0');
  const std::string small = fits.substr(0, expected.size());
  EXPECT_EQ(document.save(std::span(fits), 1, XMLWriteTarget::kMemory), 1);
  EXPECT_EQ(fits, expected + '\0');
  for (std::string refused : {small, std::string(100, 'x')}) {
    const std::string before = refused;
    EXPECT_EQ(document.save(std::span(refused)), 0) << "no room for the terminator, or no text to append to";
    EXPECT_EQ(refused, before);
  }
  EXPECT_EQ(document.save(std::span<char>()), 0);
  EXPECT_EQ(document.save(std::span(fits), 1, XMLWriteTarget::kRegistry), 0);
}

TEST(XmlSave, TransformEncodesTheWholeTextAndDecodesOnLoad) {
  xmltest::ScratchDirectory scratch;
  FlipTransform flip;
  XML document("<?xml?><a><b c=\"d\"/></a>", XML::kFromText);
  ASSERT_EQ(document.save("flipped.xml", 1, 0, &flip), 1);
  std::string inMemory;
  ASSERT_EQ(document.saveToMemory(inMemory, 1, &flip), 1);
  for (std::string flipped : {ReadFile("flipped.xml"), inMemory}) {
    for (char& c : flipped) c = static_cast<char>(~c);
    EXPECT_EQ(flipped, SavedText(document));
  }

  XML reread("flipped.xml", XML::kFromFile, &flip);
  EXPECT_EQ(Describe(reread), Describe(document));
  EXPECT_EQ(reread.save(), 0) << "a transformed load forgets its file";

  // Decoded UTF-16 holds zero bytes; the text is cut only after the mark
  // has turned it into UTF-8 (and then at its first zero unit).
  std::string utf16 = "\xFF\xFE" + xmltest::Utf16Le(u"<?xml?><a><b c=\"d\u00E9\"/></a>") + std::string(2, '\0') +
                      xmltest::Utf16Le(u"<x/>");
  for (char& c : utf16) c = static_cast<char>(~c);
  xmltest::WriteFile("utf16.xml", utf16);
  XML wide("utf16.xml", XML::kFromFile, &flip);
  EXPECT_EQ(wide.status(), kXmlLoaded);
  EXPECT_EQ(Describe(wide.root()), "<a>\n  <b>\n    @c=[d\xC3\xA9]\n");
}

TEST(XmlSave, LoadSaveLoadKeepsEveryPart) {
  const char* documents[] = {
      "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY e \"x\">]>\n<!--head--><r a=\"1\" b='x\"y'>\n"
      "  text &amp; more<!--c--><x><![CDATA[ <raw> ]]></x>tail<?pi x?><y z=\"&#233;\"/>\n</r>\n<!--tail-->",
      "<a><b><c>deep</c></b>between<b/></a>",
      "<?xml?><r>&lt;&#x41;&amp;</r>",
      "<?xml?><r><a>1</a><a>2</a><!--x--><!--y--><a>3</a>t1<![CDATA[d1]]><![CDATA[d2]]></r>",
      "<?xml?><r&amp;s q&amp;=\"v\"/>",
      // Malformed tags must be read so that they write back the same.
      "<?xml?><r a\"b=\"1\" c=\"2\" \"/>",
      "<?xml?><a&#32;b&amp;c'd'/>",
      "<?xml?><<!x/>",
      "<?xml?><r><?p a-->b?></r>",
  };
  for (const char* text : documents) {
    XML first(text, XML::kFromText);
    const std::string saved = SavedText(first);
    XML second(saved.c_str(), XML::kFromText);
    EXPECT_EQ(second.status(), kXmlLoaded) << text;
    EXPECT_EQ(Describe(second.root()), Describe(first.root())) << text;
    EXPECT_EQ(SavedText(second), saved) << text;
  }
}

}  // namespace
