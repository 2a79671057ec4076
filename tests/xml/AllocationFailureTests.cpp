// A save during which memory runs out fails and leaves its text, buffer,
// file or folder as they were, whichever allocation it was that failed.

#include "FailingAllocations.h"
#include "FileHazards.h"
#include "XmlTestSupport.h"

#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Every kind of piece the writer puts out, escaped and nested.
const std::string kDocument =
    "<?xml version=\"1.0\"?>\r\n<!DOCTYPE d>\r\n<!--before-->\r\n"
    "<d a=\"1 &amp; 2\"><!--c--><e b='x\"y'>text &lt;<f/><![CDATA[<raw>]]></e>tail</d>\r\n<!--after-->\r\n";

// Runs save with the n-th allocation failing, for n = 1, 2, ... until a run
// meets no failure. Each failed run must return 0 and leave `unchanged`
// true; the run that met none must return 1.
void ExpectEveryAllocationFailureRefused(const std::function<int()>& save, const std::function<bool()>& unchanged) {
  for (std::size_t n = 1;; ++n) {
    int result = -1;
    bool threw = false;
    failingallocations::FailAllocation(n);
    try {
      result = save();
    } catch (...) {
      threw = true;
    }
    if (!failingallocations::Disarm()) {
      EXPECT_EQ(result, 1) << "with no allocation failing";
      return;
    }
    ASSERT_FALSE(threw) << "allocation " << n << " failed, and the save let the exception out";
    EXPECT_EQ(result, 0) << "allocation " << n << " failed";
    EXPECT_TRUE(unchanged()) << "allocation " << n << " failed, and what the save wrote was kept";
  }
}

TEST(XmlSaveMemory, ASaveInMemoryThatRunsOutOfMemoryFailsAndKeepsTheText) {
  XML document(kDocument.c_str(), XML::kFromText);
  for (const int raw : {0, 1}) {
    SCOPED_TRACE("raw " + std::to_string(raw));
    const std::string expected = "before" + xmltest::SavedText(document, raw);
    std::string text;
    ExpectEveryAllocationFailureRefused(
        [&] {
          text = "before";
          return document.saveToMemory(text, raw);
        },
        [&] { return text == "before"; });
    EXPECT_EQ(text, expected);
  }
  std::vector<char> buffer(4096, '\0');
  const std::vector<char> empty = buffer;
  ExpectEveryAllocationFailureRefused([&] { return document.save(std::span(buffer)); },
                                      [&] { return buffer == empty; });
  EXPECT_EQ(buffer.data(), xmltest::SavedText(document));
}

TEST(XmlSaveMemory, AFileSaveThatRunsOutOfMemoryFailsAndKeepsTheOldFile) {
  xmltest::ScratchDirectory scratch;
  XML document(kDocument.c_str(), XML::kFromText);
  const std::string original = "<?xml version=\"1.0\"?>\r\n<kept/>\r\n";
  for (const int kind : {XMLWriteTarget::kFile, XMLWriteTarget::kUtf16File}) {
    SCOPED_TRACE("file kind " + std::to_string(kind));
    xmltest::WriteFile("kept.xml", original);
    ExpectEveryAllocationFailureRefused([&] { return document.save("kept.xml", 1, kind); },
                                        [&] {
                                          return xmltest::ReadFile("kept.xml") == original &&
                                                 testsupport::EntryCount(scratch.path) == 1;
                                        });
    EXPECT_EQ(XML("kept.xml").root()->storedName(), "d");
  }
}

}  // namespace
