#include "vcl/Controls.h"

#include <algorithm>

#include "vcl/Forms.h"
#include "vcl/MouseParams.h"

using vcl::ButtonShiftFlag;
using vcl::ShiftFromMouseParam;

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = Bind(this, &TControl::WndProc);
}

TControl::~TControl() {
  DestroyComponents();
  SetParent(nullptr);
  peer_.reset();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left, top_ = top, width_ = width, height_ = height;
  Changed();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    DropPeers();
    parent_->RemoveControl(this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    if (parent_->Peer()) parent_->Peer()->ChildAdded(*this);
  }
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TControl::SetText(const String& text) {
  if (text == text_) return;
  text_ = text;
  Changed();
  TextChanged();
}

void TControl::Perform(TMessage& message) { WindowProc(message); }

TCustomForm* TControl::GetParentForm() const {
  const TControl* control = this;
  while (control->parent_) control = control->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

bool TControl::TakesInput() const {
  for (const TControl* control = this; control; control = control->parent_)
    if (!control->visible_ || !control->enabled_) return false;
  return GetParentForm() != nullptr;
}

POINT TControl::ClientOrigin() const {
  POINT origin{left_, top_};
  if (parent_) {
    const POINT outer = parent_->ClientOrigin();
    origin.x += outer.x;
    origin.y += outer.y;
  }
  return origin;
}

POINT TControl::ClientToScreen(POINT point) const {
  const POINT origin = ClientOrigin();
  return POINT{origin.x + point.x, origin.y + point.y};
}

void TControl::SetPeer(std::unique_ptr<vcl::ControlPeer> peer) {
  peer_ = std::move(peer);
  Changed();
}

void TControl::DropPeers() { peer_.reset(); }

void TControl::Changed() {
  if (peer_) peer_->Sync();
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN: MouseButton(message, mbLeft, true); break;
    case WM_LBUTTONUP: MouseButton(message, mbLeft, false); break;
    case WM_RBUTTONDOWN: MouseButton(message, mbRight, true); break;
    case WM_RBUTTONUP: MouseButton(message, mbRight, false); break;
    case WM_MBUTTONDOWN: MouseButton(message, mbMiddle, true); break;
    case WM_MBUTTONUP: MouseButton(message, mbMiddle, false); break;
    case WM_MOUSEMOVE:
      OnMouseMove(this, ShiftFromMouseParam(message.WParam), PointParamX(message.LParam),
                  PointParamY(message.LParam));
      break;
    case WM_KEYDOWN: KeyDown(static_cast<WORD>(message.WParam)); break;
    case WM_KILLFOCUS: FocusLost(); break;
    case VM_TYPETEXT: TypeText(message); break;
    case VM_CHOOSEITEM: ChooseItem(message); break;
    default: break;
  }
}

// A click is a left press and a release of the same button inside the
// control; the release's own handler runs after the click's.
void TControl::MouseButton(TMessage& message, TMouseButton button, bool down) {
  const int flag = ButtonShiftFlag(button);
  if (down) {
    heldButtons_ |= flag;
    return;
  }
  const bool wasHeld = (heldButtons_ & flag) != 0;
  heldButtons_ &= ~flag;
  const int x = PointParamX(message.LParam);
  const int y = PointParamY(message.LParam);
  const bool inside = x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight();
  if (button == mbLeft && wasHeld && inside) Click();
  OnMouseUp(this, button, ShiftFromMouseParam(message.WParam), x, y);
}

void TControl::Click() { OnClick(this); }

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyComponents();
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm()) form->FocusControl(this);
}

bool TWinControl::Focused() const {
  const TCustomForm* form = GetParentForm();
  return form && form->GetActiveControl() == this;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  // The controls inside keep their place in this one and so move on screen.
  ShowMovedInside();
}

void TWinControl::ShowMovedInside() {
  for (TControl* control : controls_) {
    control->Changed();
    if (auto* container = dynamic_cast<TWinControl*>(control)) container->ShowMovedInside();
  }
}

void TWinControl::DropPeers() {
  for (TControl* control : controls_) control->DropPeers();
  TControl::DropPeers();
}

void TWinControl::WndProc(TMessage& message) {
  if (message.Msg == WM_LBUTTONDOWN && AcceptsFocus()) SetFocus();
  TControl::WndProc(message);
}

void TWinControl::InsertControl(TControl* control) { controls_.push_back(control); }

void TWinControl::RemoveControl(TControl* control) {
  if (TCustomForm* form = GetParentForm()) form->ForgetFocus(control);
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}
