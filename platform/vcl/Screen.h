#pragma once
// The on-screen backend on FLTK. A program that shows its windows creates
// its application with it: `TApplication application(vcl::CreateScreenBackend());`.
// It needs an X display; without one the application runs with no backend.

#include <memory>
#include <string>

#include "vcl/Backend.h"

class Fl_Widget;
class Fl_Window;
class Fl_Menu_Bar;
class TControl;
class TCustomForm;

namespace vcl {

// Opens the display and installs on-screen message boxes and file choosers
// for the backend's lifetime. Null when no display can be opened.
std::unique_ptr<Backend> CreateScreenBackend();

// The toolkit's side of a shown form, for tests that inject toolkit events;
// null before the form was first shown.
Fl_Widget* ScreenWidget(const TControl& control);
Fl_Window* ScreenWindow(const TCustomForm& form);
Fl_Menu_Bar* ScreenMenuBar(const TCustomForm& form);

// Writes what the form's window shows (its client area with the menu bar) as
// a PNG file. False when the form is not on screen or the file cannot be
// written.
bool WriteScreenshot(const TCustomForm& form, const std::string& pngPath);
// Writes what the screen shows in a rectangle, whichever windows show it
// (drop-down lists and dialogs over a form included), as a PNG file.
bool WriteScreenArea(int left, int top, int width, int height, const std::string& pngPath);

// File dialogs show the toolkit's own chooser even where the desktop's dialog
// could be shown, as on a display without a desktop. For tests; takes effect
// only before the first file dialog of the process.
void UseToolkitFileChooser();

}  // namespace vcl
