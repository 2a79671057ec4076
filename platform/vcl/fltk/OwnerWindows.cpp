#include "vcl/fltk/OwnerWindows.h"

#include <algorithm>
#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

namespace vcl::fltk {
namespace {

// Form windows that are up, in the order they were shown.
std::vector<Fl_Window*> shownForms;

}  // namespace

void FormWindowShown(Fl_Window& window) {
  FormWindowGone(window);
  shownForms.push_back(&window);
}

void FormWindowGone(Fl_Window& window) { std::erase(shownForms, &window); }

Fl_Window* TopFormWindow() {
  for (auto window = shownForms.rbegin(); window != shownForms.rend(); ++window)
    if ((*window)->shown() && (*window)->visible()) return *window;
  return nullptr;
}

// The toolkit makes a modal or non-modal window transient for the window at
// the head of its list of windows.
void OpenOver(Fl_Window* owner) {
  if (owner != nullptr && owner->shown() && owner->visible()) Fl::first_window(owner);
}

// The Motif hints that window managers read.
void AskForDialogTitleBar(Fl_Window& window) {
  enum : long { kFunctions = 1, kDecorations = 2 };           // which fields count
  enum : long { kMove = 4, kClose = 32 };                     // functions
  enum : long { kBorder = 2, kTitle = 8, kWindowMenu = 16 };  // decorations
  long hints[5] = {kFunctions | kDecorations, kMove | kClose, kBorder | kTitle | kWindowMenu, 0, 0};
  const Atom property = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(fl_display, fl_xid(&window), property, property, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(hints), 5);
}

}  // namespace vcl::fltk
