#pragma once
// The mouse cursor and mouse capture. The window layer moves the cursor to
// where every mouse event happened (in screen coordinates), so that a handler
// asking for the cursor position sees the point of the event it handles.

#include "win32/NativeWindow.h"

// The cursor position on the screen. FALSE for a null pointer.
BOOL GetCursorPos(POINT* point);

// Moves the cursor to a point on the screen.
BOOL SetCursorPos(int x, int y);

// Mouse capture: the window that receives mouse input while a button is held.
// SetCapture returns the window that had it before.
HWND SetCapture(HWND window);
HWND GetCapture();
// Ends the capture, whoever holds it. TRUE always.
BOOL ReleaseCapture();
