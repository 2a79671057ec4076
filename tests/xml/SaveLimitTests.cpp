// A save whose text the library could not read back (more than
// kXmlMaxFileBytes bytes as stored) fails and leaves its string, buffer or
// file as it was; a text of exactly that size is still written whole.

#include "FileHazards.h"
#include "XmlTestSupport.h"

#include "xml/XMLFile.h"
#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <span>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLimit = kXmlMaxFileBytes;
const std::string kDeclaration = "<?xml version=\"1.0\"?>";
const std::string kOriginal = kDeclaration + "\r\n<kept/>\r\n";
const std::string kUtf16Mark = "\xFF\xFE";

// A document whose root holds one attribute of `length` letters, and the
// text a save writes for it.
std::unique_ptr<XML> DocumentWithValue(std::size_t length) {
  auto document = std::make_unique<XML>((kDeclaration + "<r/>").c_str(), XML::kFromText);
  document->root()->addVariable(new XMLVariable("a", std::string(length, 'v').c_str(), 1));
  return document;
}

std::string TextWithValue(std::size_t length) {
  return kDeclaration + "\r\n<r a=\"" + std::string(length, 'v') + "\"/>\r\n";
}

// The longest value whose text fits, as UTF-8 and as UTF-16 after its mark.
const std::size_t kUtf8Fit = kLimit - TextWithValue(0).size();
const std::size_t kUtf16Fit = (kLimit - kUtf16Mark.size()) / 2 - TextWithValue(0).size();

TEST(XmlSaveLimit, MemorySavesHoldTextsUpToTheReadableSizeWholeAndRefuseLongerOnes) {
  std::string text = "before";
  EXPECT_EQ(DocumentWithValue(kUtf8Fit)->saveToMemory(text), 1);
  EXPECT_TRUE(text == "before" + TextWithValue(kUtf8Fit)) << "the text that just fits was not appended whole";
  text = "before";
  EXPECT_EQ(DocumentWithValue(kUtf8Fit + 1)->saveToMemory(text), 0);
  EXPECT_TRUE(text == "before") << "the refused text changed the string, now " << text.size() << " bytes";

  // Room for the longer text too, so that only its length refuses it.
  std::vector<char> buffer(kLimit + 2, '\0');
  EXPECT_EQ(DocumentWithValue(kUtf8Fit + 1)->save(std::span(buffer)), 0);
  EXPECT_EQ(std::count(buffer.begin(), buffer.end(), '\0'), static_cast<std::ptrdiff_t>(buffer.size()));
  EXPECT_EQ(DocumentWithValue(kUtf8Fit)->save(std::span(buffer)), 1);
  EXPECT_TRUE(std::string(buffer.data()) == TextWithValue(kUtf8Fit)) << "the buffer does not hold the whole text";
}

// Each kind of file: the text that just fits is written and reads back;
// one byte more (one unit for UTF-16) leaves the old file and its folder
// as they were.
TEST(XmlSaveLimit, FileSavesWriteTextsUpToTheReadableSizeAndLeaveTheOldFileForLongerOnes) {
  xmltest::ScratchDirectory scratch;
  for (const int kind : {XMLWriteTarget::kFile, XMLWriteTarget::kUtf16File}) {
    SCOPED_TRACE("file kind " + std::to_string(kind));
    const bool utf16 = kind == XMLWriteTarget::kUtf16File;
    const std::size_t fit = utf16 ? kUtf16Fit : kUtf8Fit;
    fs::remove("fits.xml");
    xmltest::WriteFile("kept.xml", kOriginal);
    EXPECT_EQ(DocumentWithValue(fit + 1)->save("kept.xml", 1, kind), 0);
    EXPECT_TRUE(xmltest::ReadFile("kept.xml") == kOriginal) << "the old file was changed";
    EXPECT_EQ(testsupport::EntryCount(scratch.path), 1u) << "a file was left beside the old one";

    EXPECT_EQ(DocumentWithValue(fit)->save("fits.xml", 1, kind), 1);
    const std::string written = xmltest::ReadFile("fits.xml");
    EXPECT_EQ(written.size(), kLimit);
    const std::string text = TextWithValue(fit);
    EXPECT_TRUE(written == (utf16 ? kUtf16Mark + xmltest::Utf16Le({text.begin(), text.end()}) : text))
        << "the file does not hold the whole text";
    const XML reread("fits.xml");
    EXPECT_EQ(reread.status(), kXmlLoaded);
    EXPECT_EQ(xmltest::Value(reread.root(), "a").size(), fit);
  }
}

// Bytes of address space the process holds now.
std::size_t AddressSpaceInUse() {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// A chain of 200,000 elements is written on a bounded stack, but its
// indentation alone would take about 20 GB of text. Each save stops once
// the text passes what could be read back: in a child that may take only
// 1 GiB more address space, and must be done within half a minute.
TEST(XmlSaveLimit, ADeepTreeWhoseTextWouldNotFitFailsWithinBoundedMemoryAndTime) {
  xmltest::ScratchDirectory scratch;
  xmltest::WriteFile("kept.xml", kOriginal);
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    XML document((kDeclaration + "<e/>").c_str(), XML::kFromText);
    XMLElement* deepest = document.root();
    for (unsigned i = 1; i < 200'000; ++i) deepest = deepest->addChild(new XMLElement(nullptr, "<e>"));
    const rlimit space{AddressSpaceInUse() + (std::size_t{1} << 30), RLIM_INFINITY};
    if (setrlimit(RLIMIT_AS, &space) != 0) return testsupport::kChildSkipped + "no address-space limit could be set";
    alarm(30);
    std::string report;
    std::string text = "before";
    if (document.saveToMemory(text) != 0 || text != "before") report += "the text in memory was changed; ";
    if (document.save("kept.xml") != 0 || document.save("kept.xml", 1, XMLWriteTarget::kUtf16File) != 0)
      report += "a file save reported success; ";
    if (xmltest::ReadFile("kept.xml") != kOriginal || testsupport::EntryCount(scratch.path) != 1)
      report += "the folder was changed; ";
    return report;
  }));
}

}  // namespace
