#include "vcl/Edits.h"

#include <algorithm>
#include <limits>

#include "vcl/SysUtils.h"

namespace {

bool AllDigits(const String& text) {
  const std::wstring& s = text.Wide();
  return std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

const String& TypedText(const TMessage& message) {
  return *reinterpret_cast<const String*>(message.LParam);
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

int TCSpinEdit::GetValue() const {
  try {
    return StrToInt(GetText());
  } catch (const EConvertError&) {
    return minValue_;
  }
}

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

// Typed text that is no number (read as the minimum), or a number outside the
// range, is put right when the user leaves the field.
void TCSpinEdit::FocusLost() {
  bool isNumber = true;
  try {
    StrToInt(GetText());
  } catch (const EConvertError&) {
    isNumber = false;
  }
  const int value = GetValue();
  if (!isNumber || Clamp(value) != value) SetValue(value);
}

void TCSpinEdit::TypeText(TMessage& message) {
  message.Result = 1;
  SetText(TypedText(message));
}
