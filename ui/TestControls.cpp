// The two test buttons of the 3D panel, hidden from start-up on: one reads a
// MilkShape 3D model from a fixed path, the other shows one of its joints'
// translation keys in three fields.

#include "ui/Main.h"
#include "ui/MainUnit.h"

namespace {

constexpr const char* kTestModelPath = "C:\\prueba.ms3d";

}  // namespace

void TForm2::Button11Click(TObject* Sender) { ReadMs3dFile(kTestModelPath, Main().ms3dModel); }

// Translation key (keyframe field) of joint (picked mesh); a model that was
// not read has no joints, so nothing is shown.
void TForm2::Button10Click(TObject* Sender) {
  const MainUnit& M = Main();
  const std::optional<int> k = KeyFrameNumber();
  const std::vector<Ms3dJoint>& joints = M.ms3dModel.joints;
  if (!k || M.pickedMesh < 0 || static_cast<std::size_t>(M.pickedMesh) >= joints.size()) return;
  const std::vector<Ms3dJointKey>& keys = joints[static_cast<std::size_t>(M.pickedMesh)].positionKeys;
  if (*k < 0 || static_cast<std::size_t>(*k) >= keys.size()) return;
  const Ms3dJointKey& key = keys[static_cast<std::size_t>(*k)];
  Edit11->SetText(FloatToStr(key.values[0]));
  Edit12->SetText(FloatToStr(key.values[1]));
  Edit13->SetText(FloatToStr(key.values[2]));
}
