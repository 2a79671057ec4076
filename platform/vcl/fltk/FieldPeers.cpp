// Edits and spin edits. Every keystroke that changes the toolkit's text is
// typed into the control as the field's new text; losing the keyboard focus
// leaves the field.

#include <FL/Fl.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Repeat_Button.H>

#include "vcl/Edits.h"
#include "vcl/Metrics.h"
#include "vcl/User.h"
#include "vcl/fltk/WidgetPeer.h"

namespace vcl::fltk {
namespace {

class FieldInput : public Fl_Input {
 public:
  FieldInput(TControl& control, bool stepsWithArrows)
      : Fl_Input(0, 0, 1, 1), control_(control), stepsWithArrows_(stepsWithArrows) {
    when(FL_WHEN_CHANGED);
    callback(Typed, this);
    textsize(vcl::kUiFontSize);
  }

  int handle(int event) override {
    if (event == FL_UNFOCUS) {
      const int used = Fl_Input::handle(event);
      User::LeaveField(&control_);
      control_.Changed();
      return used;
    }
    if (event == FL_KEYBOARD && stepsWithArrows_ &&
        (Fl::event_key() == FL_Up || Fl::event_key() == FL_Down)) {
      User::PressKey(&control_, Fl::event_key() == FL_Up ? VK_UP : VK_DOWN);
      return 1;
    }
    return Fl_Input::handle(event);
  }

  // Shows the control's text unless the field already holds it (so that the
  // insertion point stays where the user is typing).
  void Show(const String& text) {
    const std::string utf8 = text.ToUtf8();
    if (utf8 != value()) value(utf8.c_str());
  }

 private:
  static void Typed(Fl_Widget* widget, void*) {
    auto* input = static_cast<FieldInput*>(widget);
    User::TypeText(&input->control_, String::FromUtf8(input->value()));
    input->control_.Changed();
  }

  TControl& control_;
  bool stepsWithArrows_;
};

class EditPeer : public WidgetPeer {
 public:
  explicit EditPeer(TControl& control) : WidgetPeer(control, new FieldInput(control, false)) {}

 protected:
  bool ShowsCaption() const override { return false; }
  void SyncState() override {
    auto* input = static_cast<FieldInput*>(Widget());
    input->Show(Control().GetText());
    if (auto* edit = dynamic_cast<TEdit*>(&Control())) input->readonly(edit->GetReadOnly() ? 1 : 0);
  }
};

// A field with up and down buttons beside it.
class SpinBox : public Fl_Group {
 public:
  static constexpr int kButtonWidth = 15;

  explicit SpinBox(TControl& control) : Fl_Group(0, 0, 1, 1) {
    input = new FieldInput(control, true);
    up = new Fl_Repeat_Button(0, 0, 1, 1, "@-28>");
    down = new Fl_Repeat_Button(0, 0, 1, 1, "@-22>");
    end();
    resizable(nullptr);
    up->callback(Stepped, &control);
    down->callback(Stepped, &control);
    // The buttons leave the keyboard focus in the field.
    up->clear_visible_focus();
    down->clear_visible_focus();
  }

  void resize(int x, int y, int w, int h) override {
    Fl_Widget::resize(x, y, w, h);
    input->resize(x, y, w - kButtonWidth, h);
    up->resize(x + w - kButtonWidth, y, kButtonWidth, h / 2);
    down->resize(x + w - kButtonWidth, y + h / 2, kButtonWidth, h - h / 2);
  }

  FieldInput* input;
  Fl_Repeat_Button* up;
  Fl_Repeat_Button* down;

 private:
  static void Stepped(Fl_Widget* button, void* data) {
    auto* control = static_cast<TControl*>(data);
    auto* box = static_cast<SpinBox*>(button->parent());
    User::PressKey(control, button == box->up ? VK_UP : VK_DOWN);
    control->Changed();
  }
};

class SpinEditPeer : public WidgetPeer {
 public:
  explicit SpinEditPeer(TControl& control) : WidgetPeer(control, new SpinBox(control)) {}

 protected:
  bool ShowsCaption() const override { return false; }
  void SyncState() override { static_cast<SpinBox*>(Widget())->input->Show(Control().GetText()); }
};

}  // namespace

std::unique_ptr<WidgetPeer> MakeEditPeer(TControl& control) {
  return std::make_unique<EditPeer>(control);
}

std::unique_ptr<WidgetPeer> MakeSpinEditPeer(TControl& control) {
  return std::make_unique<SpinEditPeer>(control);
}

}  // namespace vcl::fltk
