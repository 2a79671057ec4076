#pragma once
// Push buttons, check boxes and radio buttons.

#include "vcl/Controls.h"

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner) : TWinControl(owner) {}
  bool AcceptsFocus() const override { return true; }
};

// Setting Checked fires OnClick only when the state really changes; a click
// by the user toggles it.
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* owner) : TWinControl(owner) {}

  bool GetChecked() const { return checked_; }
  void SetChecked(bool checked);
  Property<TCheckBox, bool, &TCheckBox::GetChecked, &TCheckBox::SetChecked> Checked{this};

  bool AcceptsFocus() const override { return true; }

 protected:
  void Click() override { SetChecked(!checked_); }

 private:
  bool checked_ = false;
};

// Radio buttons with the same parent exclude each other: checking one
// unchecks the others (without their events) and fires its own OnClick.
// Unchecking fires nothing; a click by the user checks.
class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* owner) : TWinControl(owner) {}

  bool GetChecked() const { return checked_; }
  void SetChecked(bool checked);
  Property<TRadioButton, bool, &TRadioButton::GetChecked, &TRadioButton::SetChecked> Checked{this};

  bool AcceptsFocus() const override { return true; }

 protected:
  void Click() override { SetChecked(true); }

 private:
  bool checked_ = false;
};
