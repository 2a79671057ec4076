#include "xml/XMLTextNode.h"

#include "xml/XMLText.h"

XMLTextNode::XMLTextNode(XMLElement* parent, unsigned position, const char* text, const wchar_t* wideText)
    : parent_(parent), position_(position), text_(xmlNarrowOrWide(text, wideText)) {}

void XMLTextNode::setParentPosition(XMLElement* parent, unsigned position) {
  parent_ = parent;
  position_ = position;
}
