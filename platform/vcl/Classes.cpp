#include "vcl/Classes.h"

#include <algorithm>

#include "vcl/SysUtils.h"

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) {
    auto& siblings = owner_->components_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
}

int TStrings::Add(const String& line) {
  lines_.push_back(line);
  if (changed_) changed_();
  return GetCount() - 1;
}

void TStrings::Clear() {
  lines_.clear();
  if (changed_) changed_();
}

const String& TStrings::operator[](int index) const {
  if (index < 0 || index >= GetCount())
    throw Exception(L"List index out of bounds (" + IntToStr(index) + L")");
  return lines_[static_cast<size_t>(index)];
}
