// "Add KeyFrame" and Edit, "Delete KeyFrame": grow or shrink the chosen
// animation's keyframe list, then bring the moveable view, the cages and the
// selection controls up to date.

#include <algorithm>

#include "model/KeyFrameEditing.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

void TForm2::Button3Click(TObject* Sender) {
  MainUnit& M = Main();
  const int m = SelectedMoveable();
  const int g = GlobalAnimation();
  if (ComboBox1->GetItemIndex() < 0 || m < 0 || g < 0) return;
  const int meshCount = M.wadfile.moveables[static_cast<std::size_t>(m)].numMeshes;
  if (AppendKeyFrame(M.animaciones, g, meshCount) == 0) {
    ShowMessageBox(L"This animation cannot hold more keyframes", L"Warning",
                   MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // Only a keyframe that was added puts the wizard's copy out of date.
  DisableWizardUndo();
  // The view takes the animations again and poses every keyframe.
  RebindAnimations(m, false);
  M.cages.BuildKeyFrameBoxes(*M.d3dDevice, M.animaciones);
  ShowMessageBox(L"A new frame has been added after the last frame", L"New Frame", MB_OK);
  Onclick(nullptr);
  SpinEdit1->SetValue(M.animaciones[static_cast<std::size_t>(g)]->numKeyFrames() - 1);
  SpinEdit1Change(nullptr);
}

void TForm2::N4Click(TObject* Sender) {
  MainUnit& M = Main();
  const int m = SelectedMoveable();
  const int g = GlobalAnimation();
  int k = 0;
  if (ComboBox1->GetItemIndex() < 0 || m < 0 || g < 0 || CurrentKeyFrame(&k) == nullptr) return;
  const int result = DeleteKeyFrame(M.animaciones, g, k);
  if (result == -1) return;
  if (result == 0) {
    ShowMessageBox(L"You can't delete more Key Frames", L"Ulvo Dide Rizid",
                   MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  DisableWizardUndo();
  RebindAnimations(m, true);
  // Deleting the last keyframe leaves the selector one past the end: the
  // selector and the view move to the new last keyframe before anything
  // reverts or draws; otherwise the number now names the keyframe that
  // followed the deleted one.
  const int last = M.animaciones[static_cast<std::size_t>(g)]->numKeyFrames() - 1;
  const int shown = std::min(k, last);
  SelectedView()->Select(M.currentAnimation, shown);
  SpinEdit1->SetValue(shown);
  M.cages.BuildKeyFrameBoxes(*M.d3dDevice, M.animaciones);
  Onclick(nullptr);
  SpinEdit1Change(nullptr);
}

// The moveable's view takes its animations from the model again; with
// pointersOnly it keeps the poses it has.
void TForm2::RebindAnimations(int m, bool pointersOnly) {
  MainUnit& M = Main();
  const WadMoveable& moveable = M.wadfile.moveables[static_cast<std::size_t>(m)];
  const auto count =
      static_cast<std::int32_t>(CountMoveableAnimations(M.wadfile, static_cast<std::uint32_t>(m)));
  M.moveableViews[static_cast<std::size_t>(m)]->LoadAnimations(M.animaciones, moveable.animIndex,
                                                               count, pointersOnly);
}
