#include "xml/XMLVariable.h"

#include "xml/XMLText.h"

XMLVariable::XMLVariable(const char* name, const char* value, int raw, const wchar_t* wideName,
                         const wchar_t* wideValue) {
  setName(name, raw, wideName);
  setValue(value, raw, wideValue);
}

void XMLVariable::setName(const char* text, int raw, const wchar_t* wideText) {
  name_ = xmlStoredName(xmlNarrowOrWide(text, wideText), raw);
}

void XMLVariable::setValue(const char* text, int raw, const wchar_t* wideText) {
  value_ = xmlStoredForm(xmlNarrowOrWide(text, wideText), raw);
}

void XMLVariable::clear() {
  name_.clear();
  value_.clear();
}

std::size_t XMLVariable::copyName(char* buffer, std::size_t capacity, int raw) const {
  return xmlCopyText(name_, buffer, capacity, raw);
}

std::size_t XMLVariable::copyValue(char* buffer, std::size_t capacity, int raw) const {
  return xmlCopyText(value_, buffer, capacity, raw);
}

XMLElement* XMLVariable::setOwner(XMLElement* element) {
  XMLElement* previous = owner_;
  owner_ = element;
  return previous;
}
