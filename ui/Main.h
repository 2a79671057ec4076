#pragma once
// The main window: menu, 3D panel, moveable and animation lists, keyframe
// field, rotation track bars, root-offset fields, animation parameters and
// the Animation Wizard. Its controls are laid out in MainLayout.cpp; its
// handlers live in the files named after what they do (OpenWad.cpp,
// SaveWad.cpp, Selection.cpp, RenderLoop.cpp, RotationEditing.cpp,
// RotationUndoHandlers.cpp, KeyFrameClipboard.cpp, KeyFrameListEditing.cpp,
// AnimationParameters.cpp, BoundsTools.cpp, AnimationWizard.cpp,
// WizardUndo.cpp, AddAnimation.cpp, TestControls.cpp, StateChangesButton.cpp,
// DideCommandsButton.cpp).

#include <array>
#include <optional>

#include "vcl/Vcl.h"

struct KeyFrame;
class dxBufferColor8;
class wadMoveableD3D;

// The flags of a mesh polygon without the pick highlight.
DWORD UnhighlightedFlags(DWORD flags);

class TForm2 : public TForm {
 public:
  explicit TForm2(TComponent* owner);

  // Menu.
  TMainMenu* MainMenu1;
  TMenuItem *File1, *OpenLevel1, *SaveWad1, *N1, *Exit1;
  TMenuItem *N2, *Undo1, *N3, *Edit4, *ReplaceFrame1, *N6, *N4;
  TMenuItem *Animation1, *AddAnimation1, *N5, *InvertAnimation1;
  TMenuItem* About1;

  // Controls, in the order the window holds them.
  TLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10;
  TGroupBox* GroupBox1;
  TLabel* Label11;
  TButton* Button6;
  TCSpinEdit* CSpinEdit4;
  TButton *Button7, *Button8;
  TRadioGroup* RadioGroup2;
  TPanel* Panel1;
  TButton* Button10;
  TEdit *Edit18, *Edit19, *Edit20;
  TButton* Button11;
  TEdit* Edit21;
  TRadioGroup* RadioGroup1;
  TComboBox* ComboBox1;
  TListBox* ListBox1;
  TRadioGroup* RadioGroup3;
  TButton* Button1;
  TCSpinEdit* SpinEdit1;
  TTrackBar *TrackBar1, *TrackBar2, *TrackBar3;
  TEdit *Edit1, *Edit2, *Edit3;
  TButton *Button2, *Button3;
  TRadioGroup* RadioGroup5;
  TCheckBox* CheckBox1;
  TButton* Button4;
  TRadioGroup* RadioGroup6;
  TCheckBox* CheckBox2;
  TCSpinEdit *CSpinEdit1, *CSpinEdit2, *CSpinEdit3;
  TButton* Button5;
  TEdit *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10;
  TRadioButton *RadioButton1, *RadioButton2;
  TEdit *Edit11, *Edit12, *Edit13;
  TGroupBox* GroupBox2;
  TLabel *Label12, *Label13, *Label14, *Label15;
  TEdit *Edit14, *Edit15, *Edit16, *Edit17;
  TCheckBox* CheckBox4;
  TButton* Button12;
  TButton* Button9;
  TCheckBox* CheckBox3;
  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;

  // Start-up.
  void FormCreate(TObject* Sender);

  // Render loop.
  void MyIdleHandler(TObject* Sender, bool& Done);
  void Paint(TObject* Sender);

  // Files.
  void OpenLevel1Click(TObject* Sender);
  void SaveWad1Click(TObject* Sender);

  // Selection, playback and view dragging.
  void ListBox1Click(TObject* Sender);
  void Onclick(TObject* Sender);
  void Onchange(TObject* Sender);
  void SpinEdit1Change(TObject* Sender);
  void Button1Click(TObject* Sender);
  void onMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void CheckBox2Click(TObject* Sender);

  // Picking and rotation editing.
  void Panel1Click(TObject* Sender);
  void TrackBar1Change(TObject* Sender);
  void TrackBar2Change(TObject* Sender);
  void TrackBar3Change(TObject* Sender);
  void CSpinEdit1Change(TObject* Sender);
  void CSpinEdit2Change(TObject* Sender);
  void CSpinEdit3Change(TObject* Sender);
  void Button2Click(TObject* Sender);

  // Rotation undo.
  void TB1WndProc(TMessage& Message);
  void TB2WndProc(TMessage& Message);
  void TB3WndProc(TMessage& Message);
  void Undo1Click(TObject* Sender);
  void PushRotationUndo();
  void PopRotationUndo();
  void ClearRotationUndo();

  // The State Change Editor.
  void Button7Click(TObject* Sender);
  // Dide Command Editor.
  void Button8Click(TObject* Sender);

  // Shared helpers.
  void ResetMeshHighlight();
  void DisableWizardUndo();

  // The selection as the handlers act on it, each step checked against the
  // open WAD: the moveable of ListBox1's line, the global index of the chosen
  // animation, the keyframe number in SpinEdit1, and that keyframe.
  int SelectedMoveable() const;
  wadMoveableD3D* SelectedView() const;
  int GlobalAnimation() const;
  std::optional<int> KeyFrameNumber() const;
  KeyFrame* CurrentKeyFrame(int* number = nullptr) const;

  // Keyframe clipboard, adding and deleting keyframes.
  void Edit4Click(TObject* Sender);
  void ReplaceFrame1Click(TObject* Sender);
  void Button3Click(TObject* Sender);
  void N4Click(TObject* Sender);

  // Animation parameters and the two counting modes.
  void Button6Click(TObject* Sender);
  void RadioButton1Click(TObject* Sender);
  void RadioButton2Click(TObject* Sender);

  // Bounds tools, view and about.
  void Button4Click(TObject* Sender);
  void Button5Click(TObject* Sender);
  void About1Click(TObject* Sender);
  // Animation Wizard and its undo; adding an animation; test controls.
  void Button9Click(TObject* Sender);
  void Button12Click(TObject* Sender);
  void AddAnimation1Click(TObject* Sender);
  void Button11Click(TObject* Sender);
  void Button10Click(TObject* Sender);

 private:
  void CreateMenu();
  void CreateControls();
  void CreateParameterControls();
  void CreateEditingControls();
  void CreateWizardControls();
  void CreateTestControls();
  void BindHandlers();

  bool CreateDirect3D();
  void SetViewProjection();
  bool DrawFrame();
  void WriteStatistics();
  void RecoverDevice();

  void ShowAnimationParameters(int g);
  void TrackBarChange(TTrackBar* bar, TEdit* echo, bool firstBar);
  void RootOffsetChange(TCSpinEdit* field, int axis, int sign);
  void LoadTrackBars(int mesh);
  void SetPickHighlight(const dxBufferColor8* picked);
  void ForgetSelection();

  std::array<TWndMethod, 3> oldTrackBarWndProc;

  void RebindAnimations(int m, bool pointersOnly);
  void ShowCalculatedBox(const KeyFrame& keyFrame);
  void CalculateCurrentBounds();
  void CalculateMoveableBounds();
  void ShowFrameCountCaption(const wchar_t* label, bool keyFrames);
};
