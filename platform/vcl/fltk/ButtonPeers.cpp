// Push buttons, check boxes and radio buttons: the toolkit's button reports
// a click, the control decides the new state and the peer shows it.

#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Round_Button.H>

#include "vcl/Buttons.h"
#include "vcl/User.h"
#include "vcl/fltk/WidgetPeer.h"

namespace vcl::fltk {
namespace {

class ButtonPeer : public WidgetPeer {
 public:
  ButtonPeer(TControl& control, Fl_Button* button) : WidgetPeer(control, button) {
    button->callback(Clicked, this);
    // The toolkit's own radio grouping and toggling give way to the control's.
    button->type(FL_NORMAL_BUTTON);
  }

 protected:
  bool MarksShortcuts() const override { return true; }

 private:
  static void Clicked(Fl_Widget*, void* data) {
    auto* peer = static_cast<ButtonPeer*>(data);
    User::Click(&peer->Control());
    peer->Sync();
  }
};

class CheckPeer : public ButtonPeer {
 public:
  using ButtonPeer::ButtonPeer;

 protected:
  void SyncState() override {
    auto* button = static_cast<Fl_Button*>(Widget());
    bool checked = false;
    if (auto* box = dynamic_cast<TCheckBox*>(&Control())) checked = box->GetChecked();
    if (auto* radio = dynamic_cast<TRadioButton*>(&Control())) checked = radio->GetChecked();
    button->value(checked ? 1 : 0);
  }
};

}  // namespace

std::unique_ptr<WidgetPeer> MakeButtonPeer(TControl& control) {
  return std::make_unique<ButtonPeer>(control, new Fl_Button(0, 0, 1, 1));
}

std::unique_ptr<WidgetPeer> MakeCheckBoxPeer(TControl& control) {
  return std::make_unique<CheckPeer>(control, new Fl_Check_Button(0, 0, 1, 1));
}

std::unique_ptr<WidgetPeer> MakeRadioButtonPeer(TControl& control) {
  return std::make_unique<CheckPeer>(control, new Fl_Round_Button(0, 0, 1, 1));
}

}  // namespace vcl::fltk
