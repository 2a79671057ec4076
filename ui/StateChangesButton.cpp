// The main window's "State Changes": opens the State Change Editor on the
// chosen animation.

#include "ui/ChangeForm.h"
#include "ui/EditorWindows.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"

void TForm2::Button7Click(TObject* Sender) { ShowOverMainWindow(Main().Form1); }
