#pragma once
// Reading a whole document file into text.

#include <cstddef>
#include <optional>
#include <string>

class XMLTransform;

// Largest file the loader reads; anything larger is treated as missing.
constexpr std::size_t kXmlMaxFileBytes = 64u << 20;

// True for a regular file that can be opened for reading (by its narrow name,
// or its wide name when wideName is not null).
bool xmlIsReadableFile(const char* name, const wchar_t* wideName = nullptr);

// The text of a file, up to its first zero byte: decoded by the transform
// when one is given, and turned into UTF-8 when it begins with the UTF-16LE
// byte-order mark (the mark becomes EF BB BF). Nothing when the file cannot be
// opened, is not a regular file or is larger than kXmlMaxFileBytes.
std::optional<std::string> readWholeFile(const char* name, const wchar_t* wideName, XMLTransform* transform,
                                         void* transformParameter);
