#pragma once
// UTF-8 <-> wide text conversion with the meanings of the Win32 calls of the
// same names. Wide text holds code points (wchar_t is 32-bit here); a high
// and a low surrogate that stand next to each other in wide input (text read
// as UTF-16 units) are joined into one character. Invalid input is never an
// error: each ill-formed UTF-8 sequence, lone surrogate or value above
// U+10FFFF becomes U+FFFD.
//
// A length of -1 converts up to and including the terminator, which is then
// counted in the result. A capacity of 0 asks for the size needed. The result
// is the number of units written (or needed); 0 means failure: a code page
// other than CP_UTF8, a null or empty input, or a buffer too small.

#include "win32/Win32Types.h"

constexpr UINT CP_UTF8 = 65001;

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int length,
                        WCHAR* wide, int capacity);

int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wide, int length,
                        char* text, int capacity, const char* defaultChar,
                        BOOL* usedDefaultChar);

#include <string>

// Whole-string forms of the two conversions above, for our own code: the text
// up to its terminator (null gives an empty result).
std::string Utf8FromWide(const wchar_t* wide);
std::wstring WideFromUtf8(const char* text);
