// "Calculate Bounds" (the current keyframe, to look at; or with "Apply to
// Moveable", every keyframe of the moveable, stored), "Center Camera" and
// "About".

#include "scene/KeyFrameBounds.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

namespace {

// The view values the editor starts with.
constexpr float kStartZoom = 6.0f;

}  // namespace

void TForm2::Button4Click(TObject* Sender) {
  if (CheckBox3->GetChecked())
    CalculateMoveableBounds();
  else
    CalculateCurrentBounds();
}

// The current keyframe's working box from its posed meshes, shown as the
// calculated cage; nothing is committed.
void TForm2::CalculateCurrentBounds() {
  MainUnit& M = Main();
  int k = 0;
  KeyFrame* keyFrame = CurrentKeyFrame(&k);
  if (ComboBox1->GetItemIndex() < 0 || keyFrame == nullptr || M.meshList == nullptr) return;
  CalculateKeyFrameBounds(M.wadfile, *M.meshList, M.animaciones, SelectedMoveable(),
                          GlobalAnimation(), k);
  ShowCalculatedBox(*keyFrame);
}

// Every keyframe of every animation of the moveable gets its calculated box,
// and its whole working copy becomes its committed copy.
void TForm2::CalculateMoveableBounds() {
  MainUnit& M = Main();
  const int m = SelectedMoveable();
  if (m < 0 || M.meshList == nullptr) return;
  wadMoveableD3D& view = *M.moveableViews[static_cast<std::size_t>(m)];
  const int first = M.wadfile.moveables[static_cast<std::size_t>(m)].animIndex;
  const auto count =
      static_cast<int>(CountMoveableAnimations(M.wadfile, static_cast<std::uint32_t>(m)));
  for (int a = 0; a < count; ++a) {
    const auto g = static_cast<std::size_t>(first + a);
    if (g >= M.animaciones.size()) break;
    const int keyFrames = M.animaciones[g]->numKeyFrames();
    for (int j = 0; j < keyFrames; ++j) {
      CalculateKeyFrameBounds(M.wadfile, *M.meshList, M.animaciones, m, first + a, j);
      view.CommitKeyFrameAt(a, j);
    }
  }
  M.cages.BuildKeyFrameBoxes(*M.d3dDevice, M.animaciones);
  ShowMessageBox(L"New bounds calculAted and applied to the entire Moveable", L"", MB_OK);
}

// The view as at start; the drag accumulator too, so that the next drag goes
// on from the centred view.
void TForm2::Button5Click(TObject* Sender) {
  MainUnit& M = Main();
  M.viewRotation = {0.0f, 0.0f};
  M.viewZoom = kStartZoom;
  M.viewPan = {0.0f, 0.0f};
  if (M.mouseControl != nullptr) M.mouseControl->Reset();
}

void TForm2::About1Click(TObject* Sender) {
  ShowMessageBox(L"Written and tested by the people who animate with it.", L"Ulvo Dide Rizid v.1.3",
                 MB_OK);
}
