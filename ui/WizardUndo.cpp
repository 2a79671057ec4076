// The Animation Wizard's "Undo": puts the animation of the last wizard run
// back as it stood before that run, from the copy the run kept.

#include "model/KeyFrameUndo.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

void TForm2::Button12Click(TObject* Sender) {
  MainUnit& M = Main();
  const int line = SelectedMoveable();
  const int g = GlobalAnimation();
  // The copy belongs to one animation, as the run left it; anything else is
  // not what it would put back.
  const bool sameAnimation = line >= 0 && g >= 0 && line == M.wizardUndoMoveable &&
                             M.currentAnimation == M.wizardUndoAnimation &&
                             ComboBox1->GetItemIndex() == M.currentAnimation;
  if (!sameAnimation || !RestoreKeyFrames(*M.animaciones[static_cast<std::size_t>(g)],
                                          M.wizardUndoFrames, M.wizardUndoLength)) {
    DisableWizardUndo();
    return;
  }
  // The view takes the restored keyframes before anything shows one of them.
  wadMoveableD3D* view = SelectedView();
  const WadMoveable& moveable = M.wadfile.moveables[static_cast<std::size_t>(line)];
  view->LoadAnimations(M.animaciones, moveable.animIndex,
                       static_cast<std::int32_t>(CountMoveableAnimations(M.wadfile, line)), true);
  view->Select(M.currentAnimation, 0);
  SpinEdit1->SetValue(0);
  SpinEdit1Change(nullptr);
  Onclick(nullptr);
  M.cages.BuildKeyFrameBoxes(*M.d3dDevice, M.animaciones);
  ShowMessageBox(L"Animation Undone", L" ", MB_OK);
  DisableWizardUndo();
}
