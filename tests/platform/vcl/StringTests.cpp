// Strings and the number conversions.

#include <gtest/gtest.h>

#include <climits>

#include "vcl/SysUtils.h"

TEST(StrToInt, ReadsSignedDecimalsWithin32Bits) {
  EXPECT_EQ(StrToInt(L"0"), 0);
  EXPECT_EQ(StrToInt(L"-15"), -15);
  EXPECT_EQ(StrToInt(L"+360"), 360);
  EXPECT_EQ(StrToInt(L"007"), 7);
  EXPECT_EQ(StrToInt(L"2147483647"), INT_MAX);
  EXPECT_EQ(StrToInt(L"-2147483648"), INT_MIN);
}

TEST(StrToInt, RefusesEverythingElseWithTheConversionError) {
  for (const wchar_t* bad : {L"", L"-", L"+", L" 1", L"1 ", L"1a", L"0x10", L"1.5", L"--1",
                             L"2147483648", L"-2147483649", L"99999999999999999999"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted: " << String(bad).ToUtf8();
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Message, String(L"'") + bad + L"' is not a valid integer value");
    }
  }
}

TEST(IntToStr, RoundTripsThroughStrToInt) {
  for (int value : {0, 1, -1, 42, -360, 65535, INT_MAX, INT_MIN})
    EXPECT_EQ(StrToInt(IntToStr(value)), value);
  EXPECT_EQ(IntToStr(-360), String(L"-360"));
}

TEST(FloatToStr, WritesTheShortestForm) {
  EXPECT_EQ(FloatToStr(0.5), String(L"0.5"));
  EXPECT_EQ(FloatToStr(120.0), String(L"120"));
  EXPECT_EQ(FloatToStr(-2.5e-5), String(L"-2.5E-5"));
  EXPECT_EQ(FloatToStr(1e20), String(L"1E20"));
  EXPECT_EQ(FloatToStr(0.1f), String(L"0.100000001490116"));
}

TEST(String, BuildsFromLiteralsAndNumbersAndCompares) {
  const String caption = L"Mesh #" + IntToStr(3);
  EXPECT_EQ(caption, String(L"Mesh #3"));
  EXPECT_EQ(String("Num Animations:") + String(12), String(L"Num Animations:12"));
  EXPECT_LT(String(L"Animation #1"), String(L"Animation #2"));
  EXPECT_NE(String(L"a"), String(L"a "));
  EXPECT_EQ(caption.Length(), 7);
}

TEST(String, ConvertsToAndFromUtf8) {
  const String name(L"cami\u00F3n \u4E2D \U0001F600.wad");
  EXPECT_EQ(name.ToUtf8(), "cami\xC3\xB3n \xE4\xB8\xAD \xF0\x9F\x98\x80.wad");
  EXPECT_EQ(String::FromUtf8(name.ToUtf8()), name);
  EXPECT_EQ(name.Length(), 14);  // code points, one each
  // Broken sequences: a lone continuation, a truncated lead, an overlong form.
  EXPECT_EQ(String::FromUtf8("a\x80z"), String(L"a\uFFFDz"));
  EXPECT_EQ(String::FromUtf8("a\xE4\xB8"), String(L"a\uFFFD"));
  // C0 can never start a character, so each byte is replaced on its own.
  EXPECT_EQ(String::FromUtf8("\xC0\xAF"), String(L"\uFFFD\uFFFD"));
}
