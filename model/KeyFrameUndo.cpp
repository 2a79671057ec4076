#include "model/KeyFrameUndo.h"

#include <algorithm>

void RevertWorkingCopy(KeyFrame& keyFrame) {
  keyFrame.workingRootOffset = keyFrame.rootOffset;
  keyFrame.workingBox = keyFrame.box;
  for (MeshPose& pose : keyFrame.meshes) {
    pose.workingAngles = pose.angles;
    pose.workingWorld = pose.world;
    pose.workingStored = pose.stored;
  }
}

void RevertWorkingCopies(AnimKeyFrames& animation) {
  for (KeyFrame& keyFrame : animation.keyFrames) RevertWorkingCopy(keyFrame);
}

bool RestoreKeyFrames(AnimKeyFrames& animation, const AnimKeyFrames& copy, int appended) {
  const std::size_t kept = copy.keyFrames.size();
  if (animation.keyFrames.size() != kept + static_cast<std::size_t>(std::max(appended, 0)))
    return false;
  std::copy(copy.keyFrames.begin(), copy.keyFrames.end(), animation.keyFrames.begin());
  animation.keyFrames.resize(kept);
  return true;
}
