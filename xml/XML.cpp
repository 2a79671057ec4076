#include "xml/XML.h"

#include "files/AtomicFile.h"
#include "win32/TextConversion.h"
#include "xml/XMLFile.h"
#include "xml/XMLParser.h"
#include "xml/XMLWriteTarget.h"
#include "xml/XMLWriter.h"

#include <algorithm>
#include <cstdint>
#include <new>
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
  if (mode == kFromFile && text != nullptr) {
    hasFileName_ = true;
    fileName_ = text;
    loadFile(text, nullptr, transform, transformParameter);
  } else if (mode == kFromText && text != nullptr && *text != '\0') {
    parse(text, transform != nullptr);
  } else {
    setDefaultDocument();
  }
  return 1;
}

int XML::load(const wchar_t* fileName, XMLTransform* transform, void* transformParameter) {
  reset();
  status_ = kXmlLoaded;
  if (fileName == nullptr) {
    setDefaultDocument();
    return 1;
  }
  hasFileName_ = true;
  wideName_ = true;
  wideFileName_ = fileName;
  loadFile(nullptr, fileName, transform, transformParameter);
  return 1;
}

// A missing file gives the default document under its name, so that a save
// creates it; a file that is there but could not be read gives it without a
// name, so that a save cannot put the default document in its place.
void XML::loadFile(const char* name, const wchar_t* wideName, XMLTransform* transform, void* transformParameter) {
  XMLFileFailure failure;
  const std::optional<std::string> content = readWholeFile(name, wideName, transform, transformParameter, failure);
  if (content) return parse(*content, transform != nullptr);
  setDefaultDocument();
  if (failure == XMLFileFailure::kMissing) return;
  status_ = kXmlUnreadable;
  forgetFileName();
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

// The whole text is made in memory, then written to a new file beside the
// target and renamed over it: a failed save leaves the old file whole.
int XML::save(const char* fileName, int raw, int kind, XMLTransform* transform, void* transformParameter) {
  // A document without a root is not the one that was read.
  if (root_ == nullptr) return 0;
  if (kind != kUtf8File && kind != kUtf16File) return 0;
  if (kind == kUtf16File && transform != nullptr) return 0;
  const std::string path = fileName != nullptr ? std::string(fileName)
                           : !hasFileName_    ? std::string()
                           : wideName_        ? Utf8FromWide(wideFileName_.c_str())
                                              : fileName_;
  if (path.empty()) return 0;
  std::string bytes;
  XMLWriteTarget target = kind == kUtf16File ? XMLWriteTarget::utf16Text(bytes) : XMLWriteTarget::memory(bytes);
  if (kind == kUtf16File) target.emitBytes(kUtf16ByteOrderMark);
  if (saveRoot(target, raw, transform, transformParameter) != 1 || target.failed()) return 0;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  return WriteFileAtomically(path, std::span(data, bytes.size())) ? 1 : 0;
}

int XML::save(std::span<char> buffer, int raw, int kind, XMLTransform* transform, void* transformParameter) {
  if (kind != XMLWriteTarget::kMemory || root_ == nullptr) return 0;
  const auto terminator = std::find(buffer.begin(), buffer.end(), '\0');
  if (terminator == buffer.end()) return 0;
  std::string text;
  try {
    text.assign(buffer.begin(), terminator);
  } catch (const std::bad_alloc&) {
    return 0;
  }
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
