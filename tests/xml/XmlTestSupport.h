#pragma once
// Helpers shared by the XML library tests.

#include "xml/XML.h"
#include "xml/XMLContent.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLVariable.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace xmltest {

template <typename Node>
void DescribeNodes(std::ostream& out, const char* kind, Node* const* nodes, unsigned count, const std::string& indent) {
  for (unsigned i = 0; i < count; ++i)
    out << indent << kind << "@" << nodes[i]->position() << " [" << nodes[i]->storedText() << "]\n";
}

// Every stored part of an element (or, below, a document) in one text: the
// element with its attributes, comments, contents and CDATA sections with
// their positions, then its children indented, for comparing two trees.
inline std::string Describe(const XMLElement* element, const std::string& indent = "") {
  if (element == nullptr) return indent + "(none)\n";
  std::ostringstream out;
  out << indent << "<" << element->storedName() << ">\n";
  for (unsigned i = 0; i < element->variableCount(); ++i)
    out << indent << "  @" << element->variables()[i]->storedName() << "=[" << element->variables()[i]->storedValue()
        << "]\n";
  DescribeNodes(out, "comment", element->comments(), element->commentCount(), indent + "  ");
  DescribeNodes(out, "content", element->contents(), element->contentCount(), indent + "  ");
  DescribeNodes(out, "cdata", element->cdatas(), element->cdataCount(), indent + "  ");
  for (unsigned i = 0; i < element->childCount(); ++i) out << Describe(element->children()[i], indent + "  ");
  return out.str();
}

// The same with the declaration, the doctype and the header comments first.
inline std::string Describe(const XML& document) {
  std::ostringstream out;
  if (const XMLHeader* header = document.header()) {
    out << "declaration [" << header->text() << "]\ndoctype [" << header->doctype() << "]\n";
    DescribeNodes(out, "header comment", header->comments(), header->commentCount(), "");
  }
  return out.str() + Describe(document.root());
}

// The document as saveToMemory writes it.
inline std::string SavedText(XML& document, int raw = 1) {
  std::string text;
  document.saveToMemory(text, raw);
  return text;
}

inline std::string SavedText(const std::string& text, int raw = 1) {
  XML document(text.c_str(), XML::kFromText);
  return SavedText(document, raw);
}

// The unescaped value of an attribute, "(missing)" when there is none.
inline std::string Value(XMLElement* element, const char* name) {
  const XMLVariable* variable = element == nullptr ? nullptr : element->findVariable(name);
  if (variable == nullptr) return "(missing)";
  std::string value(variable->copyValue(nullptr, 0, 0) + 1, '\0');
  value.resize(variable->copyValue(value.data(), value.size(), 0));
  return value;
}

// Text as UTF-16LE bytes.
inline std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) bytes += std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return bytes;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Makes a fresh empty folder the current directory for as long as it lives.
class ScratchDirectory {
  const std::filesystem::path previous_ = std::filesystem::current_path();

 public:
  ScratchDirectory() { std::filesystem::current_path(path); }
  ~ScratchDirectory() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  const std::filesystem::path path = [] {
    std::string name = (std::filesystem::temp_directory_path() / "xml-test-XXXXXX").string();
    return std::filesystem::path(mkdtemp(name.data()));
  }();
};

}  // namespace xmltest
