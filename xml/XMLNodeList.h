#pragma once
// The owned pointer arrays of elements and headers.

#include <vector>

class XMLElement;

// Appends node (ignored when null) as a node of parent at position; returns
// the new count.
template <typename Node>
unsigned xmlAppendNode(std::vector<Node*>& nodes, Node* node, XMLElement* parent, unsigned position) {
  if (node != nullptr) {
    node->setParentPosition(parent, position);
    nodes.push_back(node);
  }
  return static_cast<unsigned>(nodes.size());
}

// Destroys every entry, last first.
template <typename Node>
void xmlDeleteAll(std::vector<Node*>& nodes) {
  while (!nodes.empty()) {
    delete nodes.back();
    nodes.pop_back();
  }
}
