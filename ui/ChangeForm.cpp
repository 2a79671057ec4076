#include "ui/ChangeForm.h"

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetText(L"State Change Editor");
  SetBorderStyle(bsDialog);
  SetClientWidth(220);
  SetClientHeight(300);
}
