#include "xml/XMLParser.h"

#include "xml/XMLContent.h"
#include "xml/XMLElement.h"
#include "xml/XMLHeader.h"
#include "xml/XMLScanner.h"
#include "xml/XMLStatus.h"
#include "xml/XMLTextNode.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::string_view kBlanks = " \t\r\n";
constexpr unsigned kBeforeRoot = 0;
constexpr unsigned kAfterRoot = 1;

void AddComment(XMLParseState& state, XMLElement* parent, std::string_view text, bool startSeen) {
  const std::string copy(text);
  if (parent != nullptr) {
    parent->addComment(new XMLComment(parent, parent->childCount(), copy.c_str()), parent->childCount());
  } else {
    const unsigned position = startSeen ? kAfterRoot : kBeforeRoot;
    state.header->addComment(new XMLComment(nullptr, position, copy.c_str()), position);
  }
}

void AddCData(XMLElement* parent, std::string_view text) {
  if (parent == nullptr) return;  // no place for it outside the root
  const std::string copy(text);
  parent->addCData(new XMLCData(parent, parent->childCount(), copy.c_str()), parent->childCount());
}

void SetDoctype(XMLParseState& state, XMLElement* parent, std::string_view text) {
  if (parent != nullptr || *state.header->doctype() != '\0') return;
  state.header->setDoctype(std::string(text).c_str());
}

// A processing instruction is kept as the comment "?target data?". A "-->"
// in it becomes "-- >", so that the comment does not end there when written.
std::string InstructionAsComment(std::string_view instruction) {
  std::string text(instruction);
  for (std::size_t at = text.find("-->"); at != std::string::npos; at = text.find("-->", at + 4))
    text.insert(at + 2, 1, ' ');
  return text;
}

// A start tag from its '<' up to its '>' (left out).
std::string_view TagText(std::string_view text, const XMLConstruct& tag) {
  return text.substr(tag.begin, tag.end - tag.begin);
}

// The body parser of one level. `offset` is where `text` starts in the
// whole text that `ends` describes.
std::unique_ptr<XMLElement> ParseBody(XMLParseState& state, const XMLElementEnds& ends, XMLElement* parent,
                                      std::string_view text, std::size_t offset, unsigned depth) {
  std::unique_ptr<XMLElement> root;
  bool startSeen = false;
  std::size_t pos = 0;
  while (true) {
    const std::size_t lt = text.find('<', pos);
    addTrimmedContent(parent, text.substr(pos, lt == npos ? npos : lt - pos), parent ? parent->childCount() : 0);
    if (lt == npos) return root;
    const XMLConstruct construct = scanXmlConstruct(text, lt);
    if (construct.end == npos) {
      state.status = kXmlMissingEnd;
      return root;
    }
    pos = construct.end + 1;
    const bool isElement =
        construct.kind == XMLConstructKind::EmptyTag || construct.kind == XMLConstructKind::StartTag;
    if (isElement && depth >= kXmlMaxNestingDepth) {
      state.status = kXmlMissingEnd;
      state.tooDeep = true;
      return root;
    }
    switch (construct.kind) {
      case XMLConstructKind::Comment:
        AddComment(state, parent, construct.inner, startSeen);
        break;
      case XMLConstructKind::ProcessingInstruction:
        AddComment(state, parent, InstructionAsComment(text.substr(lt + 1, construct.end - lt - 1)), startSeen);
        break;
      case XMLConstructKind::CData:
        AddCData(parent, construct.inner);
        break;
      case XMLConstructKind::Declaration:
        SetDoctype(state, parent, construct.inner);
        break;
      case XMLConstructKind::EndTag:  // a stray one; matched ones are passed over below
        break;
      case XMLConstructKind::EmptyTag: {
        startSeen = true;
        auto element = std::make_unique<XMLElement>(parent, TagText(text, construct), 0);
        if (parent != nullptr)
          parent->addChild(element.release());
        else if (root == nullptr)
          root = std::move(element);
        break;
      }
      case XMLConstructKind::StartTag: {
        startSeen = true;
        const XMLElementEnd end = ends.find(offset + lt);
        if (end.after == npos) {
          state.status = kXmlMissingEnd;
          return root;
        }
        auto element = std::make_unique<XMLElement>(parent, TagText(text, construct), 0);
        const std::size_t endTag = end.endTag - offset;
        ParseBody(state, ends, element.get(), text.substr(pos, endTag - pos), offset + pos, depth + 1);
        if (parent != nullptr)
          parent->addChild(element.release());
        else
          root = std::move(element);
        pos = end.after - offset;
        break;
      }
    }
  }
}

}  // namespace

XMLElementEnds::XMLElementEnds(std::string_view text) {
  std::vector<std::size_t> open;  // indices into entries_ of the start tags not yet closed
  for (std::size_t pos = 0;;) {
    const std::size_t lt = text.find('<', pos);
    if (lt == npos) return;
    const XMLConstruct construct = scanXmlConstruct(text, lt);
    if (construct.end == npos) return;
    if (construct.kind == XMLConstructKind::StartTag) {
      open.push_back(entries_.size());
      entries_.push_back({lt, {npos, npos}});
    } else if (construct.kind == XMLConstructKind::EndTag && !open.empty()) {
      entries_[open.back()].end = {lt, construct.end + 1};
      open.pop_back();
    }
    pos = construct.end + 1;
  }
}

XMLElementEnd XMLElementEnds::find(std::size_t lt) const {
  const auto entry = std::lower_bound(entries_.begin(), entries_.end(), lt,
                                      [](const Entry& e, std::size_t start) { return e.start < start; });
  if (entry == entries_.end() || entry->start != lt) return {npos, npos};
  return entry->end;
}

std::unique_ptr<XMLElement> parseXmlDocument(XMLParseState& state, std::string_view text) {
  const XMLElementEnds ends(text);
  std::unique_ptr<XMLElement> root = ParseBody(state, ends, nullptr, text, 0, 0);
  if (state.tooDeep) root.reset();
  return root;
}

void addTrimmedContent(XMLElement* element, std::string_view text, unsigned position) {
  if (element == nullptr) return;
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == npos) return;
  const std::string trimmed(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
  element->addContent(new XMLContent(element, position, trimmed.c_str(), 1), position);
}
