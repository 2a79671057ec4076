#include "ui/EditorEntry.h"

#include "ui/AnimCommForm.h"
#include "ui/ChangeForm.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"

void CreateEditorForms() {
  MainUnit& M = Main();
  Application->Initialize();
  Application->SetMainFormOnTaskBar(true);
  Application->CreateForm(&M.Form2);
  Application->CreateForm(&M.Form1);
  Application->CreateForm(&M.Form3);
}

int WinMain() {
  try {
    CreateEditorForms();
    if (!Application->GetTerminated()) Application->Run();
  } catch (const Exception& exception) {
    Application->ShowException(&exception);
  } catch (...) {
    // A value of a foreign type carries no message the user could read.
    try {
      throw Exception(String());
    } catch (const Exception& exception) {
      Application->ShowException(&exception);
    }
  }
  return 0;
}
