#include "ui/MoveableNames.h"

#include <array>

#include "xml/XML.h"
#include "xml/XMLVariable.h"

namespace {

constexpr unsigned kObjectsPosition = 4;    // the root's fifth child element
constexpr unsigned kMoveablesPosition = 1;  // its second child element

// Child element i, or null when there is none (a parked child counts as none).
XMLElement* ChildAt(XMLElement* element, std::uint64_t i) {
  if (element == nullptr || i >= element->childCount()) return nullptr;
  return element->children()[i];
}

}  // namespace

std::string MoveableName(const XML* strings, std::uint32_t objectId) {
  if (strings == nullptr) return {};
  XMLElement* objects = ChildAt(strings->root(), kObjectsPosition);
  XMLElement* entry = ChildAt(ChildAt(objects, kMoveablesPosition), objectId);
  XMLVariable* name = entry != nullptr ? entry->findVariable("name") : nullptr;
  if (name == nullptr) return {};
  std::array<char, kMoveableNameBytes> buffer{};
  name->copyValue(buffer.data(), buffer.size(), 0);
  buffer.back() = '\0';
  return std::string(buffer.data());
}
