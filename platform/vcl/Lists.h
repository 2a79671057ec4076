#pragma once
// List boxes and combo boxes. Program calls (Clear, adding lines, setting
// ItemIndex) fire no events; an index outside the list becomes -1.

#include <memory>

#include "vcl/Controls.h"

// A user's choice of a line selects it and fires OnClick.
class TListBox : public TWinControl {
 public:
  explicit TListBox(TComponent* owner);

  TStrings* GetItems() const { return items_.get(); }
  int GetItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int GetItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);
  ReadOnlyProperty<TListBox, TStrings*, &TListBox::GetItems> Items{this};
  Property<TListBox, int, &TListBox::GetItemIndex, &TListBox::SetItemIndex> ItemIndex{this};
  Property<TListBox, int, &TListBox::GetItemHeight, &TListBox::SetItemHeight> ItemHeight{this};

  void Clear() { items_->Clear(); }
  // Appends a line. No object is kept with it.
  void AddItem(const String& item, TObject* /*object*/) { items_->Add(item); }

  bool AcceptsFocus() const override { return true; }

 protected:
  void Click() override {}
  void ChooseItem(TMessage& message) override;

 private:
  void ItemsChanged();

  std::unique_ptr<TStrings> items_;
  int itemIndex_ = -1;
  int itemHeight_ = 13;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// A user's choice of an item selects it and fires OnClick, then OnChange.
// In the editable style (csDropDown) typing replaces the text and fires
// OnChange; the selected item stays. Setting the text from the program fires
// nothing. Selecting an item shows it as the text; no selection, no text.
class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);

  TStrings* GetItems() const { return items_.get(); }
  int GetItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  TComboBoxStyle GetStyle() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  ReadOnlyProperty<TComboBox, TStrings*, &TComboBox::GetItems> Items{this};
  Property<TComboBox, int, &TComboBox::GetItemIndex, &TComboBox::SetItemIndex> ItemIndex{this};
  Property<TComboBox, TComboBoxStyle, &TComboBox::GetStyle, &TComboBox::SetStyle> Style{this};

  TNotifyEvent OnChange;

  void Clear() { items_->Clear(); }
  // Appends an item. No object is kept with it.
  void AddItem(const String& item, TObject* /*object*/) { items_->Add(item); }

  bool AcceptsFocus() const override { return true; }

 protected:
  void Click() override {}
  void ChooseItem(TMessage& message) override;
  void TypeText(TMessage& message) override;

 private:
  void ItemsChanged();

  std::unique_ptr<TStrings> items_;
  int itemIndex_ = -1;
  TComboBoxStyle style_ = csDropDown;
};
