#include "xml/XMLElement.h"

#include "xml/XMLContent.h"
#include "xml/XMLNodeList.h"
#include "xml/XMLText.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLVariable.h"

#include <algorithm>
#include <vector>

namespace {

// Characters that end an element name in a start tag.
bool EndsName(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>' || c == '"' || c == '<';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// text with every `c` replaced by `reference`.
std::string Replaced(std::string_view text, char c, std::string_view reference) {
  std::string out;
  for (const char x : text) {
    if (x == c)
      out += reference;
    else
      out += x;
  }
  return out;
}

// Reads the attribute at or after tag[pos] ("name=\"value\"" or
// "name='value'", kept as written) into element; returns the position after
// it, or npos when the tag holds no further attribute.
std::size_t ReadAttribute(std::string_view tag, std::size_t pos, XMLElement& element) {
  constexpr std::size_t npos = std::string_view::npos;
  while (pos < tag.size() && IsBlank(tag[pos])) ++pos;
  if (pos >= tag.size() || tag[pos] == '>' || tag[pos] == '/') return npos;
  const std::size_t equals = tag.find('=', pos);
  if (equals == npos) return npos;
  const std::size_t open = tag.find_first_of("\"'", equals + 1);
  if (open == npos) return npos;
  const std::size_t close = tag.find(tag[open], open + 1);
  if (close == npos) return npos;
  const std::string_view name = tag.substr(pos, equals - pos);
  // A quote or angle bracket means the text before '=' is no attribute
  // name; written back, it would end a quoted region or the tag.
  if (name.find_first_of("\"'<>") == npos) {
    // A single-quoted value may hold double quotes; they are kept as
    // references so that the value can be written between double quotes.
    const std::string_view text = tag.substr(open + 1, close - open - 1);
    const std::string value = tag[open] == '\'' ? Replaced(text, '"', "&quot;") : std::string(text);
    element.addVariable(new XMLVariable(std::string(name).c_str(), value.c_str(), 1));
  }
  return close + 1;
}

}  // namespace

XMLElement::XMLElement(XMLElement* parent, const char* tagText, int parseMode, const wchar_t* wideTagText)
    : XMLElement(parent, std::string_view(xmlNarrowOrWide(tagText, wideTagText)), parseMode) {}

XMLElement::XMLElement(XMLElement* parent, std::string_view tagText, int parseMode) : parent_(parent) {
  parseTag(tagText, parseMode);
}

XMLElement::~XMLElement() { clear(); }

void XMLElement::clear() {
  deleteVariables();
  deleteChildren();
  deleteComments();
  deleteContents();
  deleteCData();
  name_.clear();
}

void XMLElement::parseTag(std::string_view tag, int parseMode) {
  clear();
  if (parseMode == 1) {
    name_ = std::string(tag);
    return;
  }
  // The tag's own '<' may lead; a later one ends the name, which could not be
  // written back otherwise ("<<!x/>" would read as a declaration).
  std::size_t pos = tag.starts_with('<') ? 1 : 0;
  const std::size_t nameStart = pos;
  while (pos < tag.size() && !EndsName(tag[pos])) ++pos;
  // Kept as written, references included, but for a single quote: written
  // back, it would open a quoted region of the tag.
  name_ = Replaced(tag.substr(nameStart, pos - nameStart), '\'', "&apos;");

  while (pos != std::string_view::npos) pos = ReadAttribute(tag, pos, *this);
}

std::size_t XMLElement::copyName(char* buffer, std::size_t capacity, int raw) const {
  return xmlCopyText(name_, buffer, capacity, raw);
}

XMLVariable* XMLElement::findVariable(const char* name, int create, const char* value) {
  if (name == nullptr) return nullptr;
  const auto named = [this](const std::string& wanted) -> XMLVariable* {
    for (XMLVariable* variable : variables_)
      if (xmlCopiedForm(variable->storedName(), 0) == wanted) return variable;
    return nullptr;
  };
  if (XMLVariable* found = named(name)) return found;
  // The name an attribute made from `name` reads back under (its trailing
  // blanks cut, its references decoded): what an earlier create added.
  const std::string created = xmlCopiedForm(xmlStoredName(name, 0), 0);
  if (created != name)
    if (XMLVariable* found = named(created)) return found;
  if (create != 1) return nullptr;
  auto* variable = new XMLVariable(name, value, 0);
  addVariable(variable);
  return variable;
}

int XMLElement::indexOfChild(const XMLElement* element) const {
  if (element == nullptr) return -1;
  const auto found = std::find(children_.begin(), children_.end(), element);
  return found == children_.end() ? -1 : static_cast<int>(found - children_.begin());
}

unsigned XMLElement::depth() const {
  unsigned ancestors = 0;
  for (const XMLElement* e = parent_; e != nullptr; e = e->parent_) ++ancestors;
  return ancestors;
}

XMLElement* XMLElement::addChild(XMLElement* element) {
  if (element == nullptr) return nullptr;
  element->setParent(this);
  children_.push_back(element);
  return element;
}

unsigned XMLElement::addVariable(XMLVariable* variable) {
  if (variable != nullptr) {
    variable->setOwner(this);
    variables_.push_back(variable);
  }
  return variableCount();
}

unsigned XMLElement::addComment(XMLComment* comment, unsigned position) {
  return xmlAppendNode(comments_, comment, this, position);
}

unsigned XMLElement::addCData(XMLCData* section, unsigned position) {
  return xmlAppendNode(cdatas_, section, this, position);
}

unsigned XMLElement::addContent(XMLContent* content, unsigned position) {
  return xmlAppendNode(contents_, content, this, position);
}

// Last child first, each subtree from the bottom up, without recursion: an
// element is deleted only once it has no children left (so its own
// destructor goes no deeper), and until then it stays in its parent's array,
// since a parked child's file is named after its path from the root.
void XMLElement::deleteChildren() {
  if (children_.empty()) return;
  std::vector<XMLElement*> open{this};  // elements whose children are being deleted
  while (!open.empty()) {
    XMLElement* element = open.back();
    std::vector<XMLElement*>& children = element->children_;
    if (children.empty()) {
      open.pop_back();
      continue;
    }
    XMLElement* last = children.back();
    if (last != nullptr && !last->children_.empty()) {
      open.push_back(last);
      continue;
    }
    if (last == nullptr)
      element->dropParkedChild(element->childCount() - 1);
    else
      delete last;
    children.pop_back();
  }
}

void XMLElement::deleteVariables() { xmlDeleteAll(variables_); }
void XMLElement::deleteComments() { xmlDeleteAll(comments_); }
void XMLElement::deleteContents() { xmlDeleteAll(contents_); }
void XMLElement::deleteCData() { xmlDeleteAll(cdatas_); }
