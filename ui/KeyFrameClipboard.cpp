// Edit, "Copy KeyFrame" and "Paste KeyFrame": a one-keyframe clipboard that
// lives for the whole run and pastes only into the moveable it was copied
// from. The clipboard holds a copy of its own, so it never refers to the WAD
// it came from; a paste after another WAD was opened is refused unless the
// destination has the same moveable index and mesh count, and then copies
// only those meshes.

#include "scene/KeyFrameBounds.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

namespace {

// The boxes and root offsets, committed and working, and the working angles
// with the words they were read with: the pasted pose becomes part of the
// keyframe with "Update KeyFrame", the copied rotations word for word. The
// matrices are not copied: they hold the joints of the moveable copied from,
// which another WAD's moveable of the same index need not share.
void PasteKeyFrame(const KeyFrame& copied, KeyFrame& target) {
  target.box = copied.box;
  target.workingBox = copied.workingBox;
  target.rootOffset = copied.rootOffset;
  target.workingRootOffset = copied.workingRootOffset;
  for (std::size_t i = 0; i < copied.meshes.size(); ++i) {
    const MeshPose& from = copied.meshes[i];
    MeshPose& to = target.meshes[i];
    to.workingAngles = from.workingAngles;
    to.workingStored = from.workingStored;
  }
}

}  // namespace

void TForm2::Edit4Click(TObject* Sender) {
  MainUnit& M = Main();
  if (M.selectedBuffers.empty()) return;
  const KeyFrame* source = CurrentKeyFrame();
  if (source == nullptr) return;
  M.keyFrameClipboard = *source;
  M.copySourceMoveable = SelectedMoveable();
}

void TForm2::ReplaceFrame1Click(TObject* Sender) {
  MainUnit& M = Main();
  if (ListBox1->GetItemIndex() < 0 || ComboBox1->GetItemIndex() < 0) return;
  int k = 0;
  KeyFrame* target = CurrentKeyFrame(&k);
  if (!M.keyFrameClipboard || target == nullptr || M.meshList == nullptr) return;
  const KeyFrame& copied = *M.keyFrameClipboard;
  const int m = SelectedMoveable();
  if (m != M.copySourceMoveable || copied.meshes.size() != target->meshes.size()) {
    ShowMessageBox(L"You can't copy & paste Keyframes from different Moveables", L"Warning",
                   MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  PasteKeyFrame(copied, *target);
  // Posed through this moveable's own joints before its box is measured.
  SelectedView()->PoseWorkingAngles(M.currentAnimation, k);
  const int g = GlobalAnimation();
  CalculateKeyFrameBounds(M.wadfile, *M.meshList, M.animaciones, m, g, k);
  ShowCalculatedBox(*target);
  // The direct call only marks the view edited, so that the pasted working
  // copy is drawn; the flag keeps it from writing the track bars' angles.
  M.skipNextTrackBar1Write = true;
  TrackBar1Change(nullptr);
}

// Draws the keyframe's working box as the calculated cage, in place of its
// stored one.
void TForm2::ShowCalculatedBox(const KeyFrame& keyFrame) {
  MainUnit& M = Main();
  if (M.d3dDevice == nullptr) return;
  const KeyFrameBox& box = keyFrame.workingBox;
  M.cages.BuildBoundsBox(*M.d3dDevice, box[0], box[1], box[2], box[3], box[4], box[5]);
  M.showCalculatedBounds = true;
}
