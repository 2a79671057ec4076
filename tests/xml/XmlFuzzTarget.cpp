// libFuzzer target: loads any bytes as a document, walks every node, copies
// every text into buffers of several sizes, exports it to the registry,
// saves to memory and loads the saved text again. Besides crashes, leaks and
// undefined behaviour it stops on a broken promise of the library (see
// Require). Its own checks take time linear in the size of the document, so
// that a slow input (past -timeout) points at the library.

#include "xml/XML.h"
#include "xml/XMLContent.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLVariable.h"
#include "xml/XMLWriteTarget.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <unordered_set>

namespace {

// Searches (attribute by name, child by pointer) are linear: only this many
// of an element's attributes and children, and its last ones, are searched for.
constexpr unsigned kSearchedPerElement = 8;

bool Searched(unsigned index, unsigned count) { return index < kSearchedPerElement || index + 1 == count; }

void Require(bool condition, const char* promise) {
  if (condition) return;
  std::fprintf(stderr, "broken: %s\n", promise);
  std::abort();
}

// Copies through a text getter into buffers of a few sizes and checks that
// each copy stays inside its buffer, is terminated and reports the same length.
template <typename Copy>
void CopyEveryWay(Copy copy) {
  const std::size_t stored = copy(nullptr, 0, 1);
  for (const int raw : {0, 1}) {
    std::string whole(stored + 1, '\x7F');
    const std::size_t length = copy(whole.data(), whole.size(), raw);
    Require(length <= stored, "a copy is no longer than the stored text");
    Require(std::strlen(whole.c_str()) == length, "a copy that fits is whole and terminated");
    for (std::size_t capacity = 1; capacity < 5 && capacity <= length; ++capacity) {
      char cut[6];
      std::memset(cut, '\x7F', sizeof cut);
      Require(copy(cut, capacity, raw) == length, "a cut copy reports the full length");
      Require(std::strlen(cut) < capacity && cut[capacity] == '\x7F', "a cut copy stays inside its buffer");
    }
  }
}

void Walk(XMLElement* element, unsigned depth) {
  Require(depth <= kXmlMaxNestingDepth, "nesting stays within the bound");
  CopyEveryWay([&](char* b, std::size_t c, int r) { return element->copyName(b, c, r); });
  for (unsigned i = 0; i < element->variableCount(); ++i) {
    XMLVariable* variable = element->variables()[i];
    Require(variable->owner() == element, "an attribute knows its element");
    CopyEveryWay([&](char* b, std::size_t c, int r) { return variable->copyName(b, c, r); });
    CopyEveryWay([&](char* b, std::size_t c, int r) { return variable->copyValue(b, c, r); });
    if (!Searched(i, element->variableCount())) continue;
    std::string name(variable->copyName(nullptr, 0, 0) + 1, '\0');
    variable->copyName(name.data(), name.size(), 0);
    XMLVariable* found = element->findVariable(name.c_str());
    Require(found != nullptr && element->findVariable(name.c_str(), 1) == found, "every attribute can be found");
  }
  for (unsigned i = 0; i < element->contentCount(); ++i) {
    XMLContent* content = element->contents()[i];
    CopyEveryWay([&](char* b, std::size_t c, int r) { return content->copyValue(b, c, r); });
  }
  for (unsigned i = 0; i < element->commentCount(); ++i) Require(element->comments()[i]->text() != nullptr, "comment");
  for (unsigned i = 0; i < element->cdataCount(); ++i) Require(element->cdatas()[i]->text() != nullptr, "cdata");
  std::unordered_set<const XMLElement*> children;
  for (unsigned i = 0; i < element->childCount(); ++i) {
    XMLElement* child = element->children()[i];
    Require(child != nullptr, "the parser makes no empty slot");
    Require(child->parent() == element && children.insert(child).second, "a child has one place");
    Require(!Searched(i, element->childCount()) || element->indexOfChild(child) == static_cast<int>(i),
            "a child knows its place");
    Walk(child, depth + 1);
  }
}

// Inputs that begin like a UTF-16 file are loaded from a file, the only way
// the loader reads UTF-16; the others from memory.
std::string WriteScratchFile(const std::string& bytes) {
  static const std::string name = "/tmp/xml-fuzz-" + std::to_string(getpid()) + ".xml";
  std::FILE* file = std::fopen(name.c_str(), "wb");
  Require(file != nullptr, "the scratch file can be written");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool utf16 = text.starts_with("\xFF\xFE");
  const std::string file = utf16 ? WriteScratchFile(text) : std::string();
  XML document(utf16 ? file.c_str() : text.c_str(), utf16 ? XML::kFromFile : XML::kFromText);
  if (utf16) std::remove(file.c_str());
  Require(document.header() != nullptr, "a loaded document has a header");
  if (document.root() != nullptr) Walk(document.root(), 1);

  if (document.root() != nullptr) {
    RegistryDeleteAll();
    XMLWriteTarget key = XMLWriteTarget::registry(HKEY_CURRENT_USER);
    document.root()->write(key, 0, 1, 1);
    RegistryDeleteAll();
  }

  std::string saved;
  if (document.root() == nullptr) {
    Require(document.saveToMemory(saved) == 0 && saved.empty(), "a document without a root is not saved");
    return 0;
  }
  Require(document.saveToMemory(saved) == 1, "saving to memory succeeds");
  XML reloaded(saved.c_str(), XML::kFromText);
  Require(reloaded.status() != kXmlMissingEnd, "a saved document loads whole");
  std::string savedAgain;
  reloaded.saveToMemory(savedAgain);
  Require(savedAgain == saved, "saving what was loaded from a saved text gives the same text");
  return 0;
}
