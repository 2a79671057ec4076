#include "vcl/SysUtils.h"

#include <cstdio>
#include <limits>

Exception::Exception(const String& message) : Message(message), utf8_(message.ToUtf8()) {}

int StrToInt(const String& text) {
  const std::wstring& s = text.Wide();
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
  const size_t firstDigit = i;
  // Accumulated as a negative number so that the most negative value fits.
  long long value = 0;
  constexpr long long kLimit = -static_cast<long long>(std::numeric_limits<int>::min());
  for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
    value = value * 10 + (s[i] - L'0');
    if (value > kLimit) break;
  }
  const bool wellFormed = i == s.size() && i > firstDigit;
  const long long signedValue = negative ? -value : value;
  if (!wellFormed || signedValue > std::numeric_limits<int>::max() ||
      signedValue < std::numeric_limits<int>::min())
    throw EConvertError(L"'" + text + L"' is not a valid integer value");
  return static_cast<int>(signedValue);
}

String IntToStr(int value) { return String(value); }

String FloatToStr(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  // The exponent is written without a plus sign and without leading zeros.
  std::string text = buffer;
  const size_t e = text.find('E');
  if (e != std::string::npos) {
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    std::string sign;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
      if (exponent[0] == '-') sign = "-";
      exponent.erase(0, 1);
    }
    exponent.erase(0, exponent.find_first_not_of('0'));
    text = mantissa + "E" + sign + (exponent.empty() ? "0" : exponent);
  }
  return String(text.c_str());
}
