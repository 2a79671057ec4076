#pragma once
// Where each markup construct of a text ends. The body parser and the table
// of element ends (XMLElementEnds) both step through a text with
// scanXmlConstruct, so they always agree on what is markup and what is text.
//
//   comment                "<!--" ... "-->"
//   CDATA section          "<![CDATA[" ... "]]>"
//   processing instruction "<?" ... "?>"
//   declaration            "<!" ... ">", the '>' outside brackets and quotes
//   end tag                "</" ... ">"
//   start or empty tag     "<" ... ">", the '>' outside quotes; an empty tag
//                          has '/' just before its '>'
//
// Inside tags and declarations either quote opens a region that only the same
// quote closes. A construct whose end is missing has end == npos.

#include <cstddef>
#include <string_view>

enum class XMLConstructKind { Comment, CData, ProcessingInstruction, Declaration, EndTag, StartTag, EmptyTag };

struct XMLConstruct {
  XMLConstructKind kind;
  std::size_t begin;  // the '<'
  std::size_t end;    // the closing '>', or npos
  // The text between the construct's opening and closing marks.
  std::string_view inner;
};

// The construct whose '<' is text[lt].
XMLConstruct scanXmlConstruct(std::string_view text, std::size_t lt);
