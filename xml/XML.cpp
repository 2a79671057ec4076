#include "xml/XML.h"

#include "win32/WideFile.h"
#include "xml/XMLFile.h"
#include "xml/XMLParser.h"
#include "xml/XMLWriteTarget.h"
#include "xml/XMLWriter.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace {

constexpr const char* kDefaultDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";
constexpr int kUtf8File = XMLWriteTarget::kFile;
constexpr int kUtf16File = XMLWriteTarget::kUtf16File;

// Where the declaration ends ("<?...?>" at the start of the text, after an
// optional byte-order mark and blanks); npos when the text has none.
std::size_t DeclarationEnd(std::string_view text) {
  std::size_t start = text.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  start = text.find_first_not_of(" \t\r\n", start);
  if (start == std::string_view::npos || text.substr(start, 2) != "<?") return std::string_view::npos;
  const std::size_t end = text.find("?>", start + 2);
  return end == std::string_view::npos ? end : end + 2;
}

}  // namespace

XML::XML(const char* text, int mode, XMLTransform* transform, void* transformParameter) {
  load(text, mode, transform, transformParameter);
}

XML::XML(const wchar_t* fileName, XMLTransform* transform, void* transformParameter) {
  load(fileName, transform, transformParameter);
}

XML::~XML() { reset(); }

int XML::load(const char* text, int mode, XMLTransform* transform, void* transformParameter) {
  reset();
  status_ = kXmlLoaded;
  std::optional<std::string> content;
  if (mode == kFromFile && text != nullptr) {
    hasFileName_ = true;
    fileName_ = text;
    content = readWholeFile(text, nullptr, transform, transformParameter);
  } else if (mode == kFromText && text != nullptr && *text != '\0') {
    content = text;
  }
  if (content)
    parse(*content, transform != nullptr);
  else
    setDefaultDocument();
  return 1;
}

int XML::load(const wchar_t* fileName, XMLTransform* transform, void* transformParameter) {
  reset();
  status_ = kXmlLoaded;
  std::optional<std::string> content;
  if (fileName != nullptr) {
    hasFileName_ = true;
    wideName_ = true;
    wideFileName_ = fileName;
    content = readWholeFile(nullptr, fileName, transform, transformParameter);
  }
  if (content)
    parse(*content, transform != nullptr);
  else
    setDefaultDocument();
  return 1;
}

void XML::setDefaultDocument() {
  header_ = new XMLHeader(kDefaultDeclaration);
  root_ = new XMLElement(nullptr, "<root/>");
}

void XML::parse(const std::string& text, bool transformed) {
  std::size_t start = DeclarationEnd(text);
  if (start != std::string_view::npos) {
    header_ = new XMLHeader(text.substr(0, start).c_str());
  } else {
    // Not saved back over its file by default: the declaration is made up.
    forgetFileName();
    status_ = kXmlNoDeclaration;
    header_ = new XMLHeader((std::string(kUtf8ByteOrderMark) + kDefaultDeclaration).c_str());
    start = 0;
  }
  if (transformed) forgetFileName();
  if (text.find('<', start) == std::string::npos) {
    forgetFileName();
    status_ = kXmlNoDeclaration;
    root_ = new XMLElement(nullptr, "<root>");
    return;
  }
  XMLParseState state{header_, status_};
  root_ = parseXmlDocument(state, std::string_view(text).substr(start)).release();
  status_ = state.status;
}

void XML::forgetFileName() {
  hasFileName_ = false;
  wideName_ = false;
  fileName_.clear();
  wideFileName_.clear();
}

int XML::save(const char* fileName, int raw, int kind, XMLTransform* transform, void* transformParameter) {
  // Checked before the file is opened: opening it would already empty it.
  if (root_ == nullptr) return 0;
  if (kind != kUtf8File && kind != kUtf16File) return 0;
  if (kind == kUtf16File && transform != nullptr) return 0;
  std::FILE* file = nullptr;
  if (fileName != nullptr)
    file = std::fopen(fileName, "wb");
  else if (hasFileName_)
    file = wideName_ ? _wfopen(wideFileName_.c_str(), L"wb") : std::fopen(fileName_.c_str(), "wb");
  if (file == nullptr) return 0;
  XMLWriteTarget target = kind == kUtf16File ? XMLWriteTarget::utf16File(file) : XMLWriteTarget::file(file);
  if (kind == kUtf16File) target.emitBytes(kUtf16ByteOrderMark);
  saveRoot(target, raw, transform, transformParameter);
  const bool closed = std::fclose(file) == 0;
  return !target.failed() && closed ? 1 : 0;
}

int XML::save(std::span<char> buffer, int raw, int kind, XMLTransform* transform, void* transformParameter) {
  if (kind != XMLWriteTarget::kMemory || root_ == nullptr) return 0;
  const auto terminator = std::find(buffer.begin(), buffer.end(), '\0');
  if (terminator == buffer.end()) return 0;
  std::string text(buffer.begin(), terminator);
  if (saveToMemory(text, raw, transform, transformParameter) != 1 || text.size() >= buffer.size()) return 0;
  std::copy(text.begin(), text.end(), buffer.begin());
  buffer[text.size()] = '\0';
  return 1;
}

int XML::saveToMemory(std::string& text, int raw, XMLTransform* transform, void* transformParameter) {
  XMLWriteTarget target = XMLWriteTarget::memory(text);
  return saveRoot(target, raw, transform, transformParameter);
}

int XML::saveRoot(XMLWriteTarget& target, int raw, XMLTransform* transform, void* transformParameter) {
  if (root_ == nullptr) return 0;
  return xmlWriteDocument(target, root_, 1, raw, header_, transform, transformParameter);
}

void XML::reset() {
  delete root_;
  root_ = nullptr;
  delete header_;
  header_ = nullptr;
  forgetFileName();
}

XMLElement* XML::detachRoot() {
  XMLElement* detached = root_;
  root_ = new XMLElement(nullptr, "<root/>");
  return detached;
}
