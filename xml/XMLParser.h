#pragma once
// The parser of a document body. It is lenient: it never rejects a text but
// builds what it can and records a missing end in the load status. A
// construct without its end, or a start tag without its end tag, ends the
// level it stands in (the levels above go on). An element nested deeper than
// kXmlMaxNestingDepth leaves the document without a root.
//
// At the top level (no parent) comments and processing instructions become
// header comments (position 0 before the first start tag, 1 after), a "<!...>"
// declaration becomes the doctype, and the root is the last element that has
// a body, or else the first empty one; other top-level elements and text are
// dropped. Inside an element, text (trimmed, kept as written), comments,
// processing instructions (as comments) and CDATA sections are added at the
// position of the number of children before them.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class XMLElement;
class XMLHeader;

// For a start tag: the '<' of its matching end tag and the position after
// that tag's '>', both npos when it has none.
struct XMLElementEnd {
  std::size_t endTag;
  std::size_t after;
};

// The matching end tag of every start tag of a text, found in one pass with
// the same construct scanner the body parser uses: each end tag closes the
// nearest start tag still open (names are not compared), and a construct
// without its end leaves every tag still open unmatched.
class XMLElementEnds {
 public:
  explicit XMLElementEnds(std::string_view text);
  // For the start tag at text[lt].
  XMLElementEnd find(std::size_t lt) const;

 private:
  struct Entry {
    std::size_t start;
    XMLElementEnd end;
  };
  std::vector<Entry> entries_;  // in the order of their start tags
};

struct XMLParseState {
  XMLHeader* header;
  unsigned status;
  bool tooDeep = false;  // an element lay deeper than kXmlMaxNestingDepth
};

// Parses the whole text after the declaration; returns the root, or null when
// the top level holds no element that could be kept or the elements nest
// deeper than the parser follows (what was kept of them is not the document).
std::unique_ptr<XMLElement> parseXmlDocument(XMLParseState& state, std::string_view text);

// Adds text, less the blanks at either end, as a raw content of element at
// position; nothing for a null element or a text of blanks only.
void addTrimmedContent(XMLElement* element, std::string_view text, unsigned position);
