// What loading and saving do to the files around a document: a file that is
// there but cannot be read is never replaced by the default document, a save
// that fails keeps the old file whole, a document cut on load is never saved
// as if whole, and trees of any depth are written and freed.

#include "FileHazards.h"
#include "XmlTestSupport.h"

#include "xml/XMLFile.h"
#include "xml/XMLWriteTarget.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

const std::string kOriginal = "<?xml version=\"1.0\"?>\r\n<kept a=\"1\"/>\r\n";

std::size_t EntryCount(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

// A document whose text is far longer than kOriginal.
void Grow(XML& document) {
  for (int i = 0; i < 2000; ++i) document.root()->addChild(new XMLElement(nullptr, "<grown n=\"0123456789\"/>"));
}

// Saves a document, grown far beyond the old file, over path in a child
// process whose writes fail (prepare makes them fail); the save must say it
// failed, and the old file must be whole with nothing left beside it.
void ExpectFailedSaveKeepsTheFile(const fs::path& folder, const std::function<std::string()>& prepare) {
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([&]() -> std::string {
    if (std::string refused = prepare(); !refused.empty()) return refused;
    const fs::path path = folder / "kept.xml";
    if (!fs::exists(path)) xmltest::WriteFile(path, kOriginal);
    const std::size_t entries = EntryCount(folder);
    XML document(path.c_str());
    Grow(document);
    std::string report;
    if (document.save() != 0) report += "the failed save reported success; ";
    if (xmltest::ReadFile(path) != kOriginal) report += "the old file was changed; ";
    if (EntryCount(folder) != entries) report += "a file was left beside it; ";
    return report;
  }));
}

TEST(XmlFiles, AFileThatIsThereButCannotBeReadIsNeverSavedOver) {
  xmltest::ScratchDirectory scratch;
  ASSERT_EQ(mkfifo("fifo.xml", 0600), 0);
  xmltest::WriteFile("huge.xml", kOriginal);
  fs::resize_file("huge.xml", kXmlMaxFileBytes + 1);
  for (const char* name : {"fifo.xml", "huge.xml"}) {
    XML document(name), wide(fs::path(name).wstring().c_str());
    for (XML* loaded : {&document, &wide}) {
      EXPECT_EQ(loaded->status(), kXmlUnreadable) << name;
      EXPECT_FALSE(testsupport::WaitedOnFifo("fifo.xml", [&] { EXPECT_EQ(loaded->save(), 0) << name; }));
    }
  }
  EXPECT_TRUE(fs::is_fifo("fifo.xml"));
  EXPECT_EQ(fs::file_size("huge.xml"), kXmlMaxFileBytes + 1);
  EXPECT_EQ(xmltest::ReadFile("huge.xml").substr(0, kOriginal.size()), kOriginal);

  // Only a missing file keeps its name, so that a save creates it.
  XML missing("missing.xml");
  EXPECT_EQ(missing.status(), kXmlLoaded);
  EXPECT_EQ(missing.save(), 1);
  EXPECT_EQ(XML("missing.xml").root()->storedName(), "root");

  // A file the user may not read (root reads any, so the check runs as a user).
  // Anyone may write it, nobody may read it.
  xmltest::WriteFile("secret.xml", kOriginal);
  fs::permissions("secret.xml", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
  fs::permissions(scratch.path, fs::perms::all);
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([]() -> std::string {
    if (std::string refused = testsupport::BecomeUnprivileged(); !refused.empty()) return refused;
    XML document("secret.xml");
    std::string report;
    if (document.status() != kXmlUnreadable) report += "status " + std::to_string(document.status()) + "; ";
    if (document.save() != 0) report += "saved over the file; ";
    return report;
  }));
  fs::permissions("secret.xml", fs::perms::owner_read);
  EXPECT_EQ(xmltest::ReadFile("secret.xml"), kOriginal);
}

TEST(XmlFiles, AFailedSaveKeepsTheOldFileWhole) {
  xmltest::ScratchDirectory scratch;
  // The file-size limit stops the write part way.
  ExpectFailedSaveKeepsTheFile(scratch.path, [] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, 4096};
    return setrlimit(RLIMIT_FSIZE, &small) == 0 ? std::string() : "no file-size limit could be set; ";
  });
  // A small file system, full once the old file is on it.
  const fs::path disk = scratch.path / "disk";
  fs::create_directory(disk);
  ExpectFailedSaveKeepsTheFile(disk, [&] {
    std::string mounted = testsupport::MountSmallFileSystem(disk.string(), 64 << 10);
    if (mounted.empty()) {
      xmltest::WriteFile(disk / "kept.xml", kOriginal);
      testsupport::FillFileSystem(disk.string());
    }
    return mounted;
  });
}

TEST(XmlFiles, SavesThroughASymbolicLinkAndRefusesWhatIsNoFile) {
  xmltest::ScratchDirectory scratch;
  xmltest::WriteFile("real.xml", kOriginal);
  fs::create_symlink("real.xml", "link.xml");
  XML document("link.xml");
  document.root()->findVariable("b", 1, "2");
  ASSERT_EQ(document.save(), 1);
  EXPECT_TRUE(fs::is_symlink("link.xml"));
  EXPECT_EQ(XML("real.xml").root()->findVariable("b") != nullptr, true);

  fs::create_directory("folder.xml");
  EXPECT_EQ(document.save("folder.xml"), 0);
  EXPECT_TRUE(fs::is_directory("folder.xml"));
}

TEST(XmlFiles, ADocumentCutAtTheDepthBoundIsNeverSavedAsWhole) {
  xmltest::ScratchDirectory scratch;
  std::string text = kOriginal.substr(0, kOriginal.find('\r'));
  for (unsigned i = 0; i <= kXmlMaxNestingDepth; ++i) text += "<e>";
  for (unsigned i = 0; i <= kXmlMaxNestingDepth; ++i) text += "</e>";
  xmltest::WriteFile("deep.xml", text);
  XML document("deep.xml");
  EXPECT_EQ(document.status(), kXmlMissingEnd);
  EXPECT_EQ(document.root(), nullptr);
  EXPECT_EQ(document.save(), 0);
  std::string inMemory;
  EXPECT_EQ(document.saveToMemory(inMemory), 0);
  EXPECT_TRUE(xmltest::ReadFile("deep.xml") == text) << "the file was changed";
}

// Runs body on a thread whose stack holds only a few hundred call levels.
void OnASmallStack(const std::function<void()>& body) {
  constexpr std::size_t kStackBytes = 128 << 10;
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kStackBytes);
  pthread_t thread;
  auto run = [](void* f) -> void* {
    (*static_cast<const std::function<void()>*>(f))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

TEST(XmlElement, TreesOfAnyDepthAreWrittenCountedAndFreedOnABoundedStack) {
  constexpr unsigned kDepth = 5 * kXmlMaxNestingDepth;
  std::string expected;
  for (unsigned i = 0; i + 1 < kDepth; ++i) expected += std::string(i, '\t') + "<e>\r\n";
  expected += std::string(kDepth - 1, '\t') + "<e/>\r\n";
  for (unsigned i = kDepth - 1; i-- > 0;) expected += std::string(i, '\t') + "</e>\r\n";
  OnASmallStack([&] {
    auto* root = new XMLElement(nullptr, "<e>");
    XMLElement* deepest = root;
    for (unsigned i = 1; i < kDepth; ++i) deepest = deepest->addChild(new XMLElement(nullptr, "<e>"));
    std::string text;
    XMLWriteTarget memory = XMLWriteTarget::memory(text);
    EXPECT_EQ(root->write(memory, 0, 1, 1), 1);
    EXPECT_TRUE(text == expected) << "the written text differs from the tree";
    // Every element of the chain counts as much as a lone one.
    EXPECT_EQ(root->memoryUsage(), kDepth * XMLElement(nullptr, "<e>").memoryUsage());
    delete root;
  });
}

}  // namespace
