#include "vcl/Lists.h"

namespace {

int ValidIndex(int index, const TStrings& items) {
  return index >= 0 && index < items.GetCount() ? index : -1;
}

}  // namespace

TCustomListControl::TCustomListControl(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStrings>([this] { ItemsChanged(); })) {}

void TCustomListControl::SetItemIndex(int index) {
  itemIndex_ = ValidIndex(index, *items_);
  IndexSet();
  Changed();
}

void TCustomListControl::ItemsChanged() {
  itemIndex_ = ValidIndex(itemIndex_, *items_);
  LinesChanged();
  Changed();
}

void TCustomListControl::ChooseItem(TMessage& message) {
  const int index = static_cast<int>(message.WParam);
  if (ValidIndex(index, *items_) < 0) return;
  message.Result = 1;
  SetItemIndex(index);
  FireChoiceEvents();
}

void TListBox::SetItemHeight(int height) {
  if (height == itemHeight_) return;
  itemHeight_ = height;
  Changed();
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  if (style_ == csDropDownList) IndexSet();
  Changed();
}

void TComboBox::FireChoiceEvents() {
  OnClick(this);
  OnChange(this);
}

// The text shows the selected item, or nothing.
void TComboBox::IndexSet() {
  const int index = GetItemIndex();
  SetText(index >= 0 ? (*GetItems())[index] : String());
}

// Emptying the list also empties the text, as the system's combo box does.
void TComboBox::LinesChanged() {
  if (GetItems()->GetCount() == 0) SetText(String());
}

// A step past either end names no line, which ChooseItem ignores.
void TComboBox::KeyDown(WORD key) {
  if (key != VK_DOWN && key != VK_UP) return;
  const int index = GetItemIndex();
  const int next = index < 0 ? 0 : index + (key == VK_DOWN ? 1 : -1);
  TMessage choice{VM_CHOOSEITEM, static_cast<WPARAM>(next)};
  ChooseItem(choice);
}

void TComboBox::TypeText(TMessage& message) {
  if (style_ == csDropDownList) return;
  message.Result = 1;
  const String& typed = *reinterpret_cast<const String*>(message.LParam);
  if (typed == GetText()) return;
  SetText(typed);
  OnChange(this);
}
