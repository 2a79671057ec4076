#pragma once
// List boxes and combo boxes. Program calls (Clear, adding lines, setting
// ItemIndex) fire no events; an index outside the list becomes -1.

#include <memory>

#include "vcl/Controls.h"

// What list boxes and combo boxes share: their lines and the selected one.
class TCustomListControl : public TWinControl {
 public:
  explicit TCustomListControl(TComponent* owner);

  TStrings* GetItems() const { return items_.get(); }
  int GetItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  ReadOnlyProperty<TCustomListControl, TStrings*, &TCustomListControl::GetItems> Items{this};
  Property<TCustomListControl, int, &TCustomListControl::GetItemIndex,
           &TCustomListControl::SetItemIndex>
      ItemIndex{this};

  void Clear() { items_->Clear(); }
  // Appends a line. No object is kept with it.
  void AddItem(const String& item, TObject* /*object*/) { items_->Add(item); }

  bool AcceptsFocus() const override { return true; }

 protected:
  void Click() override {}
  // The user chose a line: it is selected, then the events fire.
  void ChooseItem(TMessage& message) override;
  virtual void FireChoiceEvents() = 0;
  // Run after ItemIndex was set, and after the lines changed.
  virtual void IndexSet() {}
  virtual void LinesChanged() {}

 private:
  void ItemsChanged();

  std::unique_ptr<TStrings> items_;
  int itemIndex_ = -1;
};

// A user's choice of a line fires OnClick.
class TListBox : public TCustomListControl {
 public:
  explicit TListBox(TComponent* owner) : TCustomListControl(owner) {}

  int GetItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);
  Property<TListBox, int, &TListBox::GetItemHeight, &TListBox::SetItemHeight> ItemHeight{this};

 protected:
  void FireChoiceEvents() override { OnClick(this); }

 private:
  int itemHeight_ = 13;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// A user's choice of an item fires OnClick, then OnChange; Down and Up
// choose the next and the previous item so (the first with none selected),
// and nothing at either end. In the editable style (csDropDown) typing
// replaces the text and fires OnChange; the selected item stays. Setting the
// text from the program fires nothing. The selected item shows as the text;
// with no selection, or with no items after a Clear, the text is empty.
class TComboBox : public TCustomListControl {
 public:
  explicit TComboBox(TComponent* owner) : TCustomListControl(owner) {}

  TComboBoxStyle GetStyle() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  Property<TComboBox, TComboBoxStyle, &TComboBox::GetStyle, &TComboBox::SetStyle> Style{this};

  TNotifyEvent OnChange;

 protected:
  void FireChoiceEvents() override;
  void IndexSet() override;
  void LinesChanged() override;
  void TypeText(TMessage& message) override;
  void KeyDown(WORD key) override;

 private:
  TComboBoxStyle style_ = csDropDown;
};
