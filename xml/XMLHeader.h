#pragma once
// The part of a document outside its root element: the declaration as read,
// an optional doctype and the comments that stand before (position 0) and
// after (position 1) the root.

#include <string>
#include <vector>

class XMLComment;
class XMLWriteTarget;

class XMLHeader {
 public:
  explicit XMLHeader(const char* text, const wchar_t* wideText = nullptr);
  ~XMLHeader();
  XMLHeader(const XMLHeader&) = delete;
  XMLHeader& operator=(const XMLHeader&) = delete;

  // The declaration, from the start of the text up to and including "?>".
  const char* text() const { return text_.c_str(); }
  // The text between "<!" and ">" of the doctype; empty when there is none.
  const char* doctype() const { return doctype_.c_str(); }
  void setDoctype(const char* text, const wchar_t* wideText = nullptr);

  // Takes ownership of comment (ignored when null); returns the new count.
  unsigned addComment(XMLComment* comment, unsigned position);
  XMLComment** comments() { return comments_.data(); }
  XMLComment* const* comments() const { return comments_.data(); }
  unsigned commentCount() const { return static_cast<unsigned>(comments_.size()); }
  void deleteComments();

  void clear();

  // Writes the lines that belong at position 0 (declaration, doctype, the
  // comments before the root) or 1 (the comments after it). Writes nothing
  // into the registry. Returns 0 when a write failed.
  int write(XMLWriteTarget& target, unsigned position) const;

 private:
  std::string text_;
  std::string doctype_;
  std::vector<XMLComment*> comments_;
};
