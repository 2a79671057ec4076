// Editing one keyframe: a click on the 3D panel picks a mesh and shows its
// angles on the track bars, moving a track bar turns the mesh, the root-offset
// fields move the keyframe, and "Update KeyFrame" commits the working copy.

#include <algorithm>
#include <cmath>

#include "d3d/Device8.h"
#include "d3d/VertexFormats.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

namespace {

constexpr int kFullTurn = 360;
constexpr int kOffsetMin = -32768;
constexpr int kOffsetMax = 32767;

// A working angle as a track-bar position from 1 to 360. The bars have no 0,
// so a zero angle shows as 360, the same rotation; moving another bar of the
// mesh then writes 360 back instead of turning 0 into 1.
int BarPosition(float angle) {
  if (!std::isfinite(angle)) return kFullTurn;
  const int whole = static_cast<int>(std::fmod(std::trunc(angle), static_cast<float>(kFullTurn)));
  return whole <= 0 ? whole + kFullTurn : whole;
}

}  // namespace

void TForm2::Panel1Click(TObject* Sender) {
  MainUnit& M = Main();
  if (M.currentAnimation == -1 || M.isPlaying || GlobalAnimation() < 0) return;
  HWND panel = Panel1->GetHandle();
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(panel, &cursor);
  dxBufferColor8* picked = nullptr;
  if (M.d3dDevice->Pick(cursor.x, cursor.y, panel, Panel1->GetWidth(), Panel1->GetHeight(),
                        static_cast<int>(M.selectedBuffers.size()), M.selectedBuffers.data())) {
    M.d3dDevice->GetPickResult(&picked);
  } else {
    SetText(M.captionText);
    for (TTrackBar* bar : {TrackBar1, TrackBar2, TrackBar3}) bar->SetEnabled(false);
  }
  SetPickHighlight(picked);
}

// Draws the picked mesh as wireframe and every other polygon of the moveable
// as built, and loads the picked mesh's angles.
void TForm2::SetPickHighlight(const dxBufferColor8* picked) {
  MainUnit& M = Main();
  for (std::size_t i = 0; i < M.selectedBuffers.size(); ++i) {
    dxBufferTextura* buffer = M.selectedBuffers[i];
    const bool isPicked = buffer == picked;
    const int polygons = buffer->GetNumTriangles() + buffer->GetNumQuads();
    for (int p = 0; p < polygons; ++p) {
      const DWORD flags = buffer->GetPolygonFlags(p);
      buffer->SetPolygonFlags(p, isPicked ? flags | POLY_WIREFRAME : UnhighlightedFlags(flags));
    }
    if (!isPicked) continue;
    M.pickedMesh = static_cast<int>(i);
    SetText(String(L"Mesh #") + IntToStr(M.pickedMesh));
    LoadTrackBars(M.pickedMesh);
  }
}

// Shows the mesh's working angles in the shown keyframe without writing them
// back. An animation without keyframes has no angles: the bars stay disabled.
void TForm2::LoadTrackBars(int mesh) {
  MainUnit& M = Main();
  const KeyFrame* keyFrame = CurrentKeyFrame();
  if (keyFrame == nullptr || static_cast<std::size_t>(mesh) >= keyFrame->meshes.size()) return;
  const std::array<float, 3>& angles =
      keyFrame->meshes[static_cast<std::size_t>(mesh)].workingAngles;
  M.suppressTrackBarWrite = true;
  const std::array<TTrackBar*, 3> bars{TrackBar1, TrackBar2, TrackBar3};
  for (TTrackBar* bar : bars) bar->SetEnabled(true);
  for (std::size_t axis = 0; axis < bars.size(); ++axis)
    bars[axis]->SetPosition(BarPosition(angles[axis]));
  M.suppressTrackBarWrite = false;
}

void TForm2::TrackBar1Change(TObject* Sender) { TrackBarChange(TrackBar1, Edit1, true); }
void TForm2::TrackBar2Change(TObject* Sender) { TrackBarChange(TrackBar2, Edit2, false); }
void TForm2::TrackBar3Change(TObject* Sender) { TrackBarChange(TrackBar3, Edit3, false); }

// Any bar's change writes all three positions as the picked mesh's working
// angles in the shown keyframe. The first bar's skip flag (set by Paste
// KeyFrame for its direct call) skips exactly this one write: it is cleared
// whichever way the handler ends, so a later move of the bar is never lost.
void TForm2::TrackBarChange(TTrackBar* bar, TEdit* echo, bool firstBar) {
  MainUnit& M = Main();
  const bool skipWrite = firstBar && M.skipNextTrackBar1Write;
  if (firstBar) M.skipNextTrackBar1Write = false;
  echo->SetText(IntToStr(bar->GetPosition()));
  if (M.suppressTrackBarWrite) return;
  int k = 0;
  const KeyFrame* keyFrame = CurrentKeyFrame(&k);
  wadMoveableD3D* view = SelectedView();
  if (view == nullptr || keyFrame == nullptr) return;
  view->MarkEdited();
  const bool meshPicked =
      M.pickedMesh >= 0 && static_cast<std::size_t>(M.pickedMesh) <
                               std::min(keyFrame->meshes.size(), M.selectedBuffers.size());
  if (skipWrite || !meshPicked) return;
  view->SetMeshAngles(M.currentAnimation, k, M.pickedMesh, TrackBar1->GetPosition(),
                      TrackBar2->GetPosition(), TrackBar3->GetPosition());
}

void TForm2::CSpinEdit1Change(TObject* Sender) { RootOffsetChange(CSpinEdit1, 0, 1); }
void TForm2::CSpinEdit2Change(TObject* Sender) { RootOffsetChange(CSpinEdit2, 1, -1); }
void TForm2::CSpinEdit3Change(TObject* Sender) { RootOffsetChange(CSpinEdit3, 2, 1); }

// The field's number, times sign, as the shown keyframe's working root offset
// on one axis. Text that is not (yet) a whole number, such as a lone "-",
// writes nothing; a number past 16 bits is held at the nearest 16-bit value.
void TForm2::RootOffsetChange(TCSpinEdit* field, int axis, int sign) {
  KeyFrame* keyFrame = CurrentKeyFrame();
  wadMoveableD3D* view = SelectedView();
  if (keyFrame == nullptr || view == nullptr) return;
  int value = 0;
  try {
    value = StrToInt(field->GetText());
  } catch (const EConvertError&) {
    return;
  }
  view->MarkEdited();
  const long long offset = static_cast<long long>(sign) * value;
  keyFrame->workingRootOffset[static_cast<std::size_t>(axis)] =
      static_cast<std::int16_t>(std::clamp<long long>(offset, kOffsetMin, kOffsetMax));
}

void TForm2::Button2Click(TObject* Sender) {
  MainUnit& M = Main();
  if (ListBox1->GetItemIndex() < 0 || ComboBox1->GetItemIndex() < 0) return;
  int k = 0;
  wadMoveableD3D* view = SelectedView();
  if (view == nullptr || CurrentKeyFrame(&k) == nullptr) return;
  DisableWizardUndo();
  // The keyframe the edits were written to is the one in the keyframe field.
  view->CommitKeyFrameAt(M.currentAnimation, k);
  M.cages.BuildKeyFrameBoxes(*M.d3dDevice, M.animaciones);
  M.showCalculatedBounds = false;
  ShowMessageBox(L"The current frame has been updated", L"Ulvo Dide Rizid", MB_OK);
}
