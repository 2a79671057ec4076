#pragma once
// One element of a document: its name (kept as a document writes it, entity
// references included), attributes, child elements, comments, text contents
// and CDATA sections, each kind in an array of its own. Comments, contents and CDATA sections carry a position, the
// number of child elements before them, so the serialiser can put them back
// between the children.
//
// An element owns everything in its arrays. A null slot in children is a
// parked child: it lives in a temporary file until the element is written
// (which restores it) or deleted (which removes the file).

#include "win32/Win32Types.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class XMLCData;
class XMLComment;
class XMLContent;
class XMLHeader;
class XMLTransform;
class XMLVariable;
class XMLWriteTarget;

class XMLElement {
 public:
  // Parse mode 1 takes the whole tag text as the name; any other mode reads
  // a name and attributes from a start tag ("<a b=\"1\">", "a b='1'/").
  XMLElement(XMLElement* parent, const char* tagText, int parseMode = 0, const wchar_t* wideTagText = nullptr);
  XMLElement(XMLElement* parent, std::string_view tagText, int parseMode);
  ~XMLElement();
  XMLElement(const XMLElement&) = delete;
  XMLElement& operator=(const XMLElement&) = delete;

  // Deletes everything the element holds and empties its name.
  void clear();
  // Replaces name and attributes (and deletes everything else) from a tag text.
  void parseTag(std::string_view tag, int parseMode);

  // See xmlCopyText: capacity bytes at buffer, unescaped unless raw is 1.
  std::size_t copyName(char* buffer, std::size_t capacity, int raw) const;
  const std::string& storedName() const { return name_; }

  // The first attribute whose unescaped name is `name` (exact comparison),
  // else the first one named as an attribute made from `name` would be
  // (trailing blanks cut, references decoded), so a repeated create finds
  // what the first one added. When there is none and create is 1, a new
  // attribute (name and value escaped) is appended and returned; otherwise
  // null.
  XMLVariable* findVariable(const char* name, int create = 0, const char* value = nullptr);

  // An estimate of the bytes the element and its subtree take: a fixed
  // amount per element and per attribute, comment, content and CDATA
  // section, their stored texts, and four bytes per slot of the five arrays
  // (which start with, and grow by, 20 children, 20 attributes, 10
  // comments, 4 contents and 10 CDATA sections). The writer does not rely
  // on it: its memory target grows as it writes.
  std::size_t memoryUsage() const;

  // Index of element among the children; -1 when it is not one of them.
  int indexOfChild(const XMLElement* element) const;
  // Number of ancestors (0 for a root).
  unsigned depth() const;

  XMLElement* parent() const { return parent_; }
  void setParent(XMLElement* element) { parent_ = element; }

  // The arrays in document order; the caller keeps indices below the counts.
  XMLElement** children() { return children_.data(); }
  XMLElement* const* children() const { return children_.data(); }
  unsigned childCount() const { return count(children_); }
  XMLVariable** variables() { return variables_.data(); }
  XMLVariable* const* variables() const { return variables_.data(); }
  unsigned variableCount() const { return count(variables_); }
  XMLComment** comments() { return comments_.data(); }
  XMLComment* const* comments() const { return comments_.data(); }
  unsigned commentCount() const { return count(comments_); }
  XMLContent** contents() { return contents_.data(); }
  XMLContent* const* contents() const { return contents_.data(); }
  unsigned contentCount() const { return count(contents_); }
  XMLCData** cdatas() { return cdatas_.data(); }
  XMLCData* const* cdatas() const { return cdatas_.data(); }
  unsigned cdataCount() const { return count(cdatas_); }

  // Each takes ownership and appends; a null argument is ignored. addChild
  // returns the child (null when ignored), the others the new count.
  XMLElement* addChild(XMLElement* element);
  unsigned addVariable(XMLVariable* variable);
  unsigned addComment(XMLComment* comment, unsigned position);
  unsigned addCData(XMLCData* section, unsigned position);
  unsigned addContent(XMLContent* content, unsigned position);

  // Each destroys every entry of its array, last first. deleteChildren also
  // removes the file of every parked child.
  void deleteChildren();
  void deleteVariables();
  void deleteComments();
  void deleteContents();
  void deleteCData();

  // Writes the element (and its children when withChildren is 1) at the
  // given indentation depth; raw 1 writes the stored forms, raw 0 the
  // unescaped ones. Parked children are restored first. Returns 0 when a
  // write failed (for the registry: a key or value that could not be made;
  // what lies below a key that could not be made is skipped; for text: more
  // than the target takes, or no memory left, and the text is then as it
  // was when the target was made).
  int write(XMLWriteTarget& target, unsigned depth, int withChildren, int raw);
  // The same at depth 0 with the header's lines before and after. With a
  // transform the whole text is encoded first; that is possible for a
  // memory target only (0 for the other targets).
  int writeWithHeader(XMLWriteTarget& target, int withChildren, int raw, XMLHeader* header,
                      XMLTransform* transform = nullptr, void* transformParameter = nullptr);

  // Parked children. The path key is the chain of child indices from the
  // root, each followed by '-' ("0-2-"); a root's is empty. A child parks in
  // the file named by parkedFileName in the current directory ("0-2-5.xmltmp"
  // for child 5 of that element; "3.xmltmp" for child 3 of a root).
  std::string pathKey() const;
  std::string parkedFileName(unsigned index) const;
  // Removes the file of parked child index; the result of DeleteFileA.
  BOOL dropParkedChild(unsigned index);
  // 1 when slot index holds a child or its file was loaded into it (and
  // removed); 0 when the file is missing or does not hold a whole document.
  int restoreParkedChild(unsigned index);
  int restoreParkedChildren();

 private:
  template <typename T>
  static unsigned count(const std::vector<T*>& items) {
    return static_cast<unsigned>(items.size());
  }

  XMLElement* parent_;
  std::string name_;
  std::vector<XMLElement*> children_;
  std::vector<XMLVariable*> variables_;
  std::vector<XMLComment*> comments_;
  std::vector<XMLContent*> contents_;
  std::vector<XMLCData*> cdatas_;
};
