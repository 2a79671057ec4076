#include "XmlTestSupport.h"

#include "xml/XMLContent.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLVariable.h"

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace xmltest {

namespace {

template <typename Node>
void DescribeNodes(std::ostringstream& out, const char* kind, Node* const* nodes, unsigned count,
                   const std::string& indent) {
  for (unsigned i = 0; i < count; ++i)
    out << indent << kind << "@" << nodes[i]->position() << " [" << nodes[i]->storedText() << "]\n";
}

void DescribeElement(std::ostringstream& out, const XMLElement* element, const std::string& indent) {
  if (element == nullptr) {
    out << indent << "(none)\n";
    return;
  }
  out << indent << "<" << element->storedName() << ">\n";
  for (unsigned i = 0; i < element->variableCount(); ++i)
    out << indent << "  @" << element->variables()[i]->storedName() << "=[" << element->variables()[i]->storedValue()
        << "]\n";
  DescribeNodes(out, "comment", element->comments(), element->commentCount(), indent + "  ");
  DescribeNodes(out, "content", element->contents(), element->contentCount(), indent + "  ");
  DescribeNodes(out, "cdata", element->cdatas(), element->cdataCount(), indent + "  ");
  for (unsigned i = 0; i < element->childCount(); ++i) DescribeElement(out, element->children()[i], indent + "  ");
}

}  // namespace

std::string Describe(const XMLElement* element) {
  std::ostringstream out;
  DescribeElement(out, element, "");
  return out.str();
}

std::string Describe(const XML& document) {
  std::ostringstream out;
  if (const XMLHeader* header = document.header()) {
    out << "declaration [" << header->text() << "]\ndoctype [" << header->doctype() << "]\n";
    DescribeNodes(out, "header comment", header->comments(), header->commentCount(), "");
  }
  out << Describe(document.root());
  return out.str();
}

std::string SavedText(XML& document, int raw) {
  std::string text;
  document.saveToMemory(text, raw);
  return text;
}

ScratchDirectory::ScratchDirectory() : previous_(std::filesystem::current_path()) {
  std::random_device seed;
  path_ = std::filesystem::temp_directory_path() / ("xml-test-" + std::to_string(seed()));
  std::filesystem::create_directories(path_);
  std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace xmltest
