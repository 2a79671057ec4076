#include "vcl/Buttons.h"

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed();
  OnClick(this);
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed();
  if (!checked) return;
  if (TWinControl* parent = GetParent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (sibling && sibling != this && sibling->checked_) {
        sibling->checked_ = false;
        sibling->Changed();
      }
    }
  }
  OnClick(this);
}
