// "Apply" of the group "Animation Parameters:" and the two counting modes of
// the keyframe selector. Next animation and next frame are typed relative (to
// the moveable's first animation, and to the first frame of the next
// animation) and stored absolute; the total frame count goes through the
// frame renumbering, which moves the frames of the moveable's later
// animations.

#include <cstdint>

#include "model/FrameRenumbering.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

namespace {

constexpr int kLastFrame = 0xFFFF;

// The seven fields as typed, all converted before anything is stored.
struct TypedParameters {
  int nextDide, nextFrame, frameRate, stateId, speed, accel, totalFrames;
};

void Refuse(const wchar_t* text) { ShowMessageBox(text, L"Warning", MB_OK | MB_ICONEXCLAMATION); }

// The speed's high 16 bits replaced, its low 16 bits kept.
std::int32_t WithWholePart(std::int32_t speed, int whole) {
  const std::uint32_t high = static_cast<std::uint32_t>(static_cast<std::uint16_t>(whole)) << 16;
  return static_cast<std::int32_t>(high | (static_cast<std::uint32_t>(speed) & 0xFFFFu));
}

// Text that is not a whole number raises the conversion error here, which
// the application shows; nothing has been stored by then.
TypedParameters ReadTypedParameters(const TForm2& form) {
  return {StrToInt(form.Edit5->GetText()),     StrToInt(form.Edit6->GetText()),
          StrToInt(form.Edit7->GetText()),     StrToInt(form.Edit8->GetText()),
          StrToInt(form.Edit9->GetText()),     StrToInt(form.Edit10->GetText()),
          StrToInt(form.CSpinEdit4->GetText())};
}

}  // namespace

void TForm2::Button6Click(TObject* Sender) {
  MainUnit& M = Main();
  WadFile& wad = M.wadfile;
  const int m = SelectedMoveable();
  const int g = GlobalAnimation();
  if (ComboBox1->GetItemIndex() < 0 || m < 0 || g < 0) return;
  const TypedParameters typed = ReadTypedParameters(*this);
  const int first = wad.moveables[static_cast<std::size_t>(m)].animIndex;
  const std::int64_t next = std::int64_t{first} + typed.nextDide;
  if (next < 0 || next >= wad.numAnimations()) {
    Refuse(L"Next Dide names no animation of this WAD");
    return;
  }
  const std::int64_t nextFrame =
      std::int64_t{typed.nextFrame} + wad.animations[static_cast<std::size_t>(next)].frameStart;
  if (nextFrame < 0 || nextFrame > kLastFrame) {
    Refuse(L"Next Frame names a frame number below 0 or past 65535");
    return;
  }
  if (typed.totalFrames < 0) {
    Refuse(L"Total Frames cannot be negative");
    return;
  }
  WadAnimation& a = wad.animations[static_cast<std::size_t>(g)];
  const WadAnimation before = a;
  a.nextAnimation = static_cast<std::uint16_t>(next);
  a.nextFrame = static_cast<std::uint16_t>(nextFrame);
  a.frameRate = static_cast<std::uint8_t>(typed.frameRate);
  a.stateId = static_cast<std::uint16_t>(typed.stateId);
  a.speed = WithWholePart(a.speed, typed.speed);
  a.accel = typed.accel;
  const FrameCountChange change =
      ChangeFrameCount(wad, m, M.currentAnimation, typed.totalFrames, M.comandos);
  if (change != FrameCountChange::kDone) {
    // The animation and the count were checked above: only a frame number
    // outside 0..65535 is left to refuse the change.
    a = before;
    Refuse(change == FrameCountChange::kBelowZero
               ? L"With this Total Frames a frame number would fall below 0"
               : L"With this Total Frames a frame number would pass 65535");
    return;
  }
  GroupBox1->SetText(String(L"Animation Parameters: Start Frame #0 End Frame #") +
                     IntToStr(a.frameEnd - a.frameStart));
  ShowMessageBox(L"Animation parameters saved", L"", MB_OK);
}

void TForm2::RadioButton1Click(TObject* Sender) {
  Main().currentAnimation = ComboBox1->GetItemIndex();
  Button2->SetEnabled(true);
  Button3->SetEnabled(true);
  if (Main().currentAnimation != -1) ShowFrameCountCaption(L"Num Key Frames:", true);
}

void TForm2::RadioButton2Click(TObject* Sender) {
  Main().currentAnimation = ComboBox1->GetItemIndex();
  if (Main().currentAnimation == -1) return;
  Button2->SetEnabled(false);
  Button3->SetEnabled(false);
  ShowFrameCountCaption(L"Num Total Frames:", false);
}

// RadioGroup3's caption: the label, then the keyframe count or the total frame
// count and the frame period of the chosen animation, when it has a decoded entry.
void TForm2::ShowFrameCountCaption(const wchar_t* label, bool keyFrames) {
  const MainUnit& M = Main();
  const int g = GlobalAnimation();
  if (g < 0) {
    RadioGroup3->SetText(label);
    return;
  }
  const WadAnimation& a = M.wadfile.animations[static_cast<std::size_t>(g)];
  const int count =
      keyFrames ? M.animaciones[static_cast<std::size_t>(g)]->numKeyFrames() : FrameCount(a);
  RadioGroup3->SetText(String(label) + IntToStr(count) + L" Frame Rate:" +
                       IntToStr(a.frameRate * kFrameRateStepMs));
}
