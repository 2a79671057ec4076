#pragma once
// Where the serialiser sends a document: an open file written as stored
// (UTF-8), a string in memory, a registry key, or an open file (or the bytes
// of one, in memory) written as UTF-16LE. A target remembers whether any
// write to it failed.

#include "win32/Registry.h"

#include <cstdio>
#include <string>
#include <string_view>

class XMLWriteTarget {
 public:
  enum Kind { kFile = 0, kMemory = 1, kRegistry = 2, kUtf16File = 3 };

  static XMLWriteTarget file(std::FILE* stream) { return XMLWriteTarget(kFile, stream, nullptr, nullptr); }
  // Appends to the text already in `text`.
  static XMLWriteTarget memory(std::string& text) { return XMLWriteTarget(kMemory, nullptr, &text, nullptr); }
  // Keys are created below the open key `parent`.
  static XMLWriteTarget registry(HKEY parent) { return XMLWriteTarget(kRegistry, nullptr, nullptr, parent); }
  static XMLWriteTarget utf16File(std::FILE* stream) { return XMLWriteTarget(kUtf16File, stream, nullptr, nullptr); }
  // The UTF-16LE bytes of a file, appended to `bytes`.
  static XMLWriteTarget utf16Text(std::string& bytes) { return XMLWriteTarget(kUtf16File, nullptr, &bytes, nullptr); }

  Kind kind() const { return kind_; }
  HKEY key() const { return key_; }

  // Sends a piece of UTF-8 text: unchanged to a file or to memory, as
  // little-endian UTF-16 to a UTF-16 file. A registry key takes no text.
  void emit(std::string_view text);
  // Sends bytes unchanged to either kind of file or to memory.
  void emitBytes(std::string_view bytes);

  bool failed() const { return failed_; }
  void fail() { failed_ = true; }

 private:
  // A file target with neither a stream nor a string has failed from the start.
  XMLWriteTarget(Kind kind, std::FILE* stream, std::string* text, HKEY key)
      : kind_(kind), stream_(stream), text_(text), key_(key),
        failed_((kind == kFile || kind == kUtf16File) && stream == nullptr && text == nullptr) {}

  Kind kind_;
  std::FILE* stream_;
  std::string* text_;
  HKEY key_;
  bool failed_;
};

// Writes UTF-8 text to a file as UTF-16 code units, two bytes each, low byte
// first; characters above U+FFFF become surrogate pairs. Returns false when
// a write failed.
bool writeUtf8AsUtf16(std::FILE* file, std::string_view text);
// The same units as bytes.
std::string utf16LeBytes(std::string_view text);
