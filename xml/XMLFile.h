#pragma once
// Reading a whole document file into text.

#include <cstddef>
#include <optional>
#include <string>

class XMLTransform;

// Largest file the loader reads; anything larger is unreadable.
constexpr std::size_t kXmlMaxFileBytes = 64u << 20;

// Why a file gave no text.
enum class XMLFileFailure {
  kNone,
  kMissing,     // nothing exists under the name
  kUnreadable,  // it exists, but is no regular file, may not be read, is too large, or a read failed
};

// True for a regular file that can be opened for reading (by its narrow name,
// or its wide name when wideName is not null). Neither this nor
// readWholeFile waits on what is no regular file, such as a FIFO.
bool xmlIsReadableFile(const char* name, const wchar_t* wideName = nullptr);

// The text of a file: decoded by the transform when one is given, turned
// into UTF-8 up to its first zero unit when it then begins with the UTF-16LE
// byte-order mark (the mark becomes EF BB BF), and otherwise cut at its first
// zero byte. Nothing when the file cannot be opened, is not a regular file or
// is larger than kXmlMaxFileBytes; failure then says which.
std::optional<std::string> readWholeFile(const char* name, const wchar_t* wideName, XMLTransform* transform,
                                         void* transformParameter, XMLFileFailure& failure);
