#pragma once
// The comments, CDATA sections and text contents of an element: a text, the
// element it belongs to (null for a comment of the document header) and its
// position, the number of child elements that precede it.

#include <string>
#include <utility>

class XMLElement;

class XMLTextNode {
 public:
  XMLTextNode(XMLElement* parent, unsigned position, const char* text, const wchar_t* wideText = nullptr);
  XMLTextNode(const XMLTextNode&) = delete;
  XMLTextNode& operator=(const XMLTextNode&) = delete;

  const char* text() const { return text_.c_str(); }
  const std::string& storedText() const { return text_; }
  unsigned position() const { return position_; }
  XMLElement* parent() const { return parent_; }
  void setParentPosition(XMLElement* parent, unsigned position);

 protected:
  void setText(std::string text) { text_ = std::move(text); }

 private:
  XMLElement* parent_;
  unsigned position_;
  std::string text_;
};

// The text between "<!--" and "-->", kept as written.
class XMLComment : public XMLTextNode {
 public:
  using XMLTextNode::XMLTextNode;
};

// The text between "<![CDATA[" and "]]>", kept as written.
class XMLCData : public XMLTextNode {
 public:
  using XMLTextNode::XMLTextNode;
};
