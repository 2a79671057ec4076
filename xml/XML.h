#pragma once
// An XML document: a header (declaration, doctype, comments outside the
// root) and one root element, loaded from a file or from text in memory and
// saved back to a file, a UTF-16 file or memory.
//
// Loading never fails outright: status() tells how it went (XMLStatus.h).
// A missing file, a file that cannot be read, or an empty text gives the
// default document: the standard declaration and an empty root element named
// "root". Only a missing file keeps its name (a save creates it); any other
// file that gave no document is forgotten, with status kXmlUnreadable.

#include "xml/XMLElement.h"
#include "xml/XMLHeader.h"
#include "xml/XMLStatus.h"

#include <span>
#include <string>

class XMLTransform;

class XML {
 public:
  // Load modes.
  static constexpr int kFromFile = 0;  // text is a file name
  static constexpr int kFromText = 1;  // text is the document itself

  explicit XML(const char* text, int mode = kFromFile, XMLTransform* transform = nullptr,
               void* transformParameter = nullptr);
  // Loads the file with a wide name.
  explicit XML(const wchar_t* fileName, XMLTransform* transform = nullptr, void* transformParameter = nullptr);
  ~XML();
  XML(const XML&) = delete;
  XML& operator=(const XML&) = delete;

  // Replaces the document by the one read; always returns 1. Any other mode
  // than the two above gives the default document.
  int load(const char* text, int mode = kFromFile, XMLTransform* transform = nullptr,
           void* transformParameter = nullptr);
  int load(const wchar_t* fileName, XMLTransform* transform = nullptr, void* transformParameter = nullptr);

  // Null when the top level held no element, or when the root's end tag was
  // missing.
  XMLElement* root() const { return root_; }
  XMLHeader* header() const { return header_; }
  unsigned status() const { return status_; }

  // Every save refuses (returns 0, writes and opens nothing) a document that
  // has no root, as after a load whose root end tag was missing or whose
  // elements nested deeper than the parser follows: what it would write is
  // not the document that was read. Every save to a file or memory also
  // refuses a text of more than kXmlMaxFileBytes bytes as stored (XMLFile.h),
  // which could never be loaded again, and fails when memory runs out; the
  // string, buffer or file it was to write is then left as it was.
  //
  // Saves to a file by kind: 0 (XMLWriteTarget::kFile) writes the text as
  // stored (UTF-8), 3 (kUtf16File) as UTF-16LE after the byte-order mark
  // FF FE. A null fileName saves to the file the document was loaded from,
  // which is forgotten when the text had no declaration, a transform was
  // used or the file could not be read. The text goes to a new file beside
  // the target, renamed over it when whole (through a symbolic link, to the
  // file it names; a file of several names is rewritten where it lies, from a
  // backup beside it should that fail); a target that is no regular file or
  // may not be written is refused. Returns 1 when every byte was written
  // and the file replaced, 0 otherwise, and then the old file is unchanged;
  // a transform is possible with kind 0 only. Kind 1 (kMemory)
  // needs a buffer with its size (the form below) and kind 2 (kRegistry) an
  // open key (XMLElement::write): both return 0 here.
  int save(const char* fileName = nullptr, int raw = 1, int kind = 0, XMLTransform* transform = nullptr,
           void* transformParameter = nullptr);
  // Kind 1: appends the document to the zero-terminated text in buffer and
  // returns 1; 0, with the buffer unchanged, when the buffer is empty, holds
  // no terminator, or cannot hold the whole result and its terminator. Other
  // kinds return 0.
  int save(std::span<char> buffer, int raw = 1, int kind = 1, XMLTransform* transform = nullptr,
           void* transformParameter = nullptr);
  // Appends the document to text; returns 1, or 0, with text unchanged, when
  // the transform failed or the text could not be made (see above).
  int saveToMemory(std::string& text, int raw = 1, XMLTransform* transform = nullptr,
                   void* transformParameter = nullptr);
  // Writes header and root to any target.
  int saveRoot(XMLWriteTarget& target, int raw, XMLTransform* transform = nullptr,
               void* transformParameter = nullptr);

  // Deletes root and header and forgets the file name.
  void reset();
  // Hands the root to the caller and puts an empty element named "root" in
  // its place.
  XMLElement* detachRoot();

 private:
  void setDefaultDocument();
  // Reads the file by its narrow or its wide name into the document.
  void loadFile(const char* name, const wchar_t* wideName, XMLTransform* transform, void* transformParameter);
  void parse(const std::string& text, bool transformed);
  void forgetFileName();

  unsigned status_ = kXmlLoaded;
  bool hasFileName_ = false;
  bool wideName_ = false;
  std::string fileName_;
  std::wstring wideFileName_;
  XMLHeader* header_ = nullptr;
  XMLElement* root_ = nullptr;
};
