#include "vcl/String.h"

#include <ostream>

#include "vcl/Utf8.h"

String::String(const char* utf8) : text_(utf8 ? vcl::WideFromUtf8(utf8) : L"") {}

String::String(int number) : text_(std::to_wstring(number)) {}

String String::FromUtf8(const std::string& utf8) { return String(vcl::WideFromUtf8(utf8)); }

std::string String::ToUtf8() const { return vcl::Utf8FromWide(text_); }

void PrintTo(const String& text, std::ostream* out) { *out << '"' << text.ToUtf8() << '"'; }
