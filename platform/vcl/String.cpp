#include "vcl/String.h"

#include <ostream>

#include "win32/TextConversion.h"

String::String(const char* utf8) : text_(utf8 ? WideFromUtf8(utf8) : L"") {}

String::String(int number) : text_(std::to_wstring(number)) {}

String String::FromUtf8(const std::string& utf8) { return String(WideFromUtf8(utf8.c_str())); }

std::string String::ToUtf8() const { return Utf8FromWide(text_.c_str()); }

void PrintTo(const String& text, std::ostream* out) { *out << '"' << text.ToUtf8() << '"'; }
