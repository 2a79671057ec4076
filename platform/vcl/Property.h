#pragma once
// Properties: a control's state reads and writes like a field
// (`Edit1->Text = L"0"`, `int v = CSpinEdit1->Value`) while every write goes
// through the control's setter, which keeps the control consistent, updates
// the screen and fires the control's events. Every property of the library is
// one of these two templates over a getter (and setter) that stay public.

#include <type_traits>

template <class Owner, class T, auto Getter>
class ReadOnlyProperty {
 public:
  explicit ReadOnlyProperty(Owner* owner) : owner_(owner) {}
  ReadOnlyProperty(const ReadOnlyProperty&) = delete;
  ReadOnlyProperty& operator=(const ReadOnlyProperty&) = delete;

  T Get() const { return (owner_->*Getter)(); }
  operator T() const { return Get(); }
  // For pointer-valued properties: `ListBox1->Items->Add(...)`.
  T operator->() const
    requires std::is_pointer_v<T>
  {
    return Get();
  }

 protected:
  Owner* owner_;
};

template <class Owner, class T, auto Getter, auto Setter>
class Property : public ReadOnlyProperty<Owner, T, Getter> {
 public:
  using ReadOnlyProperty<Owner, T, Getter>::ReadOnlyProperty;

  // `a->Text = b->Text` copies the value, not the property.
  Property& operator=(const Property& other) { return *this = other.Get(); }
  Property& operator=(const T& value) {
    (this->owner_->*Setter)(value);
    return *this;
  }
};
