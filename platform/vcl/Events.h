#pragma once
// Event handlers. A handler is a closure: a method bound to its object
// (`Button9->OnClick = Bind(this, &TForm2::Button9Click)`) or any callable.
// An unassigned handler is empty and firing it does nothing.

#include <functional>
#include <initializer_list>
#include <utility>

class TObject;

template <class... Args>
class Closure {
 public:
  Closure() = default;
  Closure(std::nullptr_t) {}
  template <class F>
    requires std::is_invocable_v<F&, Args...> && (!std::is_same_v<std::decay_t<F>, Closure>)
  Closure(F function) : function_(std::move(function)) {}

  explicit operator bool() const { return static_cast<bool>(function_); }
  // Runs the handler, if any.
  void operator()(Args... args) const {
    if (function_) function_(std::forward<Args>(args)...);
  }

 private:
  std::function<void(Args...)> function_;
};

// A method of an object as a handler. The method is called virtually.
template <class T, class C, class... Args>
  requires std::is_base_of_v<C, T>
Closure<Args...> Bind(T* object, void (C::*method)(Args...)) {
  return Closure<Args...>([object, method](Args... args) {
    (object->*method)(std::forward<Args>(args)...);
  });
}

// Which keys and mouse buttons are held.
enum TShiftStateFlag { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };

class TShiftState {
 public:
  TShiftState() = default;
  TShiftState(std::initializer_list<TShiftStateFlag> flags) {
    for (TShiftStateFlag flag : flags) bits_ |= flag;
  }
  static TShiftState FromBits(int bits) {
    TShiftState state;
    state.bits_ = bits;
    return state;
  }
  bool Contains(TShiftStateFlag flag) const { return (bits_ & flag) != 0; }
  TShiftState& operator<<(TShiftStateFlag flag) {
    bits_ |= flag;
    return *this;
  }
  int Bits() const { return bits_; }
  bool operator==(const TShiftState&) const = default;

 private:
  int bits_ = 0;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// What the form does when it is asked to close.
enum TCloseAction { caNone, caHide };

struct TMessage;

using TNotifyEvent = Closure<TObject*>;
using TMouseEvent = Closure<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = Closure<TObject*, TShiftState, int, int>;
using TIdleEvent = Closure<TObject*, bool&>;
using TCloseEvent = Closure<TObject*, TCloseAction&>;
using TWndMethod = Closure<TMessage&>;
