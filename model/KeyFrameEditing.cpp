#include "model/KeyFrameEditing.h"

#include <algorithm>

#include "model/KeyFrameUndo.h"

namespace {

constexpr uint32_t kMaxAnimations = 0xFFFF;

AnimKeyFrames* Animation(AnimationModel& animaciones, int g) {
  if (g < 0 || static_cast<std::size_t>(g) >= animaciones.size()) return nullptr;
  return animaciones[g].get();
}

KeyFrame EmptyKeyFrame(int meshCount) {
  KeyFrame keyFrame;
  keyFrame.meshes.resize(meshCount);  // angles 0, no stored words
  return keyFrame;
}

}  // namespace

int AppendKeyFrame(AnimationModel& animaciones, int g, int meshCount) {
  AnimKeyFrames* animation = Animation(animaciones, g);
  if (!animation || animation->keyFrames.size() >= kMaxKeyFrames) return 0;
  if (animation->keyFrames.empty()) {
    if (meshCount < 0 || meshCount > 0xFFFF) return 0;
    animation->keyFrames.push_back(EmptyKeyFrame(meshCount));
    return 1;
  }
  // Only what the last keyframe has committed: an edit still being tried
  // there is not carried into the new one.
  KeyFrame copy = animation->keyFrames.back();
  RevertWorkingCopy(copy);
  animation->keyFrames.push_back(std::move(copy));
  return 1;
}

int DeleteKeyFrame(AnimationModel& animaciones, int g, int k) {
  AnimKeyFrames* animation = Animation(animaciones, g);
  if (!animation || k < 0 || static_cast<std::size_t>(k) >= animation->keyFrames.size()) return -1;
  if (animation->keyFrames.size() == 1) return 0;
  animation->keyFrames.erase(animation->keyFrames.begin() + k);
  return 1;
}

void ShiftKeyFramesUp(AnimationModel& animaciones, int g, int s) {
  AnimKeyFrames* animation = Animation(animaciones, g);
  if (!animation || s < 0) return;
  std::vector<KeyFrame>& frames = animation->keyFrames;
  for (int j = static_cast<int>(frames.size()) - 2; j >= s; --j) frames[j + 1] = frames[j];
}

void OpenKeyFrameGap(AnimationModel& animaciones, int g, int s, int count) {
  AnimKeyFrames* animation = Animation(animaciones, g);
  if (!animation || s < 0 || count <= 0) return;
  std::vector<KeyFrame>& frames = animation->keyFrames;
  const std::size_t n = frames.size();
  const auto start = static_cast<std::size_t>(s);
  if (start + 1 >= n) return;
  // Past the end every place from s on takes keyframe s, as the shifts leave it.
  const std::size_t gap = std::min(static_cast<std::size_t>(count), n - start);
  const auto first = frames.begin() + static_cast<std::ptrdiff_t>(start);
  const auto filled = first + static_cast<std::ptrdiff_t>(gap);
  if (filled != frames.end()) {
    std::move_backward(first, frames.end() - static_cast<std::ptrdiff_t>(gap), frames.end());
    std::fill(first, filled, *filled);
  } else {
    std::fill(first + 1, frames.end(), *first);
  }
}

int InsertAnimation(AnimationModel& animaciones, int i, int n) {
  if (n < 1 || static_cast<uint32_t>(n) > kMaxAnimations) return 0;
  if (static_cast<std::size_t>(n) != animaciones.size() + 1) return 0;
  if (i < 0 || i >= n) return 0;
  animaciones.insert(animaciones.begin() + i, std::make_unique<AnimKeyFrames>());
  return 1;
}
