#pragma once
// UTF-8 <-> wide text (code points). Bytes that are no valid UTF-8 and wide
// characters that are no code point become U+FFFD.
// Kept inside the window layer until the shared text conversion of the Win32
// stand-ins replaces it.

#include <string>

namespace vcl {

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

}  // namespace vcl
