#include "xml/XMLText.h"

#include "win32/TextConversion.h"
#include "xml/XMLEscape.h"

#include <cstring>

namespace {

constexpr std::size_t kMaxUtf8ContinuationBytes = 3;

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the UTF-8 character a lead byte starts (1 for anything else).
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// The largest length up to `limit` that does not end inside a UTF-8 character.
std::size_t CutAtCharacter(const std::string& text, std::size_t limit) {
  if (limit >= text.size()) return text.size();
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  std::size_t lead = limit;
  while (lead > 0 && limit - lead < kMaxUtf8ContinuationBytes && IsUtf8Continuation(byte(lead))) --lead;
  return lead + Utf8SequenceLength(byte(lead)) > limit ? lead : limit;
}

}  // namespace

std::string xmlNarrowOrWide(const char* narrow, const wchar_t* wide) {
  if (narrow != nullptr) return narrow;
  return Utf8FromWide(wide);
}

std::string xmlStoredForm(const std::string& text, int raw) {
  return raw ? text : escapedXmlText(text);
}

std::string xmlStoredName(const std::string& text, int raw) {
  std::string name = xmlStoredForm(text, raw);
  name.erase(name.find_last_not_of(" \t\n\r") + 1);
  return name;
}

std::string xmlCopiedForm(const std::string& stored, int raw) {
  return raw ? stored : unescapedXmlText(stored);
}

std::size_t xmlCopyText(const std::string& stored, char* buffer, std::size_t capacity, int raw) {
  if (buffer == nullptr) return stored.size();
  const std::string text = xmlCopiedForm(stored, raw);
  if (capacity == 0) return text.size();
  const std::size_t length = CutAtCharacter(text, capacity - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return text.size();
}
