#include "ui/EditorWindows.h"

#include "ui/Main.h"
#include "ui/MainUnit.h"

void PlaceOverMainWindow(TCustomForm* form) {
  const TCustomForm* main = Application != nullptr ? Application->GetMainForm() : nullptr;
  if (main == nullptr || main == form) return;
  form->SetLeft(main->GetLeft() + (main->GetClientWidth() - form->GetClientWidth()) / 2);
  form->SetTop(main->GetTop() + (main->GetClientHeight() - form->GetClientHeight()) / 2);
}

void ShowOverMainWindow(TForm* editor) {
  TForm2* mainWindow = Main().Form2;
  // Right after "Add Animation" the list shows none while the selection still
  // names the animation shown before.
  if (mainWindow->ComboBox1->GetItemIndex() < 0 || mainWindow->GlobalAnimation() < 0) return;
  editor->Show();
  mainWindow->SetEnabled(false);
}

void HideBackToMainWindow(TForm* editor) {
  // The main window takes input again before the editor goes, so that the
  // focus goes back to it and not to another program's window.
  TForm2* mainWindow = Main().Form2;
  if (mainWindow != nullptr) mainWindow->SetEnabled(true);
  editor->Hide();
  if (mainWindow == nullptr) return;
  mainWindow->Activate();
  mainWindow->FocusControl(nullptr);
}
