// The selection chain of the main window (moveable list, animation list,
// keyframe field), the Play/Stop button, dragging the view with the right
// mouse button, and the small helpers the other handlers share.

#include "d3d/VertexFormats.h"
#include "model/FrameRenumbering.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"

namespace {

// The flags every mesh polygon is built with: textured, counter-clockwise
// faces culled; quads keep their quad bit.
constexpr DWORD kMeshPolygonFlags = POLY_TEXTURED | POLY_CULL_CCW;

// Pans move twenty view units per pixel of drag.
constexpr float kPanFactor = 20.0f;

// The upper 16 bits of a 16.16 fixed-point value: its whole part.
int WholePart(std::int32_t fixed) { return static_cast<std::int16_t>(fixed >> 16); }

}  // namespace

DWORD UnhighlightedFlags(DWORD flags) { return kMeshPolygonFlags | (flags & POLY_QUAD); }

void TForm2::ListBox1Click(TObject* Sender) {
  MainUnit& M = Main();
  M.showCalculatedBounds = false;
  ClearRotationUndo();
  ResetMeshHighlight();
  const int m = SelectedMoveable();
  if (m < 0) return;
  DisableWizardUndo();
  M.currentAnimation = -1;
  CheckBox2->SetChecked(false);
  ComboBox1->Clear();
  for (TTrackBar* bar : {TrackBar1, TrackBar2, TrackBar3}) bar->SetEnabled(false);
  M.currentMoveable = M.moveableViews[static_cast<std::size_t>(m)].get();
  const auto count =
      static_cast<int>(CountMoveableAnimations(M.wadfile, static_cast<std::uint32_t>(m)));
  RadioGroup2->SetText(String(L"Num Animations:") + IntToStr(count));
  for (int i = 0; i < count; ++i) ComboBox1->AddItem(String(L"Animation #") + IntToStr(i), nullptr);
  SpinEdit1->SetValue(0);
  SpinEdit1->SetMaxValue(1);
  RadioGroup3->SetText(L"Num Frames:");
  M.selectedBuffers.assign(static_cast<std::size_t>(M.currentMoveable->GetMeshCount()), nullptr);
  M.currentMoveable->GetMeshBuffers(M.selectedBuffers.data());
}

void TForm2::Onclick(TObject* Sender) {
  MainUnit& M = Main();
  ClearRotationUndo();
  M.currentAnimation = ComboBox1->GetItemIndex();
  const int g = GlobalAnimation();
  if (g < 0) return;
  const WadAnimation& animation = M.wadfile.animations[static_cast<std::size_t>(g)];
  const int k = M.animaciones[static_cast<std::size_t>(g)]->numKeyFrames();
  const int total = FrameCount(animation);
  const String rate = String(L" Frame Rate:") + IntToStr(animation.frameRate * kFrameRateStepMs);
  if (RadioButton1->GetChecked())
    RadioGroup3->SetText(String(L"Num Key Frames:") + IntToStr(k) + rate);
  else
    RadioGroup3->SetText(String(L"Num Total Frames:") + IntToStr(total) + rate);
  if (k == 0) {
    SpinEdit1->SetMinValue(-1);
    SpinEdit1->SetMaxValue(0);
    SpinEdit1->SetEnabled(false);
    Button1->SetEnabled(false);
    // Nothing plays, so the button must not offer to stop it.
    M.isPlaying = false;
    Button1->SetText(L" Play ");
  } else {
    SpinEdit1Change(nullptr);
    SpinEdit1->SetMinValue(-1);
    SpinEdit1->SetMaxValue(k);
    Button1->SetEnabled(true);
    SpinEdit1->SetEnabled(true);
  }
  CSpinEdit4->SetValue(total);
}

void TForm2::Onchange(TObject* Sender) {
  MainUnit& M = Main();
  // Only a chosen animation of the selected moveable is shown and published.
  const int g = GlobalAnimation();
  if (g < 0) return;
  SelectedView()->RevertKeyFrame();
  SpinEdit1->SetValue(0);
  M.showCalculatedBounds = false;
  ShowAnimationParameters(g);
  DisableWizardUndo();
  M._Animacion = g;
  M.pivoteAnimacion = M.wadfile.moveables[static_cast<std::size_t>(SelectedMoveable())].animIndex;
}

void TForm2::ShowAnimationParameters(int g) {
  const MainUnit& M = Main();
  const WadFile& wad = M.wadfile;
  const WadAnimation& animation = wad.animations[static_cast<std::size_t>(g)];
  const int first = wad.moveables[static_cast<std::size_t>(SelectedMoveable())].animIndex;
  Edit5->SetText(IntToStr(animation.nextAnimation - first));
  // The next frame counts from the first frame of the animation it names; a
  // next animation past the table leaves it absolute.
  int nextFrame = animation.nextFrame;
  if (animation.nextAnimation < wad.numAnimations())
    nextFrame -= wad.animations[animation.nextAnimation].frameStart;
  Edit6->SetText(IntToStr(nextFrame));
  Edit7->SetText(IntToStr(animation.frameRate));
  Edit8->SetText(IntToStr(animation.stateId));
  Edit9->SetText(IntToStr(WholePart(animation.speed)));
  Edit10->SetText(IntToStr(animation.accel));
  GroupBox1->SetText(String(L"Animation Parameters: Start Frame #0 End Frame #") +
                     IntToStr(animation.frameEnd - animation.frameStart));
}

void TForm2::SpinEdit1Change(TObject* Sender) {
  MainUnit& M = Main();
  M.showCalculatedBounds = false;
  if (wadMoveableD3D* view = SelectedView()) view->RevertKeyFrame();
  ClearRotationUndo();
  ResetMeshHighlight();
  for (TTrackBar* bar : {TrackBar1, TrackBar2, TrackBar3}) bar->SetEnabled(false);
  const int g = GlobalAnimation();
  const std::optional<int> k = KeyFrameNumber();
  if (M.currentAnimation == -1 || g < 0 || !k) return;
  if (*k == -1) {
    // -1 stands for the last keyframe; setting it runs this handler again.
    SpinEdit1->SetValue(M.animaciones[static_cast<std::size_t>(g)]->numKeyFrames() - 1);
    return;
  }
  const KeyFrame* keyFrame = CurrentKeyFrame();
  if (keyFrame == nullptr) return;
  // Each field's handler stores its value back into the same keyframe.
  CSpinEdit1->SetText(IntToStr(keyFrame->workingRootOffset[0]));
  CSpinEdit2->SetText(IntToStr(-keyFrame->workingRootOffset[1]));
  CSpinEdit3->SetText(IntToStr(keyFrame->workingRootOffset[2]));
}

void TForm2::Button1Click(TObject* Sender) {
  MainUnit& M = Main();
  M.isPlaying = !M.isPlaying;
  Button1->SetText(M.isPlaying ? L" Stop " : L" Play ");
}

void TForm2::onMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  MainUnit& M = Main();
  if (!Shift.Contains(ssRight) || M.mouseControl == nullptr) return;
  MouseD3D& mouse = *M.mouseControl;
  if (Shift.Contains(ssCtrl)) {
    M.viewZoom = mouse.UpdateZoom(Y);
  } else if (Shift.Contains(ssShift)) {
    M.viewPan[0] = mouse.UpdatePanX(X) * kPanFactor;
    M.viewPan[1] = mouse.UpdatePanY(Y) * kPanFactor;
  } else {
    M.viewRotation[0] = mouse.UpdateRotationY(X);
    M.viewRotation[1] = mouse.UpdateRotationX(Y);
  }
}

void TForm2::MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Main().mouseControl != nullptr) Main().mouseControl->ResetTracking();
}

void TForm2::CheckBox2Click(TObject* Sender) {
  const bool on = CheckBox2->GetChecked();
  CheckBox1->SetEnabled(on);
  if (!on) CheckBox1->SetChecked(false);
}

void TForm2::ResetMeshHighlight() {
  for (dxBufferTextura* buffer : Main().selectedBuffers) {
    const int polygons = buffer->GetNumTriangles() + buffer->GetNumQuads();
    for (int p = 0; p < polygons; ++p)
      buffer->SetPolygonFlags(p, UnhighlightedFlags(buffer->GetPolygonFlags(p)));
  }
}

void TForm2::DisableWizardUndo() { Button12->SetEnabled(false); }
