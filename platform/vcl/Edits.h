#pragma once
// Text fields: the edit and the spin edit.

#include "vcl/Controls.h"

// Setting the text fires OnChange only when it really changes, whether the
// program sets it or the user types. Typing into a read-only field, or
// anything but digits into a digits-only field, is refused.
class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner) : TWinControl(owner) {}

  bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  bool GetNumbersOnly() const { return numbersOnly_; }
  void SetNumbersOnly(bool numbersOnly);
  Property<TEdit, bool, &TEdit::GetReadOnly, &TEdit::SetReadOnly> ReadOnly{this};
  Property<TEdit, bool, &TEdit::GetNumbersOnly, &TEdit::SetNumbersOnly> NumbersOnly{this};

  TNotifyEvent OnChange;

  bool AcceptsFocus() const override { return true; }

 protected:
  void Click() override {}
  void TypeText(TMessage& message) override;
  void TextChanged() override { OnChange(this); }

 private:
  bool readOnly_ = false;
  bool numbersOnly_ = false;
};

// A whole number with up and down steps. Its Value is the text read as a
// number; while the text is not one (half typed, or a typo), the Value is the
// last number the field held, and leaving the field shows that number again,
// so that no typo is ever taken as a value. Setting Value clamps it into
// MinValue..MaxValue unless the two are equal, and writes it as the text,
// which fires OnChange when the text really changes. Changing the range does
// not clamp the value; leaving the field does, and so do the Up and Down keys.
class TCSpinEdit : public TWinControl {
 public:
  explicit TCSpinEdit(TComponent* owner);

  int GetValue() const;
  void SetValue(int value);
  int GetMinValue() const { return minValue_; }
  void SetMinValue(int value) { minValue_ = value; }
  int GetMaxValue() const { return maxValue_; }
  void SetMaxValue(int value) { maxValue_ = value; }
  Property<TCSpinEdit, int, &TCSpinEdit::GetValue, &TCSpinEdit::SetValue> Value{this};
  Property<TCSpinEdit, int, &TCSpinEdit::GetMinValue, &TCSpinEdit::SetMinValue> MinValue{this};
  Property<TCSpinEdit, int, &TCSpinEdit::GetMaxValue, &TCSpinEdit::SetMaxValue> MaxValue{this};

  TNotifyEvent OnChange;

  bool AcceptsFocus() const override { return true; }

 protected:
  void Click() override {}
  void KeyDown(WORD key) override;
  void FocusLost() override;
  void TypeText(TMessage& message) override;
  void TextChanged() override;

 private:
  int Clamp(int value) const;

  int minValue_ = 0;
  int maxValue_ = 0;
  int lastNumber_ = 0;  // the last text that was a number
};
