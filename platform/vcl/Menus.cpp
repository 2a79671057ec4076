#include "vcl/Menus.h"

#include <algorithm>

#include "vcl/Forms.h"

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  DestroyComponents();
  for (TMenuItem* item : items_) item->parent_ = nullptr;
  items_.clear();
  if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const String& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TMenuItem::Add(TMenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  item->parent_ = this;
  items_.push_back(item);
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->parent_ = nullptr;
  Changed();
}

TMainMenu* TMenuItem::GetMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

bool TMenuItem::TakesInput() const {
  if (!items_.empty() || IsLine()) return false;
  for (const TMenuItem* item = this; item; item = item->parent_)
    if (!item->enabled_) return false;
  const TMainMenu* menu = GetMenu();
  const TCustomForm* form = menu ? menu->GetForm() : nullptr;
  return form && form->TakesInput();
}

// The menu bar is drawn by the form's window.
void TMenuItem::Changed() const {
  const TMainMenu* menu = GetMenu();
  if (menu && menu->form_) menu->form_->Changed();
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->menu_ = this;
}

TMainMenu::~TMainMenu() {
  if (TCustomForm* form = form_) {
    form->menu_ = nullptr;
    form_ = nullptr;
    form->Changed();
  }
  DestroyComponents();
}
