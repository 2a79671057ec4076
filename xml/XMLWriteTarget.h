#pragma once
// Where the serialiser sends a document: text in memory, written as stored
// (UTF-8) or as the UTF-16LE bytes of a file, or a registry key. Files are
// written whole from that text, so that a failed save never leaves half a
// file. A target remembers whether any write to it failed.

#include "win32/Registry.h"

#include <string>
#include <string_view>

class XMLWriteTarget {
 public:
  // kFile names the kind of a save to a UTF-8 file; its text is made in a
  // kMemory target.
  enum Kind { kFile = 0, kMemory = 1, kRegistry = 2, kUtf16File = 3 };

  // Appends to the text already in `text`.
  static XMLWriteTarget memory(std::string& text) { return XMLWriteTarget(kMemory, &text, nullptr); }
  // Keys are created below the open key `parent`.
  static XMLWriteTarget registry(HKEY parent) { return XMLWriteTarget(kRegistry, nullptr, parent); }
  // The UTF-16LE bytes of a file, appended to `bytes`.
  static XMLWriteTarget utf16Text(std::string& bytes) { return XMLWriteTarget(kUtf16File, &bytes, nullptr); }

  Kind kind() const { return kind_; }
  HKEY key() const { return key_; }

  // Sends a piece of UTF-8 text: unchanged to memory, as little-endian UTF-16
  // to a UTF-16 file's bytes. A registry key takes no text.
  void emit(std::string_view text);
  // Sends bytes unchanged to memory or a UTF-16 file's bytes.
  void emitBytes(std::string_view bytes);

  bool failed() const { return failed_; }
  void fail() { failed_ = true; }

 private:
  XMLWriteTarget(Kind kind, std::string* text, HKEY key) : kind_(kind), text_(text), key_(key) {}

  Kind kind_;
  std::string* text_;
  HKEY key_;
  bool failed_ = false;
};
