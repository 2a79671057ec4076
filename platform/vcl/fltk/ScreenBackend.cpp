// The on-screen backend: realizes forms as toolkit windows, runs the
// toolkit's event handling for the application's loop, and shows message
// boxes and file choosers while it lives.

#include <FL/Fl.H>
#include <FL/x.H>

#include "vcl/Screen.h"
#include "vcl/fltk/FileChooser.h"
#include "vcl/fltk/FormPeer.h"
#include "vcl/fltk/MessageDialog.h"

namespace vcl {
namespace {

// The forms are laid out for a narrow 8-point UI face; the toolkit's default
// sans face is wider and would cut captions, so its sans slots take a face
// with the widths the layout expects (fontconfig falls back to the default
// sans face where it is not installed).
void UseNarrowUiFace() {
  Fl::set_font(FL_HELVETICA, " Liberation Sans");
  Fl::set_font(FL_HELVETICA_BOLD, "BLiberation Sans");
}

class ScreenBackend : public Backend {
 public:
  ScreenBackend() {
    Fl::visual(FL_RGB);
    UseNarrowUiFace();
  }

  void Realize(TCustomForm& form) override {
    Fl_Group::current(nullptr);
    auto peer = std::make_unique<fltk::FormPeer>(form);
    fltk::FormPeer* raw = peer.get();
    form.SetPeer(std::move(peer));
    for (int i = 0; i < form.ControlCount(); ++i) raw->ChildAdded(*form.Controls(i));
  }

  void ProcessPending() override { Fl::check(); }

  bool WaitForInput() override {
    if (!Fl::first_window()) return false;
    Fl::wait();
    return true;
  }

 private:
  fltk::MessageDialogs messages_;
  fltk::FileChoosers choosers_;
  ScopedMessageService messageScope_{messages_};
  ScopedFileDialogService chooserScope_{choosers_};
};

const fltk::WidgetPeer* PeerOf(const TControl& control) {
  return dynamic_cast<const fltk::WidgetPeer*>(control.Peer());
}

}  // namespace

std::unique_ptr<Backend> CreateScreenBackend() {
  fl_open_display();
  if (!fl_display) return nullptr;
  return std::make_unique<ScreenBackend>();
}

Fl_Widget* ScreenWidget(const TControl& control) {
  const fltk::WidgetPeer* peer = PeerOf(control);
  return peer ? peer->Widget() : nullptr;
}

Fl_Window* ScreenWindow(const TCustomForm& form) {
  auto* peer = dynamic_cast<const fltk::FormPeer*>(form.Peer());
  return peer ? peer->Window() : nullptr;
}

Fl_Menu_Bar* ScreenMenuBar(const TCustomForm& form) {
  auto* peer = dynamic_cast<const fltk::FormPeer*>(form.Peer());
  return peer ? peer->Window()->MenuBar() : nullptr;
}

void UseToolkitFileChooser() { Fl::option(Fl::OPTION_FNFC_USES_GTK, false); }

}  // namespace vcl
