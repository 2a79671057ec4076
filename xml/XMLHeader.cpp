#include "xml/XMLHeader.h"

#include "xml/XMLNodeList.h"
#include "xml/XMLText.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLWriteTarget.h"

#include <string_view>

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

XMLHeader::XMLHeader(const char* text, const wchar_t* wideText) : text_(xmlNarrowOrWide(text, wideText)) {}

XMLHeader::~XMLHeader() { clear(); }

void XMLHeader::setDoctype(const char* text, const wchar_t* wideText) {
  doctype_ = xmlNarrowOrWide(text, wideText);
}

unsigned XMLHeader::addComment(XMLComment* comment, unsigned position) {
  return xmlAppendNode(comments_, comment, nullptr, position);
}

void XMLHeader::deleteComments() { xmlDeleteAll(comments_); }

void XMLHeader::clear() {
  text_.clear();
  doctype_.clear();
  deleteComments();
}

int XMLHeader::write(XMLWriteTarget& target, unsigned position) const {
  if (target.kind() == XMLWriteTarget::kRegistry) return 1;
  if (position == 0) {
    std::string_view declaration = text_;
    // A UTF-16 file gets its byte-order mark once, when it is opened.
    if (target.kind() == XMLWriteTarget::kUtf16File && declaration.starts_with(kUtf8ByteOrderMark))
      declaration.remove_prefix(kUtf8ByteOrderMark.size());
    target.emit(std::string(declaration) + "\r\n");
    if (!doctype_.empty()) target.emit("<!" + doctype_ + ">\r\n");
  }
  for (const XMLComment* comment : comments_)
    if (comment->position() == position) target.emit("<!--" + comment->storedText() + "-->\r\n");
  return target.failed() ? 0 : 1;
}
