#include "vcl/fltk/WidgetPeer.h"

#include <FL/Fl.H>

#include "vcl/Buttons.h"
#include "vcl/Edits.h"
#include "vcl/Forms.h"
#include "vcl/Frames.h"
#include "vcl/Lists.h"
#include "vcl/Metrics.h"
#include "vcl/Panel.h"
#include "vcl/TrackBar.h"

namespace vcl::fltk {
namespace {

std::unique_ptr<WidgetPeer> MakePeer(TControl& control) {
  if (dynamic_cast<TButton*>(&control)) return MakeButtonPeer(control);
  if (dynamic_cast<TCheckBox*>(&control)) return MakeCheckBoxPeer(control);
  if (dynamic_cast<TRadioButton*>(&control)) return MakeRadioButtonPeer(control);
  if (dynamic_cast<TGroupBox*>(&control)) return MakeGroupBoxPeer(control);
  if (dynamic_cast<TEdit*>(&control)) return MakeEditPeer(control);
  if (dynamic_cast<TCSpinEdit*>(&control)) return MakeSpinEditPeer(control);
  if (dynamic_cast<TListBox*>(&control)) return MakeListBoxPeer(control);
  if (dynamic_cast<TComboBox*>(&control)) return MakeComboBoxPeer(control);
  if (dynamic_cast<TTrackBar*>(&control)) return MakeTrackBarPeer(control);
  if (dynamic_cast<TPanel*>(&control)) return MakePanelPeer(control);
  return MakeLabelPeer(control);
}

}  // namespace

WidgetPeer::WidgetPeer(TControl& control, Fl_Widget* widget) : control_(control), widget_(widget) {
  UseUiFont(*widget_);
}

WidgetPeer::~WidgetPeer() {
  if (Fl_Group* parent = widget_->parent()) parent->remove(widget_);
  delete widget_;
}

void WidgetPeer::Sync() {
  const POINT position = WindowPosition(control_);
  const int width = control_.GetWidth();
  const int height = control_.GetHeight();
  if (widget_->x() != position.x || widget_->y() != position.y || widget_->w() != width ||
      widget_->h() != height)
    widget_->resize(position.x, position.y, width, height);
  if (control_.GetVisible() && !widget_->visible()) widget_->show();
  if (!control_.GetVisible() && widget_->visible()) widget_->hide();
  if (control_.GetEnabled() && !widget_->active()) widget_->activate();
  if (!control_.GetEnabled() && widget_->active()) widget_->deactivate();
  if (ShowsCaption()) {
    const std::string label = LabelText(control_.GetText(), MarksShortcuts());
    if (!widget_->label() || label != widget_->label()) widget_->copy_label(label.c_str());
  }
  SyncState();
  widget_->redraw();
}

void WidgetPeer::ChildAdded(TControl& child) {
  if (Fl_Group* group = ChildGroup()) Realize(child, *group);
}

void Realize(TControl& control, Fl_Group& group) {
  Fl_Group::current(nullptr);
  std::unique_ptr<WidgetPeer> peer = MakePeer(control);
  WidgetPeer* raw = peer.get();
  group.add(raw->Widget());
  control.SetPeer(std::move(peer));
  if (auto* container = dynamic_cast<TWinControl*>(&control))
    for (int i = 0; i < container->ControlCount(); ++i) raw->ChildAdded(*container->Controls(i));
}

POINT WindowPosition(const TControl& control) {
  const TCustomForm* form = control.GetParentForm();
  if (!form) return POINT{control.GetLeft(), control.GetTop()};
  const POINT origin = control.ClientOrigin();
  const POINT formOrigin = form->ClientOrigin();
  const int menuBar = form->GetMenu() ? kMenuBarHeight : 0;
  return POINT{origin.x - formOrigin.x, origin.y - formOrigin.y + menuBar};
}

std::string LabelText(const String& text, bool marksShortcuts) {
  std::string label;
  for (char c : text.ToUtf8()) {
    if (c == '@' || (c == '&' && marksShortcuts)) label += c;
    label += c;
  }
  return label;
}

void UseUiFont(Fl_Widget& widget) {
  widget.labelfont(FL_HELVETICA);
  widget.labelsize(kUiFontSize);
}

TShiftState EventShift() {
  const int state = Fl::event_state();
  TShiftState shift;
  if (state & FL_SHIFT) shift << ssShift;
  if (state & FL_CTRL) shift << ssCtrl;
  if (state & FL_ALT) shift << ssAlt;
  if (state & FL_BUTTON1) shift << ssLeft;
  if (state & FL_BUTTON2) shift << ssMiddle;
  if (state & FL_BUTTON3) shift << ssRight;
  return shift;
}

}  // namespace vcl::fltk
