// Drawing a moveable view and handing out its mesh buffers.

#include "d3d/Device8.h"
#include "scene/DisplayUnits.h"
#include "scene/MeshList.h"
#include "scene/MoveableView.h"
#include "scene/PoseMath.h"

namespace {

constexpr int kRenderByFlags = 0;
constexpr DWORD kMeshGroup = 0;

}  // namespace

wadMoveableD3D::wadMoveableD3D(const WadFile* wad, std::int32_t moveableIndex,
                               const Lista_Mesh* meshes, std::uint8_t mode)
    : wad(wad),
      meshes(meshes),
      moveableIndex(moveableIndex),
      mode(mode),
      unresolvedMesh(std::make_unique<dxBufferTextura>()) {}

wadMoveableD3D::~wadMoveableD3D() = default;

dxBufferTextura* wadMoveableD3D::MeshBuffer(std::size_t mesh) const {
  dxBufferTextura* buffer = meshes != nullptr ? meshes->GetBuffer(meshIndices[mesh]) : nullptr;
  // The stand-in is never uploaded, so it draws and picks nothing.
  return buffer != nullptr ? buffer : unresolvedMesh.get();
}

bool wadMoveableD3D::GetMeshBuffers(dxBufferTextura** out) const {
  for (std::size_t k = 0; k < meshIndices.size(); ++k) out[k] = MeshBuffer(k);
  return true;
}

void wadMoveableD3D::Draw(dxDevice8& device, std::int32_t panX, std::int32_t panY,
                          std::int32_t panZ, float rotY, float rotX, float scale,
                          bool showTranslation) {
  const AnimKeyFrames* anim = BoundAnimation(shownAnimation);
  const KeyFrame* keyFrame = FindKeyFrame(shownAnimation, shownKeyFrame);
  for (std::size_t m = 0; m < meshIndices.size(); ++m) {
    dxBufferTextura* buffer = meshes != nullptr ? meshes->GetBuffer(meshIndices[m]) : nullptr;
    if (buffer == nullptr) continue;
    buffer->ResetWorld();
    buffer->Translate(static_cast<float>(panX), static_cast<float>(panY),
                      static_cast<float>(panZ));
    buffer->RotateY(rotY);
    buffer->RotateX(rotX);
    buffer->Scale(scale);
    if (mode == kModeRootMotion) {
      if (anim == nullptr) {
        posed = false;
      } else if (keyFrame != nullptr && showTranslation) {
        const RootOffset& root = edited ? keyFrame->workingRootOffset : keyFrame->rootOffset;
        const DisplayPoint offset = ToDisplay(root[0], root[1], root[2]);
        buffer->Translate(offset.x, offset.y, offset.z);
      }
    }
    if (posed && keyFrame != nullptr && m < keyFrame->meshes.size()) {
      const MeshPose& pose = keyFrame->meshes[m];
      buffer->MultiplyWorld(ToD3DX(edited ? pose.workingWorld : pose.world));
    } else {
      const auto& pivot = hierarchy.pivots[m];
      buffer->Translate(pivot[0], pivot[1], pivot[2]);
    }
    device.Render(buffer, kRenderByFlags, kMeshGroup);
  }
  posed = false;
}
