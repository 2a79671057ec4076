#pragma once
// Which window a window opens over. Before a window opened over another
// shows, the toolkit is told to make it transient for that one
// (WM_TRANSIENT_FOR), so that the window manager keeps it in front of it.
// Form windows are listed as they show, so that message boxes and file
// dialogs open over the form window shown last.

class Fl_Window;

namespace vcl::fltk {

// A form window came up, or went (hidden or destroyed).
void FormWindowShown(Fl_Window& window);
void FormWindowGone(Fl_Window& window);

// The form window shown last that is still up (an editor over the main
// window, else the main window); null when no form is up.
Fl_Window* TopFormWindow();

// Makes the toolkit take the owner (when it is up) as the window that the
// next modal or non-modal window it shows is transient for.
void OpenOver(Fl_Window* owner);

// Asks the window manager for a dialog's title bar on a shown window: moving
// and closing, no minimise or maximise.
void AskForDialogTitleBar(Fl_Window& window);

}  // namespace vcl::fltk
