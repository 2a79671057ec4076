#pragma once
// The library's exception class and its number conversions.

#include <exception>
#include <string>

#include "vcl/String.h"

// What the library throws; the application object shows its message.
class Exception : public std::exception {
 public:
  explicit Exception(const String& message);
  const char* what() const noexcept override { return utf8_.c_str(); }

  String Message;

 private:
  std::string utf8_;
};

// Raised by the number conversions on text that is not a number.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A whole number in decimal: an optional sign, then digits, nothing else, and
// within 32 bits. Raises EConvertError otherwise.
int StrToInt(const String& text);

String IntToStr(int value);

// Up to 15 significant digits, as short as the value allows ("0.5", "120",
// "1E20", "-2.5E-5").
String FloatToStr(double value);
