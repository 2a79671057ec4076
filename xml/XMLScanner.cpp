#include "xml/XMLScanner.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

struct Marks {
  std::string_view open;
  std::string_view close;
};

constexpr Marks kComment{"<!--", "-->"};
constexpr Marks kCData{"<![CDATA[", "]]>"};
constexpr Marks kProcessingInstruction{"<?", "?>"};

// The '>' of the first `close` after the opening mark at lt.
std::size_t EndOfMarked(std::string_view text, std::size_t lt, const Marks& marks) {
  const std::size_t close = text.find(marks.close, lt + marks.open.size());
  return close == npos ? npos : close + marks.close.size() - 1;
}

// Where a comment or processing instruction that starts at text[i] ends (its
// '>'), npos when it has none; i itself when none starts there.
std::size_t SkipMarked(std::string_view text, std::size_t i) {
  for (const Marks& marks : {kComment, kProcessingInstruction})
    if (text.substr(i).starts_with(marks.open)) return EndOfMarked(text, i, marks);
  return i;
}

// The first '>' from `from` that stands outside quotes (and, when brackets
// count, outside [...], where comments and processing instructions are
// passed over whole: their quotes, brackets and '>' are their own).
std::size_t EndOutsideQuotes(std::string_view text, std::size_t from, bool brackets) {
  char quote = 0;
  int bracketDepth = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (bracketDepth > 0 && c == '<') {
      i = SkipMarked(text, i);
      if (i == npos) return npos;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (brackets && c == '[') {
      ++bracketDepth;
    } else if (brackets && c == ']' && bracketDepth > 0) {
      --bracketDepth;
    } else if (c == '>' && bracketDepth == 0) {
      return i;
    }
  }
  return npos;
}

constexpr Marks kDeclaration{"<!", ">"};
constexpr Marks kEndTag{"</", ">"};
constexpr Marks kStartTag{"<", ">"};
constexpr Marks kEmptyTag{"<", "/>"};

XMLConstruct Make(XMLConstructKind kind, std::string_view text, std::size_t lt, std::size_t end, const Marks& marks) {
  if (end == npos) return {kind, lt, npos, {}};
  const std::size_t first = lt + marks.open.size();
  const std::size_t last = end + 1 - marks.close.size();
  return {kind, lt, end, text.substr(first, last > first ? last - first : 0)};
}

XMLConstruct Marked(XMLConstructKind kind, std::string_view text, std::size_t lt, const Marks& marks) {
  return Make(kind, text, lt, EndOfMarked(text, lt, marks), marks);
}

}  // namespace

XMLConstruct scanXmlConstruct(std::string_view text, std::size_t lt) {
  const std::string_view rest = text.substr(lt);
  if (rest.starts_with(kComment.open)) return Marked(XMLConstructKind::Comment, text, lt, kComment);
  if (rest.starts_with(kCData.open)) return Marked(XMLConstructKind::CData, text, lt, kCData);
  if (rest.starts_with(kProcessingInstruction.open))
    return Marked(XMLConstructKind::ProcessingInstruction, text, lt, kProcessingInstruction);
  if (rest.starts_with(kDeclaration.open))
    return Make(XMLConstructKind::Declaration, text, lt, EndOutsideQuotes(text, lt + kDeclaration.open.size(), true), kDeclaration);
  if (rest.starts_with(kEndTag.open))
    return Make(XMLConstructKind::EndTag, text, lt, text.find('>', lt + kEndTag.open.size()), kEndTag);
  const std::size_t first = lt + kStartTag.open.size();
  const std::size_t end = EndOutsideQuotes(text, first, false);
  if (end != npos && end > first && text[end - 1] == '/')
    return Make(XMLConstructKind::EmptyTag, text, lt, end, kEmptyTag);
  return Make(XMLConstructKind::StartTag, text, lt, end, kStartTag);
}
