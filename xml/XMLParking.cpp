// Parked children: a null slot in an element's children stands for a child
// kept in a temporary file of the current directory, named after the slot.

#include "xml/XML.h"
#include "xml/XMLElement.h"
#include "xml/XMLFile.h"

#include "win32/WideFile.h"

#include <vector>

namespace {

constexpr const char* kParkedFileExtension = ".xmltmp";

}  // namespace

std::string XMLElement::pathKey() const {
  std::vector<int> indices;
  for (const XMLElement* e = this; e->parent_ != nullptr; e = e->parent_)
    indices.push_back(e->parent_->indexOfChild(e));
  std::string key;
  for (auto index = indices.rbegin(); index != indices.rend(); ++index) key += std::to_string(*index) + "-";
  return key;
}

std::string XMLElement::parkedFileName(unsigned index) const {
  return pathKey() + std::to_string(index) + kParkedFileExtension;
}

BOOL XMLElement::dropParkedChild(unsigned index) { return DeleteFileA(parkedFileName(index).c_str()); }

int XMLElement::restoreParkedChild(unsigned index) {
  if (index >= childCount()) return 0;
  if (children_[index] != nullptr) return 1;
  const std::string name = parkedFileName(index);
  if (!xmlIsReadableFile(name.c_str())) return 0;
  XML document(name.c_str(), XML::kFromFile);
  if (document.status() == kXmlMissingEnd || document.root() == nullptr) return 0;
  XMLElement* child = document.detachRoot();
  child->setParent(this);
  children_[index] = child;
  DeleteFileA(name.c_str());
  return 1;
}

int XMLElement::restoreParkedChildren() {
  for (unsigned i = 0; i < childCount(); ++i)
    if (children_[i] == nullptr) restoreParkedChild(i);
  return 0;
}
