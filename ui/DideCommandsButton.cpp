// The main window's "Dide Commands" button: opens the Dide Command Editor on
// the chosen animation. The main window takes no input until the editor
// closes, so the animation stays the one the editor lists.

#include "ui/AnimCommForm.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"

void TForm2::Button8Click(TObject* Sender) {
  if (GlobalAnimation() < 0) return;
  Main().Form3->Show();
  SetEnabled(false);
}
