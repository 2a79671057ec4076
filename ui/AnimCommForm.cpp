#include "ui/AnimCommForm.h"

TForm3::TForm3(TComponent* owner) : TForm(owner) {
  SetText(L"Dide Command Editor");
  SetBorderStyle(bsDialog);
  SetClientWidth(368);
  SetClientHeight(268);
}
