#pragma once
// A form's window: a fixed-size toolkit window with the form's menu bar at
// the top and the client area below it.

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
  Fl_Menu_Bar* MenuBar() const { return menuBar_; }

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

  TCustomForm& form_;
  MenuItems menu_;
  std::string shownMenu_;  // what the menu bar shows, to rebuild it only on change
  bool shownActive_ = false;  // the window was last brought to the front as the active form
};

}  // namespace vcl::fltk
