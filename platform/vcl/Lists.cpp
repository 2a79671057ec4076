#include "vcl/Lists.h"

namespace {

int ValidIndex(int index, const TStrings& items) {
  return index >= 0 && index < items.GetCount() ? index : -1;
}

}  // namespace

TListBox::TListBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStrings>([this] { ItemsChanged(); })) {}

void TListBox::SetItemIndex(int index) {
  itemIndex_ = ValidIndex(index, *items_);
  Changed();
}

void TListBox::SetItemHeight(int height) {
  if (height == itemHeight_) return;
  itemHeight_ = height;
  Changed();
}

void TListBox::ItemsChanged() {
  itemIndex_ = ValidIndex(itemIndex_, *items_);
  Changed();
}

void TListBox::ChooseItem(TMessage& message) {
  const int index = static_cast<int>(message.WParam);
  if (ValidIndex(index, *items_) < 0) return;
  message.Result = 1;
  SetItemIndex(index);
  OnClick(this);
}

TComboBox::TComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStrings>([this] { ItemsChanged(); })) {}

void TComboBox::SetItemIndex(int index) {
  itemIndex_ = ValidIndex(index, *items_);
  SetText(itemIndex_ >= 0 ? (*items_)[itemIndex_] : String());
  Changed();
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  if (style_ == csDropDownList) SetText(itemIndex_ >= 0 ? (*items_)[itemIndex_] : String());
  Changed();
}

// Emptying the list also empties the text, as the system's combo box does.
void TComboBox::ItemsChanged() {
  if (items_->GetCount() == 0) {
    itemIndex_ = -1;
    SetText(String());
  }
  Changed();
}

void TComboBox::ChooseItem(TMessage& message) {
  const int index = static_cast<int>(message.WParam);
  if (ValidIndex(index, *items_) < 0) return;
  message.Result = 1;
  SetItemIndex(index);
  OnClick(this);
  OnChange(this);
}

void TComboBox::TypeText(TMessage& message) {
  if (style_ == csDropDownList) return;
  message.Result = 1;
  const String& typed = *reinterpret_cast<const String*>(message.LParam);
  if (typed == GetText()) return;
  SetText(typed);
  OnChange(this);
}
