#pragma once
// Message boxes of the editor. They are application-modal: while one is up,
// none of the editor's windows takes input, so nothing can change the
// selection under the handler that waits on it.

#include "vcl/String.h"
#include "win32/MessageBox.h"

// Shows the box and returns the button pressed.
int ShowMessageBox(const String& text, const String& caption, UINT type);
