// A save that fails keeps the old file whole, and trees of any depth are
// written and freed.

#include "FileHazards.h"
#include "XmlTestSupport.h"

#include "xml/XMLFile.h"
#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>

#include <csignal>

namespace fs = std::filesystem;

namespace {

const std::string kOriginal = "<?xml version=\"1.0\"?>\r\n<kept a=\"1\"/>\r\n";

// Saves kept.xml in folder in a child whose writes prepare makes fail: the
// save says so, the old file stays whole and nothing is left beside it.
void ExpectFailedSaveKeepsTheFile(const fs::path& folder, const std::function<std::string()>& prepare) {
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    if (std::string refused = prepare(); !refused.empty()) return refused;
    const std::size_t entries = testsupport::EntryCount(folder);
    std::string report;
    if (XML((folder / "kept.xml").c_str()).save() != 0) report += "the failed save reported success; ";
    if (xmltest::ReadFile(folder / "kept.xml") != kOriginal) report += "the old file was changed; ";
    if (testsupport::EntryCount(folder) != entries) report += "a file was left beside it; ";
    return report;
  }));
}

TEST(XmlFiles, AFailedSaveKeepsTheOldFileWhole) {
  xmltest::ScratchDirectory scratch;
  xmltest::WriteFile("kept.xml", kOriginal);
  ExpectFailedSaveKeepsTheFile(scratch.path, [] {  // the file-size limit stops the write part way
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{16, 16};
    return setrlimit(RLIMIT_FSIZE, &small) == 0 ? std::string() : "no file-size limit could be set; ";
  });
  const fs::path disk = scratch.path / "disk";
  fs::create_directory(disk);
  ExpectFailedSaveKeepsTheFile(disk, [&] {  // a full file system
    return testsupport::MountFullFileSystem(disk.string(), [&] { xmltest::WriteFile(disk / "kept.xml", kOriginal); });
  });
}

// Builds, writes, counts and frees a chain of elements far deeper than the
// load bound on a thread whose stack holds only a few hundred call levels.
TEST(XmlElement, TreesOfAnyDepthAreWrittenCountedAndFreedOnABoundedStack) {
  static constexpr unsigned kDepth = 5 * kXmlMaxNestingDepth;
  std::string expected;
  for (unsigned i = 0; i + 1 < kDepth; ++i) expected += std::string(i, '\t') + "<e>\r\n";
  expected += std::string(kDepth - 1, '\t') + "<e/>\r\n";
  for (unsigned i = kDepth - 1; i-- > 0;) expected += std::string(i, '\t') + "</e>\r\n";
  const auto body = [](void* expected) -> void* {
    auto* root = new XMLElement(nullptr, "<e>");
    XMLElement* deepest = root;
    for (unsigned i = 1; i < kDepth; ++i) deepest = deepest->addChild(new XMLElement(nullptr, "<e>"));
    std::string text;
    XMLWriteTarget memory = XMLWriteTarget::memory(text);
    EXPECT_EQ(root->write(memory, 0, 1, 1), 1);
    EXPECT_TRUE(text == *static_cast<std::string*>(expected)) << "the written text differs from the tree";
    EXPECT_EQ(root->memoryUsage(), kDepth * XMLElement(nullptr, "<e>").memoryUsage());
    delete root;
    return nullptr;
  };
  pthread_attr_t smallStack;
  pthread_attr_init(&smallStack);
  pthread_attr_setstacksize(&smallStack, 128 << 10);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &smallStack, body, &expected), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&smallStack);
}

}  // namespace
