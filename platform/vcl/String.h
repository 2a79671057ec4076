#pragma once
// The windows' wide string: text as code points, built from literals and
// numbers, joined with +, compared, and turned into UTF-8 and back for file
// names and for the on-screen toolkit.

#include <compare>
#include <string>

class String {
 public:
  String() = default;
  String(const wchar_t* text) : text_(text ? text : L"") {}
  String(std::wstring text) : text_(std::move(text)) {}
  // Narrow text is taken as UTF-8.
  String(const char* utf8);
  // The decimal form of a number.
  String(int number);

  static String FromUtf8(const std::string& utf8);
  std::string ToUtf8() const;

  const wchar_t* c_str() const { return text_.c_str(); }
  const std::wstring& Wide() const { return text_; }
  // Length in characters.
  int Length() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }

  String& operator+=(const String& tail) {
    text_ += tail.text_;
    return *this;
  }
  friend String operator+(String head, const String& tail) { return head += tail; }
  friend bool operator==(const String& a, const String& b) { return a.text_ == b.text_; }
  friend std::strong_ordering operator<=>(const String& a, const String& b) {
    return a.text_ <=> b.text_;
  }

 private:
  std::wstring text_;
};

// For test failure messages.
void PrintTo(const String& text, std::ostream* out);
