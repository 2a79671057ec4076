#pragma once
// Forms: the top-level windows. A form is created by TApplication::CreateForm
// (construction, then OnCreate), shown and hidden, closed (OnClose, then
// hidden), enabled and disabled; a disabled or hidden form takes no user
// input while the program's own calls on it still work.

#include "vcl/Controls.h"

class TMainMenu;

enum TFormBorderStyle { bsSizeable, bsSingle, bsDialog };

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Shows the window; OnShow runs before this returns. Showing a shown form
  // does nothing.
  void Show();
  void Hide();
  // OnClose decides (caHide unless it says caNone); then the form is hidden.
  // Closing the main form ends the application's run.
  void Close();
  // Moves the keyboard focus to a control of this form (none for null); the
  // control that had it loses it first.
  void FocusControl(TWinControl* control);
  // Makes the form the active window, the one the keyboard goes to: on screen
  // it comes to the front. A hidden or disabled form is not activated.
  // Showing a form activates it; hiding the active form leaves none active.
  void Activate();
  bool GetActive() const;

  TWinControl* GetActiveControl() const { return activeControl_; }
  int GetClientWidth() const { return TControl::GetWidth(); }
  void SetClientWidth(int width);
  int GetClientHeight() const { return TControl::GetHeight(); }
  void SetClientHeight(int height);
  TMainMenu* GetMenu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);

  ReadOnlyProperty<TCustomForm, TWinControl*, &TCustomForm::GetActiveControl> ActiveControl{this};
  Property<TCustomForm, int, &TCustomForm::GetClientWidth, &TCustomForm::SetClientWidth>
      ClientWidth{this};
  Property<TCustomForm, int, &TCustomForm::GetClientHeight, &TCustomForm::SetClientHeight>
      ClientHeight{this};
  Property<TCustomForm, TMainMenu*, &TCustomForm::GetMenu, &TCustomForm::SetMenu> Menu{this};
  Property<TCustomForm, TFormBorderStyle, &TCustomForm::GetBorderStyle,
           &TCustomForm::SetBorderStyle>
      BorderStyle{this};

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TCloseEvent OnClose;
  TNotifyEvent OnPaint;

  // The outer size: the client area with the frame, title bar and menu bar.
  int GetWidth() const override;
  int GetHeight() const override;
  void SetBounds(int left, int top, int width, int height) override;
  // Visible = true shows the form as Show does, false hides it.
  void SetVisible(bool visible) override;
  POINT ClientOrigin() const override;

  // The focused control, or one holding it, leaves the form.
  void ForgetFocus(TControl* control);

 private:
  friend class TMainMenu;
  int NonClientHeight() const;

  TWinControl* activeControl_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TFormBorderStyle borderStyle_ = bsSizeable;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};
