#include "XmlTestSupport.h"

#include "xml/XMLContent.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLTransform.h"
#include "xml/XMLVariable.h"
#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using xmltest::Describe;
using xmltest::SavedText;

std::string Saved(const char* text, int raw = 1) {
  XML document(text, XML::kFromText);
  return SavedText(document, raw);
}

// Little-endian bytes of UTF-16 text.
std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Flips every byte; encoding can be told to claim more room than it had.
class FlipTransform : public XMLTransform {
 public:
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
  EXPECT_EQ(Saved("<?xml?><a b=\"1\"/>"), "<?xml?>\r\n<a b=\"1\"/>\r\n");
  EXPECT_EQ(Saved("<?xml?><a><b><c/></b></a>"), "<?xml?>\r\n<a>\r\n\t<b>\r\n\t\t<c/>\r\n\t</b>\r\n</a>\r\n");
  EXPECT_EQ(Saved("<?xml?><!DOCTYPE r><!--c--><r/><!--e-->"), "<?xml?>\r\n<!DOCTYPE r>\r\n<!--c-->\r\n<r/>\r\n<!--e-->\r\n");
  EXPECT_EQ(Saved("<?xml?><r a=\"x&lt;y\">t&amp;u</r>", 1), "<?xml?>\r\n<r a=\"x&lt;y\">\r\n\tt&amp;u\r\n</r>\r\n");
  EXPECT_EQ(Saved("<?xml?><r a=\"x&lt;y\">t&amp;u</r>", 0), "<?xml?>\r\n<r a=\"x<y\">\r\n\tt&u\r\n</r>\r\n");
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
  XMLWriteTarget again = XMLWriteTarget::memory(text);
  root.write(again, 1, 0, 1);
  EXPECT_EQ(text, "\t<r>\r\n\t\t<!--x-->\r\n\t\t<!--z-->\r\n\t\t<![CDATA[d]]>\r\n\t\tt\r\n\t\tlate\r\n\t</r>\r\n");
}

TEST(XmlSave, MemoryTargetAppends) {
  XML document("<?xml?><a/>", XML::kFromText);
  std::string text = "before\n";
  EXPECT_EQ(document.saveToMemory(text), 1);
  EXPECT_EQ(text, "before\n<?xml?>\r\n<a/>\r\n");
}

TEST(XmlSave, Utf16FileHasOneByteOrderMarkAndLittleEndianUnits) {
  xmltest::ScratchDirectory scratch;
  // Without a declaration the header carries a UTF-8 byte-order mark.
  XML document("<a n=\"\xC3\xA9\xF0\x9F\x98\x80\"/>", XML::kFromText);
  ASSERT_EQ(document.save("out.xml", 1, 3), 1);
  const std::u16string expected =
      u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n<a n=\"\u00E9\U0001F600\"/>\r\n";
  EXPECT_EQ(xmltest::ReadFile("out.xml"), "\xFF\xFE" + Utf16Le(expected));

  XML reread("out.xml");
  EXPECT_EQ(reread.status(), kXmlLoaded);
  EXPECT_EQ(Describe(reread.root()), Describe(document.root()));
  ASSERT_EQ(reread.save(nullptr, 1, 3), 1);
  EXPECT_EQ(xmltest::ReadFile("out.xml"), "\xFF\xFE" + Utf16Le(expected));
}

TEST(XmlSave, SavesBackToTheFileItWasLoadedFrom) {
  xmltest::ScratchDirectory scratch;
  xmltest::WriteFile("doc.xml", "<?xml?><a/>");
  XML document("doc.xml");
  document.root()->findVariable("b", 1, "2");
  ASSERT_EQ(document.save(), 1);
  EXPECT_EQ(xmltest::ReadFile("doc.xml"), "<?xml?>\r\n<a b=\"2\"/>\r\n");

  XML wide(L"doc.xml");
  ASSERT_EQ(wide.save(nullptr, 1, 0), 1);
  EXPECT_EQ(xmltest::ReadFile("doc.xml"), "<?xml?>\r\n<a b=\"2\"/>\r\n");

  // A made-up declaration is not written over the file it came from.
  xmltest::WriteFile("bare.xml", "<a/>");
  XML bare("bare.xml");
  EXPECT_EQ(bare.save(), 0);
  EXPECT_EQ(xmltest::ReadFile("bare.xml"), "<a/>");
}

TEST(XmlSave, ReportsFailures) {
  xmltest::ScratchDirectory scratch;
  XML document("<?xml?><a/>", XML::kFromText);
  EXPECT_EQ(document.save(), 0) << "a document from memory has no file";
  EXPECT_EQ(document.save("/dev/full"), 0) << "a full device must not count as saved";
  EXPECT_EQ(document.save("no/such/folder.xml"), 0);
  EXPECT_EQ(document.save("kind1.xml", 1, 1), 0);
  EXPECT_EQ(document.save("kind2.xml", 1, 2), 0);
  EXPECT_FALSE(std::filesystem::exists("kind1.xml"));
  EXPECT_FALSE(std::filesystem::exists("kind2.xml"));
}

TEST(XmlSave, TransformEncodesTheWholeTextAndDecodesOnLoad) {
  xmltest::ScratchDirectory scratch;
  FlipTransform flip;
  XML document("<?xml?><a><b c=\"d\"/></a>", XML::kFromText);
  ASSERT_EQ(document.save("flipped.xml", 1, 0, &flip), 1);
  const std::string plain = SavedText(document);
  std::string flipped = xmltest::ReadFile("flipped.xml");
  ASSERT_EQ(flipped.size(), plain.size());
  for (char& c : flipped) c = static_cast<char>(~c);
  EXPECT_EQ(flipped, plain);

  XML reread("flipped.xml", XML::kFromFile, &flip);
  EXPECT_EQ(Describe(reread), Describe(document));
  EXPECT_EQ(reread.save(), 0) << "a transformed load forgets its file";

  std::string text;
  EXPECT_EQ(document.saveToMemory(text, 1, &flip), 1);
  EXPECT_EQ(text.size(), plain.size());

  flip.overflow = true;
  std::string overflowed;
  EXPECT_EQ(document.saveToMemory(overflowed, 1, &flip), 0);
  EXPECT_EQ(document.save("overflow.xml", 1, 0, &flip), 0);
  flip.overflow = false;
  EXPECT_EQ(document.save("utf16.xml", 1, 3, &flip), 0);
  EXPECT_FALSE(std::filesystem::exists("utf16.xml"));
}

TEST(XmlSave, LoadSaveLoadKeepsEveryPart) {
  const char* documents[] = {
      "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY e \"x\">]>\n<!--head--><r a=\"1\" b='x\"y'>\n"
      "  text &amp; more<!--c--><x><![CDATA[ <raw> ]]></x>tail<?pi x?><y z=\"&#233;\"/>\n</r>\n<!--tail-->",
      "<a><b><c>deep</c></b>between<b/></a>",
      "<?xml?><r>&lt;&#x41;&amp;</r>",
      "<?xml?><r><a>1</a><a>2</a><!--x--><!--y--><a>3</a>t1<![CDATA[d1]]><![CDATA[d2]]></r>",
      "<?xml?><r&amp;s q&amp;=\"v\"/>",
  };
  for (const char* text : documents) {
    XML first(text, XML::kFromText);
    const std::string saved = SavedText(first);
    XML second(saved.c_str(), XML::kFromText);
    EXPECT_EQ(Describe(second.root()), Describe(first.root())) << text;
    EXPECT_EQ(SavedText(second), saved) << text;
  }
  // Texts written next to each other come back as one, with the same text.
  XML split("<?xml?><r><a/>one<![CDATA[c]]>two</r>", XML::kFromText);
  const std::string saved = SavedText(split);
  XML joined(saved.c_str(), XML::kFromText);
  ASSERT_EQ(joined.root()->contentCount(), 1u);
  EXPECT_STREQ(joined.root()->contents()[0]->text(), "one\r\n\ttwo");
  EXPECT_EQ(SavedText(joined), saved);
}

}  // namespace
