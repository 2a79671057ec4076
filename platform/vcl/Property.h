#pragma once
// Properties: a control's state reads and writes like a field
// (`Edit1->Text = L"0"`, `int v = CSpinEdit1->Value`) while every write goes
// through the control's setter, which keeps the control consistent, updates
// the screen and fires the control's events. Every property of the library is
// one of these two templates over a getter/setter pair that stays public.

#include <type_traits>

template <class Owner, class T, auto Getter, auto Setter>
class Property {
 public:
  explicit Property(Owner* owner) : owner_(owner) {}
  Property(const Property&) = delete;

  // `a->Text = b->Text` copies the value, not the property.
  Property& operator=(const Property& other) { return *this = other.Get(); }
  Property& operator=(const T& value) {
    (owner_->*Setter)(value);
    return *this;
  }

  T Get() const { return (owner_->*Getter)(); }
  operator T() const { return Get(); }
  // For pointer-valued properties: `ListBox1->Items->Add(...)`.
  T operator->() const
    requires std::is_pointer_v<T>
  {
    return Get();
  }

 private:
  Owner* owner_;
};

template <class Owner, class T, auto Getter>
class ReadOnlyProperty {
 public:
  explicit ReadOnlyProperty(const Owner* owner) : owner_(owner) {}
  ReadOnlyProperty(const ReadOnlyProperty&) = delete;
  ReadOnlyProperty& operator=(const ReadOnlyProperty&) = delete;

  T Get() const { return (owner_->*Getter)(); }
  operator T() const { return Get(); }
  T operator->() const
    requires std::is_pointer_v<T>
  {
    return Get();
  }

 private:
  const Owner* owner_;
};
