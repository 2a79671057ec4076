#pragma once
// Placing the controls of a window: each is owned by the window, sits inside
// a parent at a place of the parent's client area and shows its caption.

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
