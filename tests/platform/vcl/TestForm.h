#pragma once
// A form holding one control of each kind (two radio buttons side by side
// and one in a group box), laid out as an editor window would lay them out.
// Tests bind the handlers they are about.

#include "vcl/Vcl.h"

class TestForm : public TForm {
 public:
  explicit TestForm(TComponent* owner);

  TLabel* Label1;
  TEdit* Edit1;
  TButton* Button1;
  TCheckBox* CheckBox1;
  TRadioButton* RadioButton1;
  TRadioButton* RadioButton2;
  TGroupBox* GroupBox1;
  TRadioButton* RadioButton3;  // inside GroupBox1
  TRadioGroup* RadioGroup1;
  TListBox* ListBox1;
  TComboBox* ComboBox1;
  TCSpinEdit* SpinEdit1;
  TTrackBar* TrackBar1;
  TPanel* Panel1;
  TButton* Button2;  // inside Panel1
  TMainMenu* MainMenu1;
  TMenuItem* File1;
  TMenuItem* Open1;
  TMenuItem* N1;
  TMenuItem* Exit1;
  TMenuItem* About1;
  TOpenDialog* OpenDialog1;
};
