#pragma once
// Where the serialiser sends a document: text in memory, written as stored
// (UTF-8) or as the UTF-16LE bytes of a file, or a registry key. Files are
// written whole from that text, so that a failed save never leaves half a
// file. A target remembers whether any write to it failed.
//
// A text target takes at most kXmlMaxFileBytes bytes as stored: a longer
// text could never be loaded again, and a deep tree's indentation could
// otherwise ask for more memory than any machine has. A write past that, or
// one that finds no memory, fails the target, and a failed target gives back
// what it wrote: its text is as it was when the target was made.

#include "win32/Registry.h"
#include "xml/XMLFile.h"

#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

class XMLWriteTarget {
 public:
  // kFile names the kind of a save to a UTF-8 file; its text is made in a
  // kMemory target.
  enum Kind { kFile = 0, kMemory = 1, kRegistry = 2, kUtf16File = 3 };

  // The most bytes a text target adds to its text.
  static constexpr std::size_t kMaxTextBytes = kXmlMaxFileBytes;

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
  // Marks the target failed and takes its text back to what it was.
  void fail();

  // Runs write; should memory run out on the way (std::bad_alloc, or
  // std::length_error for a string past the largest it can be), the target
  // fails instead of the program ending.
  template <typename Write>
  void failingOnExhaustion(Write&& write) {
    try {
      write();
    } catch (const std::bad_alloc&) {
      fail();
    } catch (const std::length_error&) {
      fail();
    }
  }

 private:
  XMLWriteTarget(Kind kind, std::string* text, HKEY key)
      : kind_(kind), text_(text), key_(key), start_(text != nullptr ? text->size() : 0) {}

  // Bytes the text may still take.
  std::size_t room() const { return kMaxTextBytes - (text_->size() - start_); }

  Kind kind_;
  std::string* text_;
  HKEY key_;
  std::size_t start_;  // the length of the text when the target was made
  bool failed_ = false;
};
