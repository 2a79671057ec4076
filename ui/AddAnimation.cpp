// Animation, "Add Animation": appends an empty animation to the chosen
// moveable and lists the moveable's animations again, the new one last.

#include "model/AnimationInsertion.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

void TForm2::AddAnimation1Click(TObject* Sender) {
  MainUnit& M = Main();
  const int line = SelectedMoveable();
  if (line < 0) return;
  DisableWizardUndo();
  const AnimationInsertion added =
      AddMoveableAnimation(M.wadfile, M.animaciones, M.comandos, static_cast<std::uint32_t>(line));
  if (!added.refusal.empty()) {
    ShowMessageBox(String(L"No animation can be added: ") + String::FromUtf8(added.refusal),
                   L"Warning", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const auto count = static_cast<int>(CountMoveableAnimations(M.wadfile, static_cast<std::uint32_t>(line)));
  if (added.index >= 0)
    SelectedView()->LoadAnimations(M.animaciones,
                                   M.wadfile.moveables[static_cast<std::size_t>(line)].animIndex,
                                   count, true);
  RadioGroup2->SetText(String(L"Num Animations:") + IntToStr(count));
  ComboBox1->Clear();
  for (int i = 0; i < count; ++i) ComboBox1->AddItem(String(L"Animation #") + IntToStr(i), nullptr);
}
