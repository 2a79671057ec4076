// Edit, "Undo" for the track bars: every left press on a track bar records
// the three positions and the picked mesh before the thumb moves; "Undo" puts
// the last record back, and the track bars' change handlers write it into the
// keyframe.

#include "ui/Main.h"
#include "ui/MainUnit.h"

namespace {

void RecordPressThenPass(TForm2& form, TWndMethod& previous, TMessage& message) {
  if (message.Msg == WM_LBUTTONDOWN) {
    form.PushRotationUndo();
    ReleaseCapture();
  }
  previous(message);
}

}  // namespace

void TForm2::TB1WndProc(TMessage& Message) {
  RecordPressThenPass(*this, oldTrackBarWndProc[0], Message);
}
void TForm2::TB2WndProc(TMessage& Message) {
  RecordPressThenPass(*this, oldTrackBarWndProc[1], Message);
}
void TForm2::TB3WndProc(TMessage& Message) {
  RecordPressThenPass(*this, oldTrackBarWndProc[2], Message);
}

void TForm2::Undo1Click(TObject* Sender) { PopRotationUndo(); }

void TForm2::PushRotationUndo() {
  MainUnit& M = Main();
  M.RotationUndo.Push(RotationUndoEntry{
      {static_cast<float>(TrackBar1->GetPosition()), static_cast<float>(TrackBar2->GetPosition()),
       static_cast<float>(TrackBar3->GetPosition())},
      M.pickedMesh});
  Undo1->SetEnabled(true);
}

// Positions that really change run their bar's change handler, which writes
// all three positions as the mesh's working angles.
void TForm2::PopRotationUndo() {
  MainUnit& M = Main();
  if (M.RotationUndo.Empty()) return;
  ResetMeshHighlight();
  const RotationUndoEntry entry = M.RotationUndo.Pop();
  M.pickedMesh = entry.mesh;
  TrackBar1->SetPosition(static_cast<int>(entry.angles[0]));
  TrackBar2->SetPosition(static_cast<int>(entry.angles[1]));
  TrackBar3->SetPosition(static_cast<int>(entry.angles[2]));
  Undo1->SetEnabled(!M.RotationUndo.Empty());
}

void TForm2::ClearRotationUndo() {
  Main().RotationUndo.Clear();
  Undo1->SetEnabled(false);
}
