#pragma once
// What a person does, as the one door for user input: the on-screen backend
// turns toolkit events into these calls, and tests call them to drive a form
// exactly as a person would. Input to a hidden or disabled control, or to any
// control of a hidden or disabled form, is dropped (the call returns false).
// An exception that leaves a handler stops there: the application shows it
// and the call returns (true: the input was taken).
// Coordinates are client pixels of the control.

#include "vcl/Controls.h"
#include "vcl/Events.h"

class TCustomForm;
class TMenuItem;

namespace User {

// A left press and release: at the control's centre, or at a point.
bool Click(TControl* control);
bool Click(TControl* control, int x, int y);

// Mouse buttons and movement. The cursor moves to the point on the screen.
// A move reports the buttons held on the control besides the given keys.
bool MouseDown(TControl* control, TMouseButton button, TShiftState shift, int x, int y);
bool MouseMove(TControl* control, TShiftState shift, int x, int y);
bool MouseUp(TControl* control, TMouseButton button, TShiftState shift, int x, int y);

// Clicks into a field and replaces its text by typing.
bool TypeText(TControl* control, const String& text);
// Leaves a field (the focus goes elsewhere).
bool LeaveField(TControl* control);
// Presses a key (a virtual key code) on the control, focusing it first.
bool PressKey(TControl* control, WORD key);
// Chooses a line of a list box or an item of a combo box.
bool ChooseItem(TControl* list, int index);

bool ChooseMenuItem(TMenuItem* item);
// The window's close button.
bool CloseWindow(TCustomForm* form);
// The window system asks a shown form to paint itself.
bool PaintWindow(TCustomForm* form);

}  // namespace User
