#include "xml/XMLContent.h"

#include "xml/Base64Encoder.h"
#include "xml/XMLText.h"

#include <string>

namespace {

// Room for the Base64 text of `length` bytes: four characters for each group
// of three, a line break after each full line, and the last padded group.
std::size_t Base64Capacity(std::size_t length) {
  const std::size_t characters = (length / 3 + 1) * 4;
  return characters + 2 * (characters / Base64Encoder<const char*, char*>::kLineLength + 1);
}

std::string Base64Text(const char* data, std::size_t length) {
  std::string text(Base64Capacity(length), '\0');
  Base64Encoder<const char*, char*> encoder;
  char* end = encoder.filter(text.data(), data, data + length);
  end = encoder.finish(end);
  text.resize(static_cast<std::size_t>(end - text.data()));
  return text;
}

}  // namespace

XMLContent::XMLContent(XMLElement* parent, unsigned position, const char* text, int raw, std::size_t length,
                       const wchar_t* wideText)
    : XMLTextNode(parent, position, nullptr) {
  setValue(text, raw, length, wideText);
}

void XMLContent::setValue(const char* data, int raw, std::size_t length, const wchar_t* wideText) {
  if (length != 0 && data != nullptr)
    setText(Base64Text(data, length));
  else
    setText(xmlStoredForm(xmlNarrowOrWide(data, wideText), raw));
}

std::size_t XMLContent::copyValue(char* buffer, std::size_t capacity, int raw) const {
  return xmlCopyText(storedText(), buffer, capacity, raw);
}
