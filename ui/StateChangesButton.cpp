// The main window's "State Changes": opens the State Change Editor on the
// chosen animation. The main window takes no input while the editor is open,
// so the animation cannot change under it; closing the editor gives the main
// window back.

#include "ui/ChangeForm.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"

void TForm2::Button7Click(TObject* Sender) {
  if (ComboBox1->GetItemIndex() < 0 || GlobalAnimation() < 0) return;
  Main().Form1->Show();
  SetEnabled(false);
}
