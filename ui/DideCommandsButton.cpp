// The main window's "Dide Commands" button: opens the Dide Command Editor on
// the chosen animation.

#include "ui/AnimCommForm.h"
#include "ui/EditorWindows.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"

void TForm2::Button8Click(TObject* Sender) { ShowOverMainWindow(Main().Form3); }
