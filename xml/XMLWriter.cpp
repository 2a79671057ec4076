#include "xml/XMLWriter.h"

#include "xml/XMLContent.h"
#include "xml/XMLElement.h"
#include "xml/XMLHeader.h"
#include "xml/XMLText.h"
#include "xml/XMLTextNode.h"
#include "xml/XMLTransform.h"
#include "xml/XMLVariable.h"
#include "xml/XMLWriteTarget.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Room the encoded text may take beyond the length of the plain text.
constexpr std::size_t kTransformSlack = 100;

// The pieces in one string. Lines are built by appending: a chain of
// operator+ that starts with a literal makes GCC 12 warn (-Wrestrict, wrongly)
// in optimised builds, and each + would copy the line again.
std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (const std::string_view piece : pieces) size += piece.size();
  std::string text;
  text.reserve(size);
  for (const std::string_view piece : pieces) text.append(piece);
  return text;
}

// What a target does with each part of an element; the order of the parts is
// the walker's.
class ElementSink {
 public:
  virtual ~ElementSink() = default;
  // Starts an element, child `index` of its parent (0 without one); false
  // skips it and everything below it. `empty`: nothing follows, so the
  // start tag closes itself.
  virtual bool open(const XMLElement& element, unsigned index, unsigned depth, bool empty) = 0;
  virtual void comment(const XMLElement& element, unsigned index, unsigned depth) = 0;
  virtual void content(const XMLElement& element, unsigned index, unsigned depth) = 0;
  virtual void cdata(const XMLElement& element, unsigned index, unsigned depth) = 0;
  virtual void close(const XMLElement& element, unsigned depth, bool empty) = 0;
  // True once nothing more can be written: the walk ends there.
  virtual bool stopped() const = 0;
};

// Indented text with CRLF line ends, for files and memory.
class TextSink : public ElementSink {
 public:
  TextSink(XMLWriteTarget& target, int raw) : target_(target), raw_(raw) {}

  bool open(const XMLElement& element, unsigned, unsigned depth, bool empty) override {
    std::string line = Joined({Indent(depth), "<", xmlCopiedForm(element.storedName(), raw_)});
    XMLVariable* const* variables = element.variables();
    for (unsigned i = 0; i < element.variableCount(); ++i) {
      line.append(Joined({" ", xmlCopiedForm(variables[i]->storedName(), raw_), "=\"",
                          xmlCopiedForm(variables[i]->storedValue(), raw_), "\""}));
    }
    line.append(empty ? "/>\r\n" : ">\r\n");
    target_.emit(line);
    return true;
  }

  void comment(const XMLElement& element, unsigned index, unsigned depth) override {
    const XMLComment* comment = element.comments()[index];
    target_.emit(Joined({Indent(depth + 1), "<!--", comment->storedText(), "-->\r\n"}));
  }

  void content(const XMLElement& element, unsigned index, unsigned depth) override {
    const XMLContent* content = element.contents()[index];
    target_.emit(Joined({Indent(depth + 1), xmlCopiedForm(content->storedText(), raw_), "\r\n"}));
  }

  void cdata(const XMLElement& element, unsigned index, unsigned depth) override {
    const XMLCData* section = element.cdatas()[index];
    target_.emit(Joined({Indent(depth + 1), "<![CDATA[", section->storedText(), "]]>\r\n"}));
  }

  void close(const XMLElement& element, unsigned depth, bool empty) override {
    if (!empty) target_.emit(Joined({Indent(depth), "</", xmlCopiedForm(element.storedName(), raw_), ">\r\n"}));
  }

  // A failed text takes nothing more, and the lines of a deep tree's
  // remaining elements would cost time with every level of indentation.
  bool stopped() const override { return target_.failed(); }

 private:
  static std::string Indent(unsigned depth) { return std::string(depth, '\t'); }

  XMLWriteTarget& target_;
  int raw_;
};

// A key per element ("E" + its index among its parent's children + its
// name), a string value per attribute ("V" + name), comment ("C" + index),
// content and CDATA section ("D" + index; a section replaces the content of
// the same index).
class RegistrySink : public ElementSink {
 public:
  RegistrySink(XMLWriteTarget& target, int raw) : target_(target), raw_(raw) {}
  // Keys still open when a walk was cut short by an exhausted memory.
  ~RegistrySink() override {
    for (const HKEY key : keys_) RegCloseKey(key);
  }

  bool open(const XMLElement& element, unsigned index, unsigned, bool) override {
    const std::string name = Joined({"E", std::to_string(index), xmlCopiedForm(element.storedName(), raw_)});
    HKEY key = nullptr;
    DWORD disposition = 0;
    const HKEY parentKey = keys_.empty() ? target_.key() : keys_.back();
    if (RegCreateKeyExA(parentKey, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS) {
      target_.fail();
      return false;
    }
    keys_.push_back(key);
    XMLVariable* const* variables = element.variables();
    for (unsigned i = 0; i < element.variableCount(); ++i)
      setValue(Joined({"V", xmlCopiedForm(variables[i]->storedName(), raw_)}),
               xmlCopiedForm(variables[i]->storedValue(), raw_));
    return true;
  }

  void comment(const XMLElement& element, unsigned index, unsigned) override {
    setValue(Joined({"C", std::to_string(index)}), element.comments()[index]->storedText());
  }

  void content(const XMLElement& element, unsigned index, unsigned) override {
    const XMLContent* content = element.contents()[index];
    setValue(Joined({"D", std::to_string(index)}), xmlCopiedForm(content->storedText(), raw_));
  }

  void cdata(const XMLElement& element, unsigned index, unsigned) override {
    setValue(Joined({"D", std::to_string(index)}), element.cdatas()[index]->storedText());
  }

  void close(const XMLElement&, unsigned, bool) override {
    RegCloseKey(keys_.back());
    keys_.pop_back();
  }

  // A key that could not be made skips only what lies below it.
  bool stopped() const override { return false; }

 private:
  void setValue(const std::string& name, const std::string& text) {
    const auto* data = reinterpret_cast<const BYTE*>(text.c_str());
    if (RegSetValueExA(keys_.back(), name.c_str(), 0, REG_SZ, data, static_cast<DWORD>(text.size() + 1)) !=
        ERROR_SUCCESS)
      target_.fail();
  }

  XMLWriteTarget& target_;
  int raw_;
  std::vector<HKEY> keys_;
};

// One element being written: where its walk stands.
struct WalkFrame {
  XMLElement* element;
  unsigned depth;
  bool empty;
  unsigned nextChild = 0;
  unsigned comment = 0, content = 0, cdata = 0;  // the pieces written so far
};

// Starts an element (its parked children restored first); false when the
// sink skips it.
bool OpenElement(ElementSink& sink, std::vector<WalkFrame>& frames, XMLElement* element, unsigned index,
                 unsigned depth, bool withChildren) {
  element->restoreParkedChildren();
  const bool hasPieces = element->commentCount() + element->contentCount() + element->cdataCount() != 0;
  // "</>" would read as an end tag: an element without a name gets one.
  const bool empty = !hasPieces && (!withChildren || element->childCount() == 0) && !element->storedName().empty();
  if (!sink.open(*element, index, depth, empty)) return false;
  frames.push_back({element, depth, empty});
  return true;
}

// The comments, contents and CDATA sections placed before child `index`.
void WritePiecesBefore(ElementSink& sink, WalkFrame& f, unsigned index) {
  const XMLElement& e = *f.element;
  for (; f.comment < e.commentCount() && e.comments()[f.comment]->position() <= index; ++f.comment)
    sink.comment(e, f.comment, f.depth);
  for (; f.content < e.contentCount() && e.contents()[f.content]->position() <= index; ++f.content)
    sink.content(e, f.content, f.depth);
  for (; f.cdata < e.cdataCount() && e.cdatas()[f.cdata]->position() <= index; ++f.cdata)
    sink.cdata(e, f.cdata, f.depth);
}

// What lies beyond the last child (comments, CDATA sections, then contents)
// and the end of the element.
void CloseElement(ElementSink& sink, WalkFrame& f) {
  const XMLElement& e = *f.element;
  for (; f.comment < e.commentCount(); ++f.comment) sink.comment(e, f.comment, f.depth);
  for (; f.cdata < e.cdataCount(); ++f.cdata) sink.cdata(e, f.cdata, f.depth);
  for (; f.content < e.contentCount(); ++f.content) sink.content(e, f.content, f.depth);
  sink.close(e, f.depth, f.empty);
}

// Writes the element, and its children when asked, putting each comment,
// content and CDATA section before the child whose index its position names.
// The walk keeps its own stack of open elements, so a tree of any depth is
// written without deepening the call stack.
void Walk(ElementSink& sink, XMLElement* element, unsigned index, unsigned depth, bool withChildren) {
  if (element == nullptr) return;
  std::vector<WalkFrame> frames;
  OpenElement(sink, frames, element, index, depth, withChildren);
  while (!frames.empty() && !sink.stopped()) {
    WalkFrame& f = frames.back();
    if (!withChildren || f.nextChild >= f.element->childCount()) {
      CloseElement(sink, f);
      frames.pop_back();
      continue;
    }
    const unsigned i = f.nextChild++;
    WritePiecesBefore(sink, f, i);
    if (XMLElement* child = f.element->children()[i])
      OpenElement(sink, frames, child, i, f.depth + 1, withChildren);  // f is not used after this
  }
}

std::unique_ptr<ElementSink> SinkFor(XMLWriteTarget& target, int raw) {
  if (target.kind() == XMLWriteTarget::kRegistry) return std::make_unique<RegistrySink>(target, raw);
  return std::make_unique<TextSink>(target, raw);
}

// The header's lines around the element, or all of it encoded by the
// transform.
int WriteDocument(XMLWriteTarget& target, XMLElement* element, int withChildren, int raw, XMLHeader* header,
                  XMLTransform* transform, void* transformParameter) {
  if (transform == nullptr) {
    if (header != nullptr) header->write(target, 0);
    xmlWriteElement(target, element, 0, withChildren, raw);
    if (header != nullptr) header->write(target, 1);
    return target.failed() ? 0 : 1;
  }
  // Encoded bytes are not text: they go as they are to memory only (where a
  // UTF-8 file's text is made too), never into UTF-16 or a registry key.
  if (target.kind() != XMLWriteTarget::kMemory) return 0;
  std::string text;
  XMLWriteTarget plain = XMLWriteTarget::memory(text);
  // A text too long to keep is not encoded.
  if (WriteDocument(plain, element, withChildren, raw, header, nullptr, nullptr) != 1) {
    target.fail();
    return 0;
  }
  std::string encoded(text.size() + kTransformSlack, '\0');
  const std::size_t length = transform->encode(text.data(), text.size(), encoded.data(), encoded.size(),
                                               transformParameter);
  if (length > encoded.size()) {
    target.fail();
    return 0;
  }
  target.emitBytes(std::string_view(encoded.data(), length));
  return target.failed() ? 0 : 1;
}

}  // namespace

int xmlWriteElement(XMLWriteTarget& target, XMLElement* element, unsigned depth, int withChildren, int raw) {
  const XMLElement* parent = element != nullptr ? element->parent() : nullptr;
  const unsigned index = parent != nullptr ? static_cast<unsigned>(parent->indexOfChild(element)) : 0;
  target.failingOnExhaustion([&] { Walk(*SinkFor(target, raw), element, index, depth, withChildren != 0); });
  return target.failed() ? 0 : 1;
}

int xmlWriteDocument(XMLWriteTarget& target, XMLElement* element, int withChildren, int raw, XMLHeader* header,
                     XMLTransform* transform, void* transformParameter) {
  int written = 0;
  target.failingOnExhaustion(
      [&] { written = WriteDocument(target, element, withChildren, raw, header, transform, transformParameter); });
  return target.failed() ? 0 : written;
}

int XMLElement::write(XMLWriteTarget& target, unsigned depth, int withChildren, int raw) {
  return xmlWriteElement(target, this, depth, withChildren, raw);
}

int XMLElement::writeWithHeader(XMLWriteTarget& target, int withChildren, int raw, XMLHeader* header,
                                XMLTransform* transform, void* transformParameter) {
  return xmlWriteDocument(target, this, withChildren, raw, header, transform, transformParameter);
}
