#pragma once
// A form's window: a fixed-size toolkit window with the form's menu bar at
// the top and the client area below it. A form that opens while the main
// form is up opens over it: the window manager is told that its window is
// transient for the main window (WM_TRANSIENT_FOR), so it keeps it in front
// of the main window, and it keeps its designed place relative to the main
// window wherever that window is.

#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>

#include "vcl/Forms.h"
#include "vcl/fltk/MenuItems.h"
#include "vcl/fltk/WidgetPeer.h"

namespace vcl::fltk {

class FormWindow : public Fl_Window {
 public:
  explicit FormWindow(TCustomForm& form);
  ~FormWindow() override;

  int handle(int event) override;
  void hide() override;
  Fl_Menu_Bar* MenuBar() const { return menuBar_; }
  // Shows the window at a point of the screen; over an owner (null: none)
  // it is transient for the owner.
  void ShowAt(int x, int y, Fl_Window* owner);

 protected:
  // A window uncovered asks the form to paint, once the toolkit is done drawing.
  void draw() override;

 private:
  static void Closed(Fl_Widget* widget, void* data);
  static void Paint(void* data);

  TCustomForm& form_;
  Fl_Menu_Bar* menuBar_;
  bool paintPending_ = false;
};

class FormPeer : public WidgetPeer {
 public:
  explicit FormPeer(TCustomForm& form);

  FormWindow* Window() const { return static_cast<FormWindow*>(Widget()); }
  void Sync() override;

 protected:
  Fl_Group* ChildGroup() override { return Window(); }

 private:
  void SyncMenu();
  void ShowWindow();

  TCustomForm& form_;
  MenuItems menu_;
  std::string shownMenu_;  // what the menu bar shows, to rebuild it only on change
  bool shownActive_ = false;  // the window was last brought to the front as the active form
};

}  // namespace vcl::fltk
