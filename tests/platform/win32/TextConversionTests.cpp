#include "win32/TextConversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

const std::wstring kReplacement(1, L'\uFFFD');

std::string ToUtf8(const std::wstring& wide) {
  const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                         nullptr);
  std::string text(static_cast<std::size_t>(needed), '\0');
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), needed, nullptr,
                                nullptr),
            needed);
  return text;
}

std::wstring ToWide(const std::string& text) {
  const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), needed), needed);
  return wide;
}

TEST(TextConversion, EncodesEachRangeOfCodePoints) {
  EXPECT_EQ(ToUtf8(L"A"), "A");
  EXPECT_EQ(ToUtf8(L"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(ToUtf8(L"\u20AC"), "\xE2\x82\xAC");
  EXPECT_EQ(ToUtf8(L"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ToUtf8(L"\U0010FFFF"), "\xF4\x8F\xBF\xBF");
  // Units read from UTF-16: a surrogate pair is one character.
  const std::wstring pair = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
  EXPECT_EQ(ToUtf8(pair), "\xF0\x9F\x98\x80");
}

TEST(TextConversion, WideInputThatNamesNoCharacterBecomesReplacement) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(ToUtf8({static_cast<wchar_t>(0xD83D)}), replacement);
  EXPECT_EQ(ToUtf8({static_cast<wchar_t>(0xDE00), static_cast<wchar_t>(0xD83D)}), replacement + replacement);
  EXPECT_EQ(ToUtf8({static_cast<wchar_t>(0xD83D), L'x'}), replacement + "x");
  EXPECT_EQ(ToUtf8({static_cast<wchar_t>(0x110000)}), replacement);
  EXPECT_EQ(ToUtf8({static_cast<wchar_t>(-1)}), replacement);
}

TEST(TextConversion, IllFormedUtf8BecomesOneReplacementPerBadSequence) {
  const std::wstring r = kReplacement;
  EXPECT_EQ(ToWide("\xC3"), r);
  EXPECT_EQ(ToWide("\xE2\x82"), r);
  EXPECT_EQ(ToWide("\xE2\x82" "A"), r + L"A");
  EXPECT_EQ(ToWide("\xC0\x80"), r + r);            // overlong
  EXPECT_EQ(ToWide("\xE0\x9F\xBF"), r + r + r);    // overlong
  EXPECT_EQ(ToWide("\xED\xA0\x80"), r + r + r);    // a surrogate
  EXPECT_EQ(ToWide("\xF4\x90\x80\x80"), r + r + r + r);  // above U+10FFFF
  EXPECT_EQ(ToWide("\x80" "a\xFF"), r + L"a" + r);
  EXPECT_EQ(ToWide("\xF0\x9F\x98\x80"), L"\U0001F600");
}

TEST(TextConversion, ValidTextRoundTripsAndAnyBytesDecodeToValidText) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int> plane(0, 3);
  std::uniform_int_distribution<unsigned> value(1, 0x10FFFF);
  std::uniform_int_distribution<int> byte(1, 255);
  for (int round = 0; round < 500; ++round) {
    std::wstring wide;
    for (int i = 0; i < 20; ++i) {
      unsigned c = plane(random) == 0 ? value(random) % 0x80 + 1 : value(random);
      if (c >= 0xD800 && c <= 0xDFFF) c = 0xE000;
      wide += static_cast<wchar_t>(c);
    }
    EXPECT_EQ(ToWide(ToUtf8(wide)), wide);

    std::string bytes;
    for (int i = 0; i < 30; ++i) bytes += static_cast<char>(byte(random));
    const std::wstring decoded = ToWide(bytes);
    EXPECT_LE(decoded.size(), bytes.size());
    EXPECT_EQ(ToWide(ToUtf8(decoded)), decoded);
  }
}

TEST(TextConversion, SizesFollowTheWin32Rules) {
  // -1 converts the terminator too and counts it.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", -1, nullptr, 0), 3);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00E9", -1, nullptr, 0, nullptr, nullptr), 3);
  wchar_t wide[3] = {L'x', L'x', L'x'};
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", -1, wide, 3), 3);
  EXPECT_EQ(wide[2], L'\0');
  // Too small a buffer fails; so do other code pages and empty or null input.
  char narrow[2];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00E9", -1, narrow, 2, nullptr, nullptr), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", -1, wide, 2), 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "ab", -1, wide, 3), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", 0, wide, 3), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, wide, 3), 0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, nullptr, -1, narrow, 2, nullptr, nullptr), 0);

  EXPECT_EQ(Utf8FromWide(L"caf\u00E9"), "caf\xC3\xA9");
  EXPECT_EQ(WideFromUtf8("caf\xC3\xA9"), L"caf\u00E9");
  EXPECT_EQ(Utf8FromWide(nullptr), "");
  EXPECT_EQ(WideFromUtf8(nullptr), L"");
}

}  // namespace
