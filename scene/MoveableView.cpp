#include "scene/MoveableView.h"

#include <algorithm>
#include <cmath>

#include "model/WadFile.h"
#include "scene/MeshList.h"
#include "scene/MeshResolution.h"
#include "scene/PoseMath.h"
#include "win32/Win32Types.h"

std::uint32_t wadMoveableD3D::BuildHierarchy() {
  if (wad == nullptr || meshes == nullptr || moveableIndex < 0 ||
      static_cast<std::uint32_t>(moveableIndex) >= wad->numMoveables())
    return static_cast<std::uint32_t>(E_FAIL);
  const WadMoveable& m = wad->moveables[static_cast<std::size_t>(moveableIndex)];
  meshIndices = ResolveMoveableMeshes(*wad, *meshes, static_cast<std::uint32_t>(moveableIndex),
                                      MeshFallback::View);
  numMeshes = static_cast<std::int32_t>(meshIndices.size());
  hierarchy = BuildMeshHierarchy(wad->links.data(), wad->links.size(), m.linkIndex, numMeshes);
  offsets.resize(static_cast<std::size_t>(numMeshes));
  for (std::size_t k = 0; k < offsets.size(); ++k)
    D3DXMatrixTranslation(&offsets[k], hierarchy.relX[k], hierarchy.relY[k], hierarchy.relZ[k]);
  return numMeshes == 1 ? 1u : static_cast<std::uint32_t>(numMeshes);
}

std::int32_t wadMoveableD3D::MeshIndex(std::int32_t k) const {
  if (k < 0 || k >= numMeshes) return -1;
  return meshIndices[static_cast<std::size_t>(k)];
}

AnimKeyFrames* wadMoveableD3D::BoundAnimation(std::int32_t animation) const {
  if (animation < 0 || static_cast<std::size_t>(animation) >= anims.size()) return nullptr;
  return anims[static_cast<std::size_t>(animation)];
}

KeyFrame* wadMoveableD3D::FindKeyFrame(std::int32_t animation, std::int32_t keyframe) const {
  AnimKeyFrames* anim = BoundAnimation(animation);
  if (anim == nullptr || keyframe < 0 ||
      static_cast<std::size_t>(keyframe) >= anim->keyFrames.size())
    return nullptr;
  return &anim->keyFrames[static_cast<std::size_t>(keyframe)];
}

std::size_t wadMoveableD3D::PosedMeshCount(const KeyFrame& keyFrame) const {
  return std::min(keyFrame.meshes.size(), static_cast<std::size_t>(numMeshes));
}

Matrix4 wadMoveableD3D::ComposeWorld(const KeyFrame& keyFrame, std::size_t m, bool working) const {
  const MeshPose& pose = keyFrame.meshes[m];
  if (m == 0) return pose.localRotation;  // the root has no offset
  // The mesh turns about its own origin, then moves to its place on the parent.
  const MeshPose& parent = keyFrame.meshes[static_cast<std::size_t>(hierarchy.parent[m])];
  D3DXMATRIX world = ToD3DX(pose.localRotation);
  const D3DXMATRIX parentWorld = ToD3DX(working ? parent.workingWorld : parent.world);
  D3DXMatrixMultiply(&world, &world, &offsets[m]);
  D3DXMatrixMultiply(&world, &world, &parentWorld);
  return ToMatrix4(world);
}

void wadMoveableD3D::ComposeWorlds(KeyFrame& keyFrame, bool working) const {
  const std::size_t n = PosedMeshCount(keyFrame);
  for (std::size_t m = 0; m < n; ++m) {
    MeshPose& pose = keyFrame.meshes[m];
    (working ? pose.workingWorld : pose.world) = ComposeWorld(keyFrame, m, working);
  }
}

// The rotations of all meshes first: their matrices are read back by whole
// rows, which a row just written element by element could not give at once.
void wadMoveableD3D::PoseFromCommittedAngles(KeyFrame& keyFrame) const {
  const std::size_t n = PosedMeshCount(keyFrame);
  for (std::size_t m = 0; m < n; ++m) {
    MeshPose& pose = keyFrame.meshes[m];
    MeshRotations(pose.angles, pose.localRotation, pose.plainRotation);
  }
  for (std::size_t m = 0; m < n; ++m) {
    MeshPose& pose = keyFrame.meshes[m];
    pose.world = ComposeWorld(keyFrame, m, false);
    pose.workingWorld = pose.world;
  }
}

bool wadMoveableD3D::LoadAnimations(const AnimationModel& animations, std::int32_t first,
                                    std::int32_t count, bool pointersOnly) {
  if (first < 0 || static_cast<std::size_t>(first) >= animations.size() ||
      animations[static_cast<std::size_t>(first)] == nullptr)
    return false;
  const std::size_t available = animations.size() - static_cast<std::size_t>(first);
  const std::size_t bound = std::min(static_cast<std::size_t>(std::max(count, 0)), available);
  anims.assign(bound, nullptr);
  for (std::size_t i = 0; i < bound; ++i)
    anims[i] = animations[static_cast<std::size_t>(first) + i].get();
  if (pointersOnly) return true;
  for (AnimKeyFrames* anim : anims) {
    if (anim == nullptr) continue;
    for (KeyFrame& keyFrame : anim->keyFrames) PoseFromCommittedAngles(keyFrame);
  }
  return true;
}

std::int32_t wadMoveableD3D::ComputeFramePose(std::int32_t animation, std::int32_t keyframe,
                                              bool useStored) {
  KeyFrame* keyFrame = FindKeyFrame(animation, keyframe);
  if (keyFrame == nullptr) return 0;
  const std::size_t n = PosedMeshCount(*keyFrame);
  for (std::size_t m = 0; m < n; ++m) {
    MeshPose& pose = keyFrame->meshes[m];
    const std::array<float, 3> whole{std::trunc(pose.angles[0]), std::trunc(pose.angles[1]),
                                     std::trunc(pose.angles[2])};
    // useStored keeps only the stored local rotation; the plain one follows the angles.
    if (!useStored) pose.localRotation = ToMatrix4(LocalRotation(whole));
    pose.plainRotation = ToMatrix4(PlainRotation(whole));
  }
  ComposeWorlds(*keyFrame, false);
  for (std::size_t m = 0; m < n; ++m) keyFrame->meshes[m].workingWorld = keyFrame->meshes[m].world;
  return 1;
}

bool wadMoveableD3D::SetMeshAngles(std::int32_t animation, std::int32_t keyframe,
                                   std::int32_t mesh, std::int32_t ax, std::int32_t ay,
                                   std::int32_t az) {
  KeyFrame* keyFrame = FindKeyFrame(animation, keyframe);
  if (keyFrame == nullptr || mesh < 0 || static_cast<std::size_t>(mesh) >= PosedMeshCount(*keyFrame))
    return false;
  MeshPose& changed = keyFrame->meshes[static_cast<std::size_t>(mesh)];
  const std::array<float, 3> angles{static_cast<float>(ax), static_cast<float>(ay),
                                    static_cast<float>(az)};
  if (angles != changed.workingAngles) changed.workingStored = changed.stored;
  changed.workingAngles = angles;
  PoseFromWorkingAngles(*keyFrame);
  return true;
}

bool wadMoveableD3D::PoseWorkingAngles(std::int32_t animation, std::int32_t keyframe) {
  KeyFrame* keyFrame = FindKeyFrame(animation, keyframe);
  if (keyFrame == nullptr) return false;
  PoseFromWorkingAngles(*keyFrame);
  return true;
}

void wadMoveableD3D::PoseFromWorkingAngles(KeyFrame& keyFrame) const {
  const std::size_t n = PosedMeshCount(keyFrame);
  for (std::size_t m = 0; m < n; ++m) {
    MeshPose& pose = keyFrame.meshes[m];
    MeshRotations(pose.workingAngles, pose.localRotation, pose.plainRotation);
  }
  ComposeWorlds(keyFrame, true);
}

void wadMoveableD3D::RevertKeyFrame() {
  edited = false;
  KeyFrame* keyFrame = FindKeyFrame(shownAnimation, shownKeyFrame);
  if (keyFrame == nullptr) return;
  keyFrame->workingRootOffset = keyFrame->rootOffset;
  keyFrame->workingBox = keyFrame->box;
  const std::size_t n = PosedMeshCount(*keyFrame);
  for (std::size_t m = 0; m < n; ++m) {
    MeshPose& pose = keyFrame->meshes[m];
    pose.workingAngles = pose.angles;
    pose.workingStored = pose.stored;
    pose.workingWorld = pose.world;
    // Editing left the working angles' rotations here; the committed ones return.
    MeshRotations(pose.angles, pose.localRotation, pose.plainRotation);
  }
}

void wadMoveableD3D::Commit(KeyFrame& keyFrame) const {
  keyFrame.rootOffset = keyFrame.workingRootOffset;
  keyFrame.box = keyFrame.workingBox;
  const std::size_t n = PosedMeshCount(keyFrame);
  for (std::size_t m = 0; m < n; ++m) {
    MeshPose& pose = keyFrame.meshes[m];
    pose.angles = pose.workingAngles;
    pose.stored = pose.workingStored;
    pose.world = pose.workingWorld;
  }
}

void wadMoveableD3D::CommitKeyFrame() { CommitKeyFrameAt(shownAnimation, shownKeyFrame); }

void wadMoveableD3D::CommitKeyFrameAt(std::int32_t animation, std::int32_t keyframe) {
  if (KeyFrame* keyFrame = FindKeyFrame(animation, keyframe)) Commit(*keyFrame);
}

bool wadMoveableD3D::Select(std::int32_t animation, std::int32_t keyframe) {
  if (FindKeyFrame(animation, keyframe) == nullptr) return false;
  shownAnimation = animation;
  shownKeyFrame = keyframe;
  posed = true;
  return true;
}
