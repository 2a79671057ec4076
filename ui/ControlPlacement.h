#pragma once
// Placing the controls of a window: each is owned by the window, sits inside
// a parent at a place of the parent's client area and shows its caption. And
// placing a window of the editor over the main window.

#include "vcl/Vcl.h"

template <class T>
T* Place(TComponent* owner, TWinControl* parent, int left, int top, int width, int height,
         const wchar_t* caption = nullptr) {
  T* control = new T(owner);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  if (caption != nullptr) control->SetText(caption);
  return control;
}

// Places a window over the middle of the main window's client area, where
// the main window was designed to be (on screen the window then keeps that
// place relative to the main window). Nothing without a main window.
inline void PlaceOverMainWindow(TCustomForm* form) {
  const TCustomForm* main = Application != nullptr ? Application->GetMainForm() : nullptr;
  if (main == nullptr || main == form) return;
  form->SetLeft(main->GetLeft() + (main->GetClientWidth() - form->GetClientWidth()) / 2);
  form->SetTop(main->GetTop() + (main->GetClientHeight() - form->GetClientHeight()) / 2);
}
