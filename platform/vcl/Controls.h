#pragma once
// Controls: the visible parts of a form. A control keeps its whole state
// itself, so that forms work the same with no display; on screen a peer (a
// toolkit widget) shows that state and turns what the user does into the
// user actions of vcl/User.h, which reach the control as window messages
// through its replaceable WindowProc.

#include <memory>
#include <vector>

#include "vcl/Classes.h"
#include "vcl/Events.h"
#include "vcl/Messages.h"
#include "win32/Win32Types.h"

class TControl;
class TWinControl;
class TCustomForm;

namespace vcl {

// The screen side of a control.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  // The control's state changed: show it now.
  virtual void Sync() = 0;
  // A control was placed inside this one: give it (and its children) peers too.
  virtual void ChildAdded(TControl& /*child*/) {}
};

}  // namespace vcl

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Placement in pixels, relative to the parent's client area.
  int GetLeft() const { return left_; }
  void SetLeft(int left) { SetBounds(left, top_, GetWidth(), GetHeight()); }
  int GetTop() const { return top_; }
  void SetTop(int top) { SetBounds(left_, top, GetWidth(), GetHeight()); }
  virtual int GetWidth() const { return width_; }
  void SetWidth(int width) { SetBounds(left_, top_, width, GetHeight()); }
  virtual int GetHeight() const { return height_; }
  void SetHeight(int height) { SetBounds(left_, top_, GetWidth(), height); }
  virtual void SetBounds(int left, int top, int width, int height);

  TWinControl* GetParent() const { return parent_; }
  void SetParent(TWinControl* parent);
  bool GetVisible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Caption and Text are the same text, as on every window.
  String GetText() const { return text_; }
  void SetText(const String& text);

  Property<TControl, int, &TControl::GetLeft, &TControl::SetLeft> Left{this};
  Property<TControl, int, &TControl::GetTop, &TControl::SetTop> Top{this};
  Property<TControl, int, &TControl::GetWidth, &TControl::SetWidth> Width{this};
  Property<TControl, int, &TControl::GetHeight, &TControl::SetHeight> Height{this};
  Property<TControl, TWinControl*, &TControl::GetParent, &TControl::SetParent> Parent{this};
  Property<TControl, bool, &TControl::GetVisible, &TControl::SetVisible> Visible{this};
  Property<TControl, bool, &TControl::GetEnabled, &TControl::SetEnabled> Enabled{this};
  Property<TControl, String, &TControl::GetText, &TControl::SetText> Caption{this};
  Property<TControl, String, &TControl::GetText, &TControl::SetText> Text{this};

  TNotifyEvent OnClick;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  // Every message to the control passes through here; it starts as the
  // control's own handling and may be replaced by a procedure that passes
  // messages on to the saved previous one.
  TWndMethod WindowProc;

  // Sends a message through WindowProc.
  void Perform(TMessage& message);

  // The form the control sits on (the form itself for a form), or null.
  TCustomForm* GetParentForm() const;
  // Whether a person can reach the control now: it and every control around
  // it visible and enabled, on a shown and enabled form.
  bool TakesInput() const;
  // The top-left corner of the client area, and a client point, on the screen.
  virtual POINT ClientOrigin() const;
  POINT ClientToScreen(POINT point) const;
  // Mouse buttons (ssLeft, ssRight, ssMiddle) pressed on this control and not
  // yet released there.
  TShiftState HeldButtons() const { return TShiftState::FromBits(heldButtons_); }

  vcl::ControlPeer* Peer() const { return peer_.get(); }
  void SetPeer(std::unique_ptr<vcl::ControlPeer> peer);
  // Removes the peers of this control and of every control inside it.
  virtual void DropPeers();

 protected:
  // The control's own handling of messages.
  virtual void WndProc(TMessage& message);
  // A left press and release inside the control.
  virtual void Click();
  virtual void KeyDown(WORD /*key*/) {}
  virtual void FocusLost() {}
  // Input messages of the window layer; each sets the message's Result to 1
  // when the control took the input.
  virtual void TypeText(TMessage& /*message*/) {}
  virtual void ChooseItem(TMessage& /*message*/) {}
  // Runs after the text really changed.
  virtual void TextChanged() {}

 public:
  // Shows the control's present state on screen.
  void Changed();

 private:
  void MouseButton(TMessage& message, TMouseButton button, bool down);

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  String text_;
  int heldButtons_ = 0;
  std::unique_ptr<vcl::ControlPeer> peer_;
};

// A control that can hold other controls and take the keyboard focus.
class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }

  // Gives the control the focus of its form; the control that had it loses it first.
  void SetFocus();
  bool Focused() const;
  // Whether the control takes the focus when it is clicked or typed into.
  virtual bool AcceptsFocus() const { return false; }

  void SetBounds(int left, int top, int width, int height) override;
  void DropPeers() override;

 protected:
  void WndProc(TMessage& message) override;
  // Shows the controls inside at their new place on screen.
  void ShowMovedInside();

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  std::vector<TControl*> controls_;
};
