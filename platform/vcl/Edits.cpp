#include "vcl/Edits.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "vcl/SysUtils.h"

namespace {

bool AllDigits(const String& text) {
  const std::wstring& s = text.Wide();
  return std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

const String& TypedText(const TMessage& message) {
  return *reinterpret_cast<const String*>(message.LParam);
}

std::optional<int> NumberIn(const String& text) {
  try {
    return StrToInt(text);
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

}  // namespace

void TEdit::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  Changed();
}

void TEdit::SetNumbersOnly(bool numbersOnly) { numbersOnly_ = numbersOnly; }

void TEdit::TypeText(TMessage& message) {
  const String& text = TypedText(message);
  if (readOnly_ || (numbersOnly_ && !AllDigits(text))) return;
  message.Result = 1;
  SetText(text);
}

TCSpinEdit::TCSpinEdit(TComponent* owner) : TWinControl(owner) { SetText(L"0"); }

int TCSpinEdit::GetValue() const { return NumberIn(GetText()).value_or(lastNumber_); }

void TCSpinEdit::SetValue(int value) { SetText(IntToStr(Clamp(value))); }

int TCSpinEdit::Clamp(int value) const {
  if (minValue_ == maxValue_) return value;
  return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

void TCSpinEdit::KeyDown(WORD key) {
  const int value = GetValue();
  if (key == VK_UP && value < std::numeric_limits<int>::max()) SetValue(value + 1);
  if (key == VK_DOWN && value > std::numeric_limits<int>::min()) SetValue(value - 1);
}

// The handlers see every text; only numbers become the field's value.
void TCSpinEdit::TextChanged() {
  if (const std::optional<int> number = NumberIn(GetText())) lastNumber_ = *number;
  OnChange(this);
}

// Typed text that is no number gives way to the last number the field held,
// and a number outside the range is clamped, when the user leaves the field.
void TCSpinEdit::FocusLost() {
  const std::optional<int> number = NumberIn(GetText());
  if (!number || Clamp(*number) != *number) SetValue(GetValue());
}

void TCSpinEdit::TypeText(TMessage& message) {
  message.Result = 1;
  SetText(TypedText(message));
}
