#pragma once
// The State Change Editor and the Dide Command Editor open over the main
// window, which takes no input while either is shown (so the animation they
// edit cannot change under them), and close back to it.

#include "vcl/Vcl.h"

// Places a window over the middle of the main window's client area, where
// the main window was designed to be (on screen the window then keeps that
// place relative to the main window). Nothing without a main window.
void PlaceOverMainWindow(TCustomForm* form);

// Shows the editor and disables the main window, when the main window's
// animation list shows an animation of the open WAD; does nothing otherwise.
void ShowOverMainWindow(TForm* editor);

// Hides the editor and gives the main window back: enabled, the active window
// again, with no control focused.
void HideBackToMainWindow(TForm* editor);
