#pragma once
// One attribute of an element: a name and a value, stored escaped unless they
// were given raw (the parser stores them as written in the document).

#include <cstddef>
#include <string>

class XMLElement;

class XMLVariable {
 public:
  XMLVariable(const char* name, const char* value, int raw = 0, const wchar_t* wideName = nullptr,
              const wchar_t* wideValue = nullptr);
  XMLVariable(const XMLVariable&) = delete;
  XMLVariable& operator=(const XMLVariable&) = delete;

  // Replaces the name; trailing blanks are removed (xmlStoredName).
  void setName(const char* text, int raw = 0, const wchar_t* wideText = nullptr);
  void setValue(const char* text, int raw = 0, const wchar_t* wideText = nullptr);
  void clear();

  // See xmlCopyText: capacity bytes at buffer, unescaped unless raw is 1.
  std::size_t copyName(char* buffer, std::size_t capacity, int raw) const;
  std::size_t copyValue(char* buffer, std::size_t capacity, int raw) const;

  const std::string& storedName() const { return name_; }
  const std::string& storedValue() const { return value_; }

  XMLElement* owner() const { return owner_; }
  // Returns the previous owner.
  XMLElement* setOwner(XMLElement* element);

 private:
  std::string name_;
  std::string value_;
  XMLElement* owner_ = nullptr;
};
