#pragma once
// A text content of an element, stored escaped unless it was given raw (the
// parser keeps contents as written, entity references included).

#include "xml/XMLTextNode.h"

#include <cstddef>

class XMLContent : public XMLTextNode {
 public:
  // With a length other than 0, text is taken as that many bytes and stored
  // as their Base64 encoding (see setValue).
  XMLContent(XMLElement* parent, unsigned position, const char* text, int raw = 0, std::size_t length = 0,
             const wchar_t* wideText = nullptr);

  // length 0: stores the zero-terminated text (escaped unless raw is 1).
  // Otherwise stores the Base64 text of the length bytes at data, in lines of
  // 72 characters.
  void setValue(const char* data, int raw = 0, std::size_t length = 0, const wchar_t* wideText = nullptr);

  // See xmlCopyText: capacity bytes at buffer, unescaped unless raw is 1.
  std::size_t copyValue(char* buffer, std::size_t capacity, int raw) const;
};
