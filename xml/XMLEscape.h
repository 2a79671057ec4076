#pragma once
// Entity escaping of the texts the document model stores, and unescaping of
// what it copies out. Both work on zero-terminated 8-bit (UTF-8) text.
//
// escapeXmlText turns & < > " ' into entity references, except an '&' that
// starts a complete numeric reference ("&#65;", "&#x41;"), which is kept so
// that references written by the caller survive. unescapeXmlText turns the
// five named references and complete numeric references back into
// characters (UTF-8); any other '&' stays as it is, so an incomplete
// reference ("&#65x", "&#;") loses nothing. A numeric reference that names
// no character (a surrogate, above U+10FFFF) becomes U+FFFD; "&#0;" gives
// nothing, as a zero byte would end the text. Unescaping never lengthens a
// text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// With output null: the length of the escaped text. Otherwise writes it with
// a terminator (the caller sized output from the query) and returns its
// length. A null input gives 0 and writes nothing.
std::size_t escapeXmlText(const char* input, char* output);

// With output null: the length of the input, which is room enough for the
// unescaped text. Otherwise writes the unescaped text with a terminator and
// returns its length. A null input gives 0 and writes nothing.
std::size_t unescapeXmlText(const char* input, char* output);

// The same, as strings (input up to its first zero byte).
std::string escapedXmlText(const std::string& input);
std::string unescapedXmlText(const std::string& input);

// base to the power exponent in 32-bit arithmetic, wrapping on overflow; 1
// for exponent 0. The numeric references weigh their digits with it.
std::int32_t intPower(std::int32_t base, std::uint32_t exponent);
