#pragma once
// The main menu of a form: a tree of items whose root holds the menu bar's
// items. An item with the caption "-" is a separator line.

#include <vector>

#include "vcl/Classes.h"
#include "vcl/Events.h"

class TCustomForm;
class TMainMenu;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  String GetCaption() const { return caption_; }
  void SetCaption(const String& caption);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int GetCount() const { return static_cast<int>(items_.size()); }

  Property<TMenuItem, String, &TMenuItem::GetCaption, &TMenuItem::SetCaption> Caption{this};
  Property<TMenuItem, bool, &TMenuItem::GetEnabled, &TMenuItem::SetEnabled> Enabled{this};
  ReadOnlyProperty<TMenuItem, int, &TMenuItem::GetCount> Count{this};

  TNotifyEvent OnClick;

  // Appends a sub-item (taking it from any item that held it before).
  void Add(TMenuItem* item);
  TMenuItem* Item(int index) const { return items_.at(static_cast<size_t>(index)); }
  TMenuItem* GetParent() const { return parent_; }
  bool IsLine() const { return caption_ == String(L"-"); }
  // Runs the item's handler, as choosing it does.
  void Click() { OnClick(this); }
  // Whether a person can choose the item now: it has no sub-items, is no
  // line, it and the items above it are enabled, and its form takes input.
  bool TakesInput() const;
  // The menu whose tree holds this item, or null.
  TMainMenu* GetMenu() const;

 private:
  friend class TMainMenu;
  void Remove(TMenuItem* item);
  void Changed() const;

  String caption_;
  bool enabled_ = true;
  TMenuItem* parent_ = nullptr;
  TMainMenu* menu_ = nullptr;  // set on a menu's root item only
  std::vector<TMenuItem*> items_;
};

class TMainMenu : public TComponent {
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;

  // The root item: its sub-items are the menu bar's items.
  TMenuItem* GetItems() const { return items_; }
  ReadOnlyProperty<TMainMenu, TMenuItem*, &TMainMenu::GetItems> Items{this};
  // The form showing this menu, or null.
  TCustomForm* GetForm() const { return form_; }

 private:
  friend class TCustomForm;
  friend class TMenuItem;
  TMenuItem* items_;
  TCustomForm* form_ = nullptr;
};
