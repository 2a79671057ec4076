// XMLElement::memoryUsage: what an element and its subtree take, counted the
// way the library's callers size a block for it.

#include "xml/XMLContent.h"
#include "xml/XMLElement.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLVariable.h"

#include <vector>

namespace {

constexpr std::size_t kElementBytes = 112;
constexpr std::size_t kVariableBytes = 16;
constexpr std::size_t kCommentBytes = 12;
constexpr std::size_t kContentBytes = 40;
constexpr std::size_t kCDataBytes = 12;
constexpr std::size_t kSlotBytes = 4;
// Slots each array starts with and grows by.
constexpr std::size_t kChildSlots = 20;
constexpr std::size_t kVariableSlots = 20;
constexpr std::size_t kCommentSlots = 10;
constexpr std::size_t kContentSlots = 4;
constexpr std::size_t kCDataSlots = 10;

// Slots an array of `count` entries holds when it starts with `step` slots
// and grows by `step` whenever it is full.
std::size_t Slots(std::size_t count, std::size_t step) {
  return count <= step ? step : (count + step - 1) / step * step;
}

template <typename Node>
std::size_t TextBytes(Node* const* nodes, unsigned count, std::size_t each) {
  std::size_t bytes = 0;
  for (unsigned i = 0; i < count; ++i) bytes += each + nodes[i]->storedText().size();
  return bytes;
}

}  // namespace

// Element by element from a list of those still to count, so that a tree of
// any depth is counted without deepening the call stack.
std::size_t XMLElement::memoryUsage() const {
  std::size_t bytes = 0;
  std::vector<const XMLElement*> pending{this};
  while (!pending.empty()) {
    const XMLElement* e = pending.back();
    pending.pop_back();
    bytes += kElementBytes + e->name_.size();
    for (const XMLVariable* variable : e->variables_)
      bytes += kVariableBytes + variable->storedName().size() + variable->storedValue().size();
    bytes += TextBytes(e->comments(), e->commentCount(), kCommentBytes);
    bytes += TextBytes(e->contents(), e->contentCount(), kContentBytes);
    bytes += TextBytes(e->cdatas(), e->cdataCount(), kCDataBytes);
    for (const XMLElement* child : e->children_)
      if (child != nullptr) pending.push_back(child);
    bytes += kSlotBytes * (Slots(e->children_.size(), kChildSlots) + Slots(e->variables_.size(), kVariableSlots) +
                           Slots(e->comments_.size(), kCommentSlots) + Slots(e->contents_.size(), kContentSlots) +
                           Slots(e->cdatas_.size(), kCDataSlots));
  }
  return bytes;
}
