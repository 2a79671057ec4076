#include "TestForm.h"

namespace {

template <class C>
C* Place(TForm* form, TWinControl* parent, int left, int top, int width, int height,
         const wchar_t* caption = nullptr) {
  C* control = new C(form);
  control->Parent = parent;
  control->SetBounds(left, top, width, height);
  if (caption) control->Caption = caption;
  return control;
}

TMenuItem* MenuItem(TForm* form, TMenuItem* parent, const wchar_t* caption) {
  auto* item = new TMenuItem(form);
  item->Caption = caption;
  parent->Add(item);
  return item;
}

}  // namespace

TestForm::TestForm(TComponent* owner) : TForm(owner) {
  Caption = L"Controls";
  ClientWidth = 400;
  ClientHeight = 300;
  BorderStyle = bsSingle;

  Label1 = Place<TLabel>(this, this, 8, 8, 60, 13, L"Name:");
  Edit1 = Place<TEdit>(this, this, 70, 4, 80, 21, L"Edit1");
  Button1 = Place<TButton>(this, this, 160, 4, 75, 25, L"Apply");
  CheckBox1 = Place<TCheckBox>(this, this, 8, 34, 120, 17, L"Show Box");
  RadioButton1 = Place<TRadioButton>(this, this, 8, 56, 100, 17, L"First");
  RadioButton2 = Place<TRadioButton>(this, this, 8, 76, 100, 17, L"Second");
  GroupBox1 = Place<TGroupBox>(this, this, 130, 34, 110, 60, L"Group");
  RadioButton3 = Place<TRadioButton>(this, GroupBox1, 8, 20, 90, 17, L"Third");
  RadioGroup1 = Place<TRadioGroup>(this, this, 250, 34, 140, 60, L"Frame:");
  ListBox1 = Place<TListBox>(this, this, 8, 100, 120, 80);
  ComboBox1 = Place<TComboBox>(this, this, 8, 190, 120, 21, L"ComboBox1");
  SpinEdit1 = Place<TCSpinEdit>(this, this, 8, 220, 57, 22);
  TrackBar1 = Place<TTrackBar>(this, this, 360, 100, 26, 190);
  TrackBar1->Orientation = trVertical;
  TrackBar1->Min = 1;
  TrackBar1->Max = 360;
  TrackBar1->Frequency = 4;
  Panel1 = Place<TPanel>(this, this, 140, 100, 200, 150, L"Panel1");
  Button2 = Place<TButton>(this, Panel1, 10, 10, 60, 20, L"Inner");

  MainMenu1 = new TMainMenu(this);
  File1 = MenuItem(this, MainMenu1->Items, L"File");
  Open1 = MenuItem(this, File1, L"Open");
  N1 = MenuItem(this, File1, L"-");
  Exit1 = MenuItem(this, File1, L"Exit");
  About1 = MenuItem(this, MainMenu1->Items, L"About");
  Menu = MainMenu1;

  OpenDialog1 = new TOpenDialog(this);
}
