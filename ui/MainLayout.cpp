// The main window's menu and controls: names, places, captions, initial
// states and the handlers bound to them.

#include "ui/ControlPlacement.h"
#include "ui/Main.h"

namespace {

constexpr int kClientWidth = 868;
constexpr int kClientHeight = 625;

// Track bars: whole degrees, 1 to 360 (360 is also the zero angle).
constexpr int kAngleMin = 1;
constexpr int kAngleMax = 360;
constexpr int kAngleTickEvery = 4;

TMenuItem* AddItem(TForm2* form, TMenuItem* parent, const wchar_t* caption) {
  auto* item = new TMenuItem(form);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

TTrackBar* PlaceAngleBar(TForm2* form, int left) {
  auto* bar = Place<TTrackBar>(form, form, left, 41, 26, 458);
  bar->SetOrientation(trVertical);
  bar->SetMax(kAngleMax);
  bar->SetMin(kAngleMin);
  bar->SetPosition(kAngleMin);
  bar->SetFrequency(kAngleTickEvery);
  bar->SetEnabled(false);
  return bar;
}

TEdit* PlaceAngleEcho(TForm2* form, int left, int width) {
  auto* edit = Place<TEdit>(form, form, left, 498, width, 21, L"0");
  edit->SetReadOnly(true);
  edit->SetNumbersOnly(true);
  return edit;
}

}  // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner) {
  SetText(L"Ulvo Dide Rizid v1.3");
  SetBorderStyle(bsSingle);
  SetLeft(0);
  SetTop(0);
  SetClientWidth(kClientWidth);
  SetClientHeight(kClientHeight);
  CreateMenu();
  CreateControls();
  BindHandlers();

  // A left press on a track bar records the rotation before the thumb moves.
  const std::array<TTrackBar*, 3> bars{TrackBar1, TrackBar2, TrackBar3};
  const std::array<void (TForm2::*)(TMessage&), 3> procedures{
      &TForm2::TB1WndProc, &TForm2::TB2WndProc, &TForm2::TB3WndProc};
  for (std::size_t i = 0; i < bars.size(); ++i) {
    oldTrackBarWndProc[i] = bars[i]->WindowProc;
    bars[i]->WindowProc = Bind(this, procedures[i]);
  }
}

void TForm2::CreateMenu() {
  MainMenu1 = new TMainMenu(this);
  TMenuItem* bar = MainMenu1->GetItems();
  File1 = AddItem(this, bar, L"File");
  OpenLevel1 = AddItem(this, File1, L"Open WAD");
  SaveWad1 = AddItem(this, File1, L"Save Wad");
  N1 = AddItem(this, File1, L"-");
  Exit1 = AddItem(this, File1, L"Exit");
  N2 = AddItem(this, bar, L"Edit");
  Undo1 = AddItem(this, N2, L"Undo");
  N3 = AddItem(this, N2, L"-");
  Edit4 = AddItem(this, N2, L"Copy KeyFrame");
  ReplaceFrame1 = AddItem(this, N2, L"Paste KeyFrame");
  N6 = AddItem(this, N2, L"-");
  N4 = AddItem(this, N2, L"Delete KeyFrame");
  Animation1 = AddItem(this, bar, L"Animation");
  AddAnimation1 = AddItem(this, Animation1, L"Add Animation");
  N5 = AddItem(this, Animation1, L"-");
  InvertAnimation1 = AddItem(this, Animation1, L"Invert Animation");
  InvertAnimation1->SetEnabled(false);
  About1 = AddItem(this, bar, L"About");
  SetMenu(MainMenu1);
}

void TForm2::CreateControls() {
  Label1 = Place<TLabel>(this, this, 731, 22, 30, 13, L"X-Axis");
  Label2 = Place<TLabel>(this, this, 775, 22, 30, 13, L"Y-Axis");
  Label3 = Place<TLabel>(this, this, 822, 22, 30, 13, L"Z-Axis");
  Label4 = Place<TLabel>(this, this, 338, 572, 32, 13, L"X, Y, Z");
  Label5 = Place<TLabel>(this, this, 152, 16, 53, 13, L"Next Dide:");
  Label6 = Place<TLabel>(this, this, 152, 44, 60, 13, L"Next Frame:");
  Label7 = Place<TLabel>(this, this, 285, 16, 60, 13, L"Frame Rate:");
  Label8 = Place<TLabel>(this, this, 285, 44, 44, 13, L"State ID:");
  Label9 = Place<TLabel>(this, this, 408, 16, 34, 13, L"Speed:");
  Label10 = Place<TLabel>(this, this, 417, 43, 25, 13, L"Accel");
  GroupBox1 = Place<TGroupBox>(this, this, 148, 0, 566, 74, L"Animation Parameters:");
  Label11 = Place<TLabel>(this, GroupBox1, 360, 16, 66, 13, L"Total Frames:");
  Button6 = Place<TButton>(this, GroupBox1, 492, 11, 61, 25, L"Apply");
  CSpinEdit4 = Place<TCSpinEdit>(this, GroupBox1, 430, 13, 53, 22);
  Button7 = Place<TButton>(this, GroupBox1, 360, 41, 93, 21, L"State Changes");
  Button8 = Place<TButton>(this, GroupBox1, 459, 41, 102, 21, L"Dide Commands");
  RadioGroup2 = Place<TRadioGroup>(this, this, 8, 8, 134, 49, L"Num Anims:");
  Panel1 = Place<TPanel>(this, this, 226, 80, 488, 442, L"Panel1");
  CreateTestControls();
  RadioGroup1 = Place<TRadioGroup>(this, this, 8, 223, 212, 299, L"Num Moveables:");
  ComboBox1 = Place<TComboBox>(this, this, 16, 29, 113, 21, L"ComboBox1");
  // A list to choose from: typed text would name no animation.
  ComboBox1->SetStyle(csDropDownList);
  ListBox1 = Place<TListBox>(this, this, 16, 240, 196, 273);
  ListBox1->SetItemHeight(13);
  RadioGroup3 = Place<TRadioGroup>(this, this, 8, 80, 212, 137, L"Num Frames:");
  Button1 = Place<TButton>(this, this, 16, 146, 73, 25, L"Play");
  SpinEdit1 = Place<TCSpinEdit>(this, this, 95, 149, 57, 22);
  CreateEditingControls();
  CreateParameterControls();
  CreateWizardControls();
  OpenDialog1 = new TOpenDialog(this);
  SaveDialog1 = new TSaveDialog(this);
}

void TForm2::CreateTestControls() {
  Button10 = Place<TButton>(this, Panel1, 352, 240, 89, 41, L"Button10");
  Edit18 = Place<TEdit>(this, Panel1, 376, 296, 57, 21, L"Edit18");
  Edit19 = Place<TEdit>(this, Panel1, 377, 323, 56, 21, L"Edit19");
  Edit20 = Place<TEdit>(this, Panel1, 377, 350, 57, 21, L"Edit20");
  Button11 = Place<TButton>(this, Panel1, 208, 244, 97, 33, L"Button11");
  Edit21 = Place<TEdit>(this, Panel1, 322, 376, 49, 21, L"Edit21");
}

void TForm2::CreateEditingControls() {
  TrackBar1 = PlaceAngleBar(this, 735);
  TrackBar2 = PlaceAngleBar(this, 779);
  TrackBar3 = PlaceAngleBar(this, 823);
  Edit1 = PlaceAngleEcho(this, 731, 33);
  Edit2 = PlaceAngleEcho(this, 773, 33);
  Edit3 = PlaceAngleEcho(this, 821, 31);
  Button2 = Place<TButton>(this, this, 16, 177, 94, 33, L"Update KeyFrame");
  Button3 = Place<TButton>(this, this, 116, 177, 96, 33, L"Add KeyFrame");
  RadioGroup5 = Place<TRadioGroup>(this, this, 192, 528, 385, 89, L"Frame Parameters");
  CheckBox1 = Place<TCheckBox>(this, this, 208, 542, 113, 17, L"Show Bounding Box");
  CheckBox1->SetEnabled(false);
  Button4 = Place<TButton>(this, this, 207, 561, 105, 34, L"Calculate Bounds");
  RadioGroup6 = Place<TRadioGroup>(this, this, 327, 552, 246, 49, L"Root Mesh Position");
  CheckBox2 = Place<TCheckBox>(this, this, 16, 536, 161, 25, L"Show Dide Translation");
  CSpinEdit1 = Place<TCSpinEdit>(this, this, 376, 568, 59, 22);
  CSpinEdit2 = Place<TCSpinEdit>(this, this, 441, 568, 57, 22);
  CSpinEdit3 = Place<TCSpinEdit>(this, this, 504, 568, 57, 22);
  Button5 = Place<TButton>(this, this, 16, 576, 113, 33, L"Center Camera");
}

void TForm2::CreateParameterControls() {
  Edit5 = Place<TEdit>(this, this, 218, 13, 50, 21);
  Edit6 = Place<TEdit>(this, this, 218, 41, 50, 21);
  Edit7 = Place<TEdit>(this, this, 351, 13, 50, 21);
  Edit8 = Place<TEdit>(this, this, 351, 40, 50, 21);
  Edit8->SetReadOnly(true);
  Edit9 = Place<TEdit>(this, this, 448, 13, 50, 21);
  Edit10 = Place<TEdit>(this, this, 448, 40, 50, 21);
  RadioButton1 = Place<TRadioButton>(this, this, 16, 95, 105, 17, L" KeyFrames Only ");
  RadioButton1->SetChecked(true);
  RadioButton2 =
      Place<TRadioButton>(this, this, 16, 118, 196, 17, L"All Frames ( KFrames + Interpolated)");
  RadioButton2->SetEnabled(false);
  Edit11 = Place<TEdit>(this, this, 548, 376, 49, 21, L"Edit11");
  Edit12 = Place<TEdit>(this, this, 548, 403, 49, 21, L"Edit12");
  Edit13 = Place<TEdit>(this, this, 548, 430, 49, 21, L"Edit13");
}

void TForm2::CreateWizardControls() {
  GroupBox2 = Place<TGroupBox>(this, this, 584, 528, 274, 89, L"Animation Wizard");
  Label12 = Place<TLabel>(this, GroupBox2, 3, 21, 60, 13, L"First KFrame");
  Label13 = Place<TLabel>(this, GroupBox2, 3, 43, 59, 13, L"Last KFrame");
  Label14 = Place<TLabel>(this, GroupBox2, 124, 44, 33, 13, L"Length");
  Label15 = Place<TLabel>(this, GroupBox2, 109, 21, 64, 13, L"Start Position");
  // Narrowed from the left so that "First KFrame" shows whole beside them.
  Edit14 = Place<TEdit>(this, GroupBox2, 69, 16, 35, 21, L"0");
  Edit15 = Place<TEdit>(this, GroupBox2, 69, 40, 35, 21, L"0");
  Edit16 = Place<TEdit>(this, GroupBox2, 176, 41, 43, 21, L"0");
  Edit17 = Place<TEdit>(this, GroupBox2, 176, 16, 43, 21, L"0");
  CheckBox4 = Place<TCheckBox>(this, GroupBox2, 66, 62, 123, 25, L"Inverse Interpolation");
  Button12 = Place<TButton>(this, GroupBox2, 223, 43, 44, 24, L"Undo");
  Button12->SetEnabled(false);
  Button9 = Place<TButton>(this, this, 807, 542, 44, 24, L"GO!");
  CheckBox3 = Place<TCheckBox>(this, this, 208, 596, 113, 17, L"Apply to Moveable");
}

void TForm2::BindHandlers() {
  OnCreate = Bind(this, &TForm2::FormCreate);
  OnPaint = Bind(this, &TForm2::Paint);
  OpenLevel1->OnClick = Bind(this, &TForm2::OpenLevel1Click);
  SaveWad1->OnClick = Bind(this, &TForm2::SaveWad1Click);
  Undo1->OnClick = Bind(this, &TForm2::Undo1Click);
  Panel1->OnClick = Bind(this, &TForm2::Panel1Click);
  Panel1->OnMouseMove = Bind(this, &TForm2::onMouseMove);
  Panel1->OnMouseUp = Bind(this, &TForm2::MouseUp);
  ComboBox1->OnClick = Bind(this, &TForm2::Onclick);
  ComboBox1->OnChange = Bind(this, &TForm2::Onchange);
  ListBox1->OnClick = Bind(this, &TForm2::ListBox1Click);
  Button1->OnClick = Bind(this, &TForm2::Button1Click);
  SpinEdit1->OnChange = Bind(this, &TForm2::SpinEdit1Change);
  TrackBar1->OnChange = Bind(this, &TForm2::TrackBar1Change);
  TrackBar2->OnChange = Bind(this, &TForm2::TrackBar2Change);
  TrackBar3->OnChange = Bind(this, &TForm2::TrackBar3Change);
  Button2->OnClick = Bind(this, &TForm2::Button2Click);
  CheckBox2->OnClick = Bind(this, &TForm2::CheckBox2Click);
  CSpinEdit1->OnChange = Bind(this, &TForm2::CSpinEdit1Change);
  CSpinEdit2->OnChange = Bind(this, &TForm2::CSpinEdit2Change);
  CSpinEdit3->OnChange = Bind(this, &TForm2::CSpinEdit3Change);
  Edit4->OnClick = Bind(this, &TForm2::Edit4Click);
  ReplaceFrame1->OnClick = Bind(this, &TForm2::ReplaceFrame1Click);
  Button3->OnClick = Bind(this, &TForm2::Button3Click);
  N4->OnClick = Bind(this, &TForm2::N4Click);
  Button6->OnClick = Bind(this, &TForm2::Button6Click);
  RadioButton1->OnClick = Bind(this, &TForm2::RadioButton1Click);
  RadioButton2->OnClick = Bind(this, &TForm2::RadioButton2Click);
  Button4->OnClick = Bind(this, &TForm2::Button4Click);
  Button5->OnClick = Bind(this, &TForm2::Button5Click);
  About1->OnClick = Bind(this, &TForm2::About1Click);
  Button7->OnClick = Bind(this, &TForm2::Button7Click);
  Button8->OnClick = Bind(this, &TForm2::Button8Click);
  Button9->OnClick = Bind(this, &TForm2::Button9Click);
  Button12->OnClick = Bind(this, &TForm2::Button12Click);
  AddAnimation1->OnClick = Bind(this, &TForm2::AddAnimation1Click);
  Button11->OnClick = Bind(this, &TForm2::Button11Click);
  Button10->OnClick = Bind(this, &TForm2::Button10Click);
  // Exit ends the program as the window's close button does.
  Exit1->OnClick = [this](TObject*) { Close(); };
}
