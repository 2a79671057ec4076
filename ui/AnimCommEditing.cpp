// The Dide Command Editor's fields: showing the clicked command, the controls
// of the chosen type, and Update, Add and Delete.

#include "model/AnimCommandEditing.h"
#include "ui/AnimCommForm.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

namespace {

// Stored values are 16-bit: typed values wrap. Sums with a frame are taken
// wide, as a typed number may be as large as an int holds.
uint16_t Word(int64_t value) { return static_cast<uint16_t>(value & 0xFFFF); }
int Number(const TEdit* edit) { return StrToInt(edit->GetText()); }

// The ComboBox1 item of a type the editor knows; -1 for any other.
int TypeItem(uint16_t type) {
  return type >= kCommandPositionReference && type <= kCommandPlayEffect ? type - 1 : -1;
}

bool IsFramed(uint16_t type) { return type == kCommandPlaySound || type == kCommandPlayEffect; }

}  // namespace

void TForm3::ListBox1Click(TObject* Sender) {
  const AnimCommand* selected = SelectedCommand();
  if (selected == nullptr) return;
  const AnimCommand c = *selected;
  ComboBox1->SetItemIndex(TypeItem(c.type));
  ComboBox1Change(nullptr);
  Edit1->SetText(IntToStr(IsFramed(c.type) ? c.params[0] - FrameStart() : c.params[0]));
  int second = c.params[1];
  if (c.type == kCommandPlaySound) {
    second &= kSoundNumberMask;
    // With both flags set, "On Land" shows; Update keeps both (keepSoundFlags).
    if (c.params[1] & SOUND_ON_WATER) RadioButton1->SetChecked(true);
    if (c.params[1] & SOUND_ON_LAND) RadioButton2->SetChecked(true);
    if (!(c.params[1] & (SOUND_ON_WATER | SOUND_ON_LAND))) RadioButton3->SetChecked(true);
  }
  if (c.type == kCommandPlayEffect) {
    // An effect without an item leaves no choice, so Update keeps the effect.
    ComboBox2->SetItemIndex(EffectItem(c.params[1]));
    ComboBox2Change(nullptr);
  }
  Edit2->SetText(IntToStr(second));
  Edit3->SetText(IntToStr(c.params[2]));
  keepSoundFlags = true;
}

void TForm3::ComboBox1Change(TObject* Sender) {
  keepSoundFlags = false;
  for (TEdit* edit : {Edit1, Edit2, Edit3}) edit->SetText(L"0");
  const int item = ComboBox1->GetItemIndex();
  if (item < 0) return;
  ShowTypeControls(item);
  if (item + 1 == kCommandPlaySound) RadioButton1->SetChecked(true);
}

void TForm3::ShowTypeControls(int item) {
  const auto type = static_cast<uint16_t>(item + 1);
  Edit1->SetVisible(type != kCommandSlavedAnimation && type != kCommandDie);
  Edit2->SetVisible(type == kCommandPositionReference || type == kCommandJumpingReference ||
                    type == kCommandPlaySound);
  Edit3->SetVisible(type == kCommandPositionReference);
  ComboBox2->SetVisible(type == kCommandPlayEffect);
  RadioGroup1->SetVisible(type == kCommandPlaySound);
  for (TRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3})
    radio->SetVisible(type == kCommandPlaySound);
}

void TForm3::ComboBox2Change(TObject* Sender) {}

void TForm3::RadioButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto* radio = static_cast<const TControl*>(Sender);
  // A left release inside the button clicks it, whether or not it was checked.
  if (Button == mbLeft && X >= 0 && Y >= 0 && X < radio->GetWidth() && Y < radio->GetHeight())
    keepSoundFlags = false;
}

bool TForm3::ReadFields(AnimCommand& command, const AnimCommand* current) const {
  const int item = ComboBox1->GetItemIndex();
  if (item < 0) return false;
  command.type = static_cast<uint16_t>(item + 1);
  command.params = {};
  std::array<uint16_t, 3>& p = command.params;
  const int frameStart = FrameStart();
  switch (command.type) {
    case kCommandPositionReference:
      p = {Word(Number(Edit1)), Word(Number(Edit2)), Word(Number(Edit3))};
      break;
    case kCommandJumpingReference:
      p[0] = Word(Number(Edit1));
      p[1] = Word(Number(Edit2));
      break;
    case kCommandPlaySound: {
      const int frame = Number(Edit1);
      const int sound = Number(Edit2);
      // A larger number would spill into the two flag bits.
      if (sound < 0 || sound > kSoundNumberMask) {
        ShowMessageBox(L"Sound ID must be a number from 0 to 16383", L"Warning",
                       MB_OK | MB_ICONEXCLAMATION);
        return false;
      }
      p[0] = Word(int64_t{frame} + frameStart);
      // The flag is added to the number, as the stored commands have it.
      if (keepSoundFlags && current != nullptr && current->type == kCommandPlaySound)
        p[1] = Word(sound + (current->params[1] & (SOUND_ON_WATER | SOUND_ON_LAND)));
      else if (RadioButton1->GetChecked()) p[1] = Word(sound + SOUND_ON_WATER);
      else if (RadioButton2->GetChecked()) p[1] = Word(sound + SOUND_ON_LAND);
      else if (RadioButton3->GetChecked()) p[1] = Word(sound);
      break;
    }
    case kCommandPlayEffect: {
      const int effectItem = ComboBox2->GetItemIndex();
      if (effectItem >= 0)
        p[1] = Word(itemToEffect[static_cast<std::size_t>(effectItem)]);
      else if (current != nullptr && current->type == kCommandPlayEffect)
        p[1] = current->params[1];
      else
        return false;
      p[0] = Word(int64_t{Number(Edit1)} + frameStart);
      break;
    }
    default: break;
  }
  return true;
}

void TForm3::Button1Click(TObject* Sender) {
  uint32_t i = 0;
  const AnimCommand* current = SelectedCommand(&i);
  AnimCommand changed;
  if (current == nullptr || !ReadFields(changed, current)) return;
  UpdateAnimCommand(Main().comandos, i, changed.type, changed.params);
  refreshCommandList();
}

void TForm3::Button2Click(TObject* Sender) {
  AnimCommand added;
  if (!AnimationValid() || !ReadFields(added, nullptr)) return;
  added.animIndex = static_cast<uint32_t>(Main()._Animacion);
  InsertAnimCommand(Main().comandos, added);
  refreshCommandList();
}

void TForm3::Button3Click(TObject* Sender) {
  uint32_t i = 0;
  if (SelectedCommand(&i) == nullptr) return;
  DeleteAnimCommand(Main().comandos, i);
  refreshCommandList();
}
