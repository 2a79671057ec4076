#pragma once
// The drawable view of one WAD moveable: which parsed meshes make it up, how
// they hang together, its animations with a pose per keyframe, the keyframe
// chosen for the next draw, and the drawing itself.
//
// Every keyframe holds a committed copy (what a save writes) and a working
// copy (what the user is trying) of its angles, world matrices, box and root
// offset. Edits go to the working copy; the view draws it while marked edited,
// until CommitKeyFrame keeps it or RevertKeyFrame drops it.

#include <cstdint>
#include <memory>
#include <vector>

#include "d3d8/D3DXMath.h"
#include "model/AnimationModel.h"
#include "scene/MeshHierarchy.h"

class Lista_Mesh;
class dxBufferTextura;
class dxDevice8;
struct WadFile;

class wadMoveableD3D {
 public:
  // Drawing may move the moveable by the keyframe's root offset.
  static constexpr std::uint8_t kModeRootMotion = 1;

  wadMoveableD3D(const WadFile* wad, std::int32_t moveableIndex, const Lista_Mesh* meshes,
                 std::uint8_t mode);
  ~wadMoveableD3D();
  wadMoveableD3D(const wadMoveableD3D&) = delete;
  wadMoveableD3D& operator=(const wadMoveableD3D&) = delete;

  // Resolves the meshes and builds the hierarchy from the link stream.
  // E_FAIL without a WAD or mesh list; else the mesh count (1 for one mesh).
  std::uint32_t BuildHierarchy();

  std::int32_t GetMoveableIndex() const { return moveableIndex; }
  std::int32_t GetMeshCount() const { return numMeshes; }

  // Binds animations first .. first + count - 1 of the model (those the model
  // holds) and, unless pointersOnly, computes every keyframe's pose from its
  // committed angles. False, binding nothing, when first is not an animation
  // of the model.
  bool LoadAnimations(const AnimationModel& animations, std::int32_t first, std::int32_t count,
                      bool pointersOnly);

  // Recomputes one keyframe's rotations and world matrices from its committed
  // angles cut to whole degrees (or, with useStored, from its stored local
  // rotations); the working world matrices follow. 1, or 0 for no such keyframe.
  std::int32_t ComputeFramePose(std::int32_t animation, std::int32_t keyframe, bool useStored);

  // Sets a mesh's working angles and recomputes the working pose of the whole
  // keyframe; the committed matrices stay. Angles that change drop the words
  // that came with the working angles (a paste's) for the mesh's committed
  // ones. False for no such keyframe or mesh.
  bool SetMeshAngles(std::int32_t animation, std::int32_t keyframe, std::int32_t mesh,
                     std::int32_t ax, std::int32_t ay, std::int32_t az);

  // Recomputes the working pose of the whole keyframe from its working
  // angles, through this moveable's own hierarchy; the committed matrices
  // stay. False for no such keyframe.
  bool PoseWorkingAngles(std::int32_t animation, std::int32_t keyframe);

  void MarkEdited() { edited = true; }

  // Drops the working copy of the shown keyframe and clears the edited mark.
  void RevertKeyFrame();
  // Keeps the working copy of the shown keyframe as its committed copy.
  void CommitKeyFrame();
  void CommitKeyFrameAt(std::int32_t animation, std::int32_t keyframe);

  // Chooses the keyframe that the next Draw shows. False, changing nothing,
  // for an animation or keyframe that is not bound.
  bool Select(std::int32_t animation, std::int32_t keyframe);

  // The buffer of each mesh, in mesh order, into out (room for GetMeshCount()
  // entries). A mesh that names no parsed mesh gets an empty buffer, which
  // draws and picks nothing.
  bool GetMeshBuffers(dxBufferTextura** out) const;

  // Draws every mesh under the view's pan, rotation and scale: posed by the
  // selected keyframe when Select armed it, else in the bind pose. Disarms the
  // selection.
  void Draw(dxDevice8& device, std::int32_t panX, std::int32_t panY, std::int32_t panZ,
            float rotY, float rotX, float scale, bool showTranslation);

  // State for the editor and tests.
  std::int32_t MeshIndex(std::int32_t k) const;
  std::int32_t BoundAnimationCount() const { return static_cast<std::int32_t>(anims.size()); }
  AnimKeyFrames* BoundAnimation(std::int32_t animation) const;
  std::int32_t ShownKeyFrame() const { return shownKeyFrame; }
  bool IsEdited() const { return edited; }

 private:
  KeyFrame* FindKeyFrame(std::int32_t animation, std::int32_t keyframe) const;
  // Meshes of the keyframe that the view can pose.
  std::size_t PosedMeshCount(const KeyFrame& keyFrame) const;
  // World matrices from each mesh's local rotation, parents first.
  void ComposeWorlds(KeyFrame& keyFrame, bool working) const;
  // Mesh m's world (or working world) from its local rotation and its
  // parent's, which must be made already.
  Matrix4 ComposeWorld(const KeyFrame& keyFrame, std::size_t m, bool working) const;
  void PoseFromCommittedAngles(KeyFrame& keyFrame) const;
  void PoseFromWorkingAngles(KeyFrame& keyFrame) const;
  void Commit(KeyFrame& keyFrame) const;
  dxBufferTextura* MeshBuffer(std::size_t mesh) const;

  const WadFile* wad;
  const Lista_Mesh* meshes;
  std::int32_t numMeshes = 0;
  std::vector<std::int32_t> meshIndices;
  MeshHierarchy hierarchy;
  // D3DXMatrixTranslation of each mesh's offset from its parent, made once.
  std::vector<D3DXMATRIX> offsets;
  std::int32_t moveableIndex;
  std::vector<AnimKeyFrames*> anims;
  bool posed = false;
  std::int32_t shownAnimation = 0;
  std::int32_t shownKeyFrame = 0;
  bool edited = false;
  std::uint8_t mode;
  std::unique_ptr<dxBufferTextura> unresolvedMesh;
};
