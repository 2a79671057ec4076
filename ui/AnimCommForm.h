#pragma once
// The Dide Command Editor: lists the anim commands of the animation chosen in
// the main window and changes, adds and deletes them in place in the decoded
// command array (the WAD's command words are rebuilt from it on save). The
// main window is disabled while it is shown, so the animation cannot change
// under it. Layout, tables, list and closing are in AnimCommForm.cpp; showing
// a command and Update, Add and Delete in AnimCommEditing.cpp.

#include <array>
#include <cstdint>
#include <vector>

#include "model/AnimCommands.h"
#include "vcl/Vcl.h"

// Rows of the effect names: effect numbers below 50, the two step sounds at
// rows 48 and 49.
inline constexpr int kEffectRows = 50;
inline constexpr int kEffectItems = 30;
inline constexpr uint16_t EFFECT_STEP_LAND = 0x4020;
inline constexpr uint16_t EFFECT_STEP_WATER = 0x8020;
inline constexpr uint16_t SOUND_ON_WATER = 0x8000;
inline constexpr uint16_t SOUND_ON_LAND = 0x4000;
// The bits of a Play Sound command's second parameter below the two flags:
// its sound number.
inline constexpr uint16_t kSoundNumberMask = 0x3FFF;

class TForm3 : public TForm {
 public:
  explicit TForm3(TComponent* owner);

  TListBox* ListBox1;
  TComboBox* ComboBox1;
  TEdit *Edit1, *Edit2, *Edit3;
  TComboBox* ComboBox2;
  TButton *Button1, *Button2, *Button3;
  TRadioGroup* RadioGroup1;
  TRadioButton *RadioButton1, *RadioButton2, *RadioButton3;

  void FormCreate(TObject* Sender);
  void Cargar(TObject* Sender);
  void Salir(TObject* Sender, TCloseAction& Action);
  void ListBox1Click(TObject* Sender);
  void ComboBox1Change(TObject* Sender);
  void ComboBox2Change(TObject* Sender);
  void Button1Click(TObject* Sender);  // Update
  void Button2Click(TObject* Sender);  // Add
  void Button3Click(TObject* Sender);  // Delete
  // A click on any of the three radio buttons, the checked one included.
  void RadioButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // Lists the commands of the chosen animation, one line each, with no line
  // selected.
  void refreshCommandList();

  std::array<String, kEffectRows> effectNames;
  std::array<int, kEffectRows> effectToItem{};
  std::array<int, kEffectItems> itemToEffect{};
  // Line i of ListBox1 shows comandos[commandListMap[i]].
  std::vector<uint32_t> commandListMap;

 private:
  // Set by a click on a line, cleared by a click on a radio button or a
  // choice of type: until then Update keeps the flag bits of the clicked Play
  // Sound command, even both of them, which show as "On Land".
  bool keepSoundFlags = false;

  void CreateControls();
  void BindHandlers();

  // The chosen animation, when the open WAD has it.
  bool AnimationValid() const;
  // The first frame of the chosen animation: frames are shown from it.
  int FrameStart() const;
  String CommandLine(const AnimCommand& command) const;
  String EffectName(uint16_t effect) const;
  // The item of ComboBox2 that shows the effect; -1 for none.
  int EffectItem(uint16_t effect) const;
  // The command in the selected line, or null.
  const AnimCommand* SelectedCommand(uint32_t* index = nullptr) const;
  // The type and parameters that the fields give, converting every text the
  // type needs first. False when they give no command: no type chosen, or a
  // Play Effect with no effect chosen that has none of its own to keep
  // (current: the command being changed; null for a new one).
  bool ReadFields(AnimCommand& command, const AnimCommand* current) const;
  void ShowTypeControls(int item);
};
