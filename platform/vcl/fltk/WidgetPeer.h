#pragma once
// The FLTK side of a control: a widget that shows the control's state and
// turns what the user does to it into user actions. Widgets sit at window
// coordinates; each peer places its widget from the control's position.

#include <memory>
#include <string>

#include <FL/Fl_Group.H>
#include <FL/Fl_Widget.H>

#include "vcl/Controls.h"
#include "vcl/Events.h"

namespace vcl::fltk {

class WidgetPeer : public ControlPeer {
 public:
  // The peer owns the widget.
  WidgetPeer(TControl& control, Fl_Widget* widget);
  ~WidgetPeer() override;

  void Sync() override;
  void ChildAdded(TControl& child) override;

  TControl& Control() const { return control_; }
  Fl_Widget* Widget() const { return widget_; }

 protected:
  // What the kind of control shows besides placement, visibility, enabling
  // and (where ShowsCaption) the caption as the widget's label.
  virtual void SyncState() {}
  virtual bool ShowsCaption() const { return true; }
  // Whether the widget reads '&' in its label as a shortcut mark.
  virtual bool MarksShortcuts() const { return false; }
  // The group that takes the widgets of controls inside this one (none: the
  // control holds no controls).
  virtual Fl_Group* ChildGroup() { return nullptr; }

 private:
  TControl& control_;
  Fl_Widget* widget_;
};

// Makes the peer and widget of a control inside a group, then those of the
// controls inside it.
void Realize(TControl& control, Fl_Group& group);

// The kinds of peers (the factory picks one by the control's class).
std::unique_ptr<WidgetPeer> MakeLabelPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeButtonPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeCheckBoxPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeRadioButtonPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeGroupBoxPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeEditPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeSpinEditPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeListBoxPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeComboBoxPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakeTrackBarPeer(TControl& control);
std::unique_ptr<WidgetPeer> MakePanelPeer(TControl& control);

// Where the control's top-left corner lies in its form's window.
POINT WindowPosition(const TControl& control);
// Text for a toolkit label or menu item: UTF-8 with '@' (and '&', where the
// widget marks shortcuts with it) written so that they show as themselves.
std::string LabelText(const String& text, bool marksShortcuts);
// The form's 8-point UI font on a widget's label and text.
void UseUiFont(Fl_Widget& widget);
// The toolkit's event state as a shift state.
TShiftState EventShift();

}  // namespace vcl::fltk
