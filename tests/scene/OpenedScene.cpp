#include "OpenedScene.h"

#include "d3d/Device8.h"
#include "model/KeyFrameStream.h"
#include "scene/MeshParser.h"

namespace scenetest {

void BuildScene(OpenedScene& s, dxDevice8& device) {
  LoadTextureInfo(s.textureInfo, s.wad.textureBytes.data(), s.wad.numTextureBytes());
  s.textures = std::make_unique<trTextura>(s.textureInfo);
  s.textures->CreateTextures(&device);
  ParseMeshData(reinterpret_cast<const std::uint8_t*>(s.wad.meshWords.data()),
                s.wad.numMeshWords() * 2, s.meshList, MESH_FORMAT_WAD);
  std::uint32_t keyFrames = 0;
  DecodeKeyFrames(s.animaciones, s.wad, keyFrames);
  if (s.meshList) s.meshList->BuildD3D(device, *s.textures, s.wad);
  s.moveableViews.clear();
  for (std::uint32_t i = 0; i < s.wad.numMoveables(); ++i) {
    auto view = std::make_unique<wadMoveableD3D>(&s.wad, static_cast<std::int32_t>(i),
                                                 s.meshList.get(),
                                                 wadMoveableD3D::kModeRootMotion);
    view->BuildHierarchy();
    view->LoadAnimations(s.animaciones, s.wad.moveables[i].animIndex,
                         static_cast<std::int32_t>(CountMoveableAnimations(s.wad, i)), false);
    s.moveableViews.push_back(std::move(view));
  }
  s.cages.BuildKeyFrameBoxes(device, s.animaciones);
}

void SetEditorCamera(dxDevice8& device, int width, int height) {
  const float aspect = static_cast<float>(height > 0 ? width / height : 1);
  device.SetProjection(1.0f, 3000.0f, aspect, 3.1415927f / 4, width, height);
  device.SetClearColor(0, 255, 255);
  device.SetEye(0.0f, 0.0f, 800.0f);
  device.SetLookAt(0.0f, 0.0f, 0.0f);
}

void DrawMoveable(OpenedScene& scene, dxDevice8& device, std::size_t m) {
  wadMoveableD3D& view = *scene.moveableViews[m];
  view.Select(0, 0);
  device.Clear(true);
  view.Draw(device, 0, 0, 0, 0.0f, 0.0f, 6.0f, false);  // the start zoom
}

std::size_t LargestMoveable(const OpenedScene& scene) {
  std::size_t best = 0;
  int bestPolygons = -1;
  for (std::size_t m = 0; m < scene.moveableViews.size(); ++m) {
    const wadMoveableD3D& view = *scene.moveableViews[m];
    std::vector<dxBufferTextura*> buffers(static_cast<std::size_t>(view.GetMeshCount()));
    view.GetMeshBuffers(buffers.data());
    int polygons = 0;
    for (const dxBufferTextura* b : buffers) polygons += b->GetNumTriangles() + b->GetNumQuads();
    if (polygons > bestPolygons) {
      bestPolygons = polygons;
      best = m;
    }
  }
  return best;
}

}  // namespace scenetest
