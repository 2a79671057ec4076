#include "vcl/User.h"

#include "vcl/Application.h"
#include "vcl/Menus.h"
#include "vcl/MouseParams.h"
#include "win32/Cursor.h"

namespace User {
namespace {

UINT DownMessage(TMouseButton button) {
  switch (button) {
    case mbRight: return WM_RBUTTONDOWN;
    case mbMiddle: return WM_MBUTTONDOWN;
    case mbLeft: break;
  }
  return WM_LBUTTONDOWN;
}

UINT UpMessage(TMouseButton button) {
  switch (button) {
    case mbRight: return WM_RBUTTONUP;
    case mbMiddle: return WM_MBUTTONUP;
    case mbLeft: break;
  }
  return WM_LBUTTONUP;
}

void MoveCursor(TControl* control, int x, int y) {
  const POINT screen = control->ClientToScreen(POINT{x, y});
  SetCursorPos(screen.x, screen.y);
}

// Sends one mouse message at a point of the control.
bool SendMouse(TControl* control, UINT msg, TShiftState shift, int x, int y) {
  if (!control || !control->TakesInput()) return false;
  MoveCursor(control, x, y);
  vcl::Guard([&] {
    TMessage message{msg, vcl::MouseParamFromShift(shift), MakePointParam(x, y)};
    control->Perform(message);
  });
  return true;
}

void FocusIfField(TControl* control) {
  auto* field = dynamic_cast<TWinControl*>(control);
  if (field && field->AcceptsFocus()) field->SetFocus();
}

// Sends an input message that the control may refuse (Result 0).
bool SendInput(TControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!control || !control->TakesInput()) return false;
  bool taken = true;
  vcl::Guard([&] {
    FocusIfField(control);
    TMessage message{msg, wParam, lParam};
    control->Perform(message);
    taken = message.Result != 0;
  });
  return taken;
}

}  // namespace

bool Click(TControl* control) {
  if (!control) return false;
  return Click(control, control->GetWidth() / 2, control->GetHeight() / 2);
}

bool Click(TControl* control, int x, int y) {
  return MouseDown(control, mbLeft, {}, x, y) && MouseUp(control, mbLeft, {}, x, y);
}

bool MouseDown(TControl* control, TMouseButton button, TShiftState shift, int x, int y) {
  if (!control) return false;
  shift = TShiftState::FromBits(shift.Bits() | control->HeldButtons().Bits() | vcl::ButtonShiftFlag(button));
  return SendMouse(control, DownMessage(button), shift, x, y);
}

bool MouseMove(TControl* control, TShiftState shift, int x, int y) {
  if (!control) return false;
  shift = TShiftState::FromBits(shift.Bits() | control->HeldButtons().Bits());
  return SendMouse(control, WM_MOUSEMOVE, shift, x, y);
}

bool MouseUp(TControl* control, TMouseButton button, TShiftState shift, int x, int y) {
  if (!control) return false;
  const int held = control->HeldButtons().Bits() & ~vcl::ButtonShiftFlag(button);
  shift = TShiftState::FromBits((shift.Bits() | held) & ~vcl::ButtonShiftFlag(button));
  return SendMouse(control, UpMessage(button), shift, x, y);
}

bool TypeText(TControl* control, const String& text) {
  return SendInput(control, VM_TYPETEXT, 0, reinterpret_cast<LPARAM>(&text));
}

bool LeaveField(TControl* control) {
  if (!control || !control->TakesInput()) return false;
  vcl::Guard([&] {
    auto* field = dynamic_cast<TWinControl*>(control);
    TCustomForm* form = control->GetParentForm();
    if (field && field->Focused()) {
      form->FocusControl(nullptr);
    } else {
      TMessage message{WM_KILLFOCUS};
      control->Perform(message);
    }
  });
  return true;
}

bool PressKey(TControl* control, WORD key) {
  if (!control || !control->TakesInput()) return false;
  vcl::Guard([&] {
    FocusIfField(control);
    TMessage message{WM_KEYDOWN, key};
    control->Perform(message);
  });
  return true;
}

bool ChooseItem(TControl* list, int index) {
  return SendInput(list, VM_CHOOSEITEM, static_cast<WPARAM>(index), 0);
}

bool ChooseMenuItem(TMenuItem* item) {
  if (!item || !item->TakesInput()) return false;
  vcl::Guard([item] { item->Click(); });
  return true;
}

bool CloseWindow(TCustomForm* form) {
  if (!form || !form->TakesInput()) return false;
  vcl::Guard([form] { form->Close(); });
  return true;
}

bool PaintWindow(TCustomForm* form) {
  if (!form || !form->GetVisible()) return false;
  vcl::Guard([form] { form->OnPaint(form); });
  return true;
}

}  // namespace User

