#include "vcl/Forms.h"

#include "vcl/Application.h"
#include "vcl/Backend.h"
#include "vcl/Menus.h"
#include "vcl/Metrics.h"

namespace {

TCustomForm* activeForm = nullptr;

// Both forms show their new state.
void SetActiveForm(TCustomForm* form) {
  if (form == activeForm) return;
  TCustomForm* previous = activeForm;
  activeForm = form;
  if (previous) previous->Changed();
  if (form) form->Changed();
}

}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  // A form is created hidden.
  TControl::SetVisible(false);
}

TCustomForm::~TCustomForm() {
  if (activeForm == this) activeForm = nullptr;
  DestroyComponents();
  if (menu_) menu_->form_ = nullptr;
}

void TCustomForm::Show() {
  if (GetVisible()) return;
  vcl::Backend* backend = Application ? Application->GetBackend() : nullptr;
  if (backend && !Peer()) backend->Realize(*this);
  TControl::SetVisible(true);
  Activate();
  OnShow(this);
}

void TCustomForm::Hide() {
  if (activeForm == this) SetActiveForm(nullptr);
  TControl::SetVisible(false);
}

void TCustomForm::Activate() {
  if (GetVisible() && GetEnabled()) SetActiveForm(this);
}

bool TCustomForm::GetActive() const { return activeForm == this; }

void TCustomForm::SetVisible(bool visible) {
  if (visible)
    Show();
  else
    Hide();
}

void TCustomForm::Close() {
  TCloseAction action = caHide;
  OnClose(this, action);
  if (action == caNone) return;
  Hide();
  if (Application && Application->GetMainForm() == this) Application->Terminate();
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (control && control->GetParentForm() != this) return;
  if (control == activeControl_) return;
  TWinControl* previous = activeControl_;
  // The focus has moved before the controls hear of it, so that their
  // handlers see where it went.
  activeControl_ = control;
  if (previous) {
    TMessage leave{WM_KILLFOCUS};
    previous->Perform(leave);
  }
  if (control) {
    TMessage enter{WM_SETFOCUS};
    control->Perform(enter);
  }
}

void TCustomForm::ForgetFocus(TControl* control) {
  for (TControl* c = activeControl_; c; c = c->GetParent()) {
    if (c == control) {
      activeControl_ = nullptr;
      return;
    }
  }
}

void TCustomForm::SetClientWidth(int width) {
  TWinControl::SetBounds(GetLeft(), GetTop(), width, GetClientHeight());
}

void TCustomForm::SetClientHeight(int height) {
  TWinControl::SetBounds(GetLeft(), GetTop(), GetClientWidth(), height);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) menu_->form_ = nullptr;
  menu_ = menu;
  if (menu_) {
    if (menu_->form_) menu_->form_->menu_ = nullptr;
    menu_->form_ = this;
  }
  Changed();
  // The client area keeps its size and moves down below the menu bar.
  ShowMovedInside();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  Changed();
}

int TCustomForm::NonClientHeight() const {
  return vcl::kCaptionHeight + 2 * vcl::kFrameWidth + (menu_ ? vcl::kMenuBarHeight : 0);
}

int TCustomForm::GetWidth() const { return GetClientWidth() + 2 * vcl::kFrameWidth; }

int TCustomForm::GetHeight() const { return GetClientHeight() + NonClientHeight(); }

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width - 2 * vcl::kFrameWidth, height - NonClientHeight());
}

POINT TCustomForm::ClientOrigin() const {
  return POINT{GetLeft() + vcl::kFrameWidth,
               GetTop() + vcl::kCaptionHeight + vcl::kFrameWidth + (menu_ ? vcl::kMenuBarHeight : 0)};
}
