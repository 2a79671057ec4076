// The Animation Wizard, "GO!": inserts Length keyframes at Start Position of
// the chosen animation, each mesh's rotation spherically interpolated between
// its rotations in the First and the Last keyframe, and keeps a copy of the
// animation for the wizard's "Undo".

#include <algorithm>
#include <cstdint>

#include "d3d/AngleHelpers.h"
#include "model/KeyFrameEditing.h"
#include "model/KeyFrameUndo.h"
#include "scene/KeyFrameBounds.h"
#include "scene/PoseMath.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

namespace {

constexpr UINT kWarningBox = MB_OK | MB_ICONEXCLAMATION;

// What the user typed into the wizard's group.
struct WizardRun {
  int first = 0, last = 0, length = 0, start = 0;
  bool inverse = false;
};

// The quaternion of a mesh's rotation as its committed angles give it.
D3DXQUATERNION RotationOf(const MeshPose& pose) {
  const D3DXMATRIX plain = PlainRotation(pose.angles);
  D3DXQUATERNION q;
  D3DXQuaternionRotationMatrix(&q, &plain);
  return q;
}

// Whole-degree angles of the rotation at t between from and to.
std::array<float, 3> Interpolated(const D3DXQUATERNION& from, const D3DXQUATERNION& to, float t) {
  D3DXQUATERNION q;
  D3DXQuaternionSlerp(&q, &from, &to, t);
  D3DXMATRIX m;
  D3DXMatrixRotationQuaternion(&m, &q);
  std::int32_t x = 0, y = 0, z = 0;
  MatrixToEuler(m, x, y, z);
  return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

// Gives keyframes start .. start + length - 1 of the animation the rotations
// from the first to the last poses: t runs from 0 in steps of 1 / (length - 1),
// negated with inverse. A single keyframe takes the first poses (t = 0).
void InterpolateRun(AnimKeyFrames& animation, const WizardRun& run,
                    const std::vector<MeshPose>& firstPoses, const std::vector<MeshPose>& lastPoses) {
  const float steps = static_cast<float>(run.length) - 1.0f;
  const float d = run.inverse ? -steps : steps;
  const std::size_t meshes =
      std::min({animation.keyFrames[static_cast<std::size_t>(run.start)].meshes.size(),
                firstPoses.size(), lastPoses.size()});
  std::vector<D3DXQUATERNION> from(meshes), to(meshes);
  for (std::size_t j = 0; j < meshes; ++j) {
    from[j] = RotationOf(firstPoses[j]);
    to[j] = RotationOf(lastPoses[j]);
  }
  // Keyframe by keyframe, so that each keyframe's poses are written together.
  for (int i = 0; i < run.length; ++i) {
    const float t = run.length == 1 ? 0.0f : static_cast<float>(i) / d;
    std::vector<MeshPose>& poses =
        animation.keyFrames[static_cast<std::size_t>(run.start + i)].meshes;
    for (std::size_t j = 0; j < meshes; ++j) {
      poses[j].angles = poses[j].workingAngles = Interpolated(from[j], to[j], t);
      poses[j].stored = poses[j].workingStored = {};  // new angles, no words of their own yet
    }
  }
}

// Measures the box of each inserted keyframe of animation g (local index a
// of moveable line) and commits the keyframe. Slow interpolations give long
// runs of keyframes posed alike: each such run is measured once.
void MeasureAndCommitRun(const WizardRun& run, int line, int g, int a, wadMoveableD3D& view) {
  MainUnit& M = Main();
  std::vector<KeyFrame>& frames = M.animaciones[static_cast<std::size_t>(g)]->keyFrames;
  for (int k = run.start; k < run.start + run.length; ++k) {
    KeyFrame& keyFrame = frames[static_cast<std::size_t>(k)];
    const KeyFrame* previous = k > run.start ? &frames[static_cast<std::size_t>(k - 1)] : nullptr;
    if (previous != nullptr && SameMeasuredPose(keyFrame, *previous))
      keyFrame.workingBox = previous->workingBox;
    else
      CalculateKeyFrameBounds(M.wadfile, *M.meshList, M.animaciones, line, g, k);
    view.CommitKeyFrameAt(a, k);
  }
}

}  // namespace

void TForm2::Button9Click(TObject* Sender) {
  MainUnit& M = Main();
  const int line = SelectedMoveable();
  const int g = GlobalAnimation();
  // Only the animation the drop-down shows is the one to change.
  if (line < 0 || g < 0 || ComboBox1->GetItemIndex() != M.currentAnimation) return;
  const int a = M.currentAnimation;
  wadMoveableD3D* view = SelectedView();
  const WadMoveable& moveable = M.wadfile.moveables[static_cast<std::size_t>(line)];
  AnimKeyFrames& animation = *M.animaciones[static_cast<std::size_t>(g)];

  WizardRun run;
  run.first = StrToInt(Edit14->GetText());
  run.last = StrToInt(Edit15->GetText());
  run.inverse = CheckBox4->GetChecked();
  run.length = StrToInt(Edit16->GetText());
  run.start = StrToInt(Edit17->GetText());
  const int n = animation.numKeyFrames();
  if (run.first < 0 || run.last < 0 || run.first >= n || run.last >= n) {
    ShowMessageBox(L"First KFrame or last KFrame must be under the current number of KeyFrames",
                   L"Warning", kWarningBox);
    return;
  }
  if (run.start < 0 || run.start >= n) {
    ShowMessageBox(L"The start position must be under the current number of KeyFrames",
                   L"Warning", kWarningBox);
    return;
  }
  if (static_cast<std::int64_t>(n) + run.length > kMaxKeyFrames) {
    ShowMessageBox(String(L"An animation holds at most ") + IntToStr(kMaxKeyFrames) +
                       L" KeyFrames: the Length must be at most " + IntToStr(kMaxKeyFrames - n),
                   L"Warning", kWarningBox);
    return;
  }

  // An edit that was never committed is neither an end of the run nor part of
  // the copy: the working values and every rotation matrix follow the
  // committed angles again.
  view->RevertKeyFrame();
  RevertWorkingCopies(animation);
  for (int k = 0; k < n; ++k) view->ComputeFramePose(a, k, false);
  Button12->SetEnabled(true);
  const std::vector<MeshPose> firstPoses = animation.keyFrames[static_cast<std::size_t>(run.first)].meshes;
  const std::vector<MeshPose> lastPoses = animation.keyFrames[static_cast<std::size_t>(run.last)].meshes;
  M.wizardUndoFrames = animation;
  M.wizardUndoLength = run.length;
  M.wizardUndoMoveable = line;
  M.wizardUndoAnimation = a;

  if (run.length > 0) animation.keyFrames.reserve(static_cast<std::size_t>(n + run.length));
  for (int i = 0; i < run.length; ++i) AppendKeyFrame(M.animaciones, g, moveable.numMeshes);
  Onclick(nullptr);
  SpinEdit1Change(nullptr);
  view->LoadAnimations(M.animaciones, moveable.animIndex,
                       static_cast<std::int32_t>(CountMoveableAnimations(M.wadfile, line)), false);
  OpenKeyFrameGap(M.animaciones, g, run.start, run.length);
  if (run.length > 0) InterpolateRun(animation, run, firstPoses, lastPoses);
  for (int k = run.start; k < run.start + run.length; ++k) view->ComputeFramePose(a, k, false);
  MeasureAndCommitRun(run, line, g, a, *view);
  M.cages.BuildKeyFrameBoxes(*M.d3dDevice, M.animaciones);
  ShowMessageBox(L"Done!", L" ", MB_OK);
}
