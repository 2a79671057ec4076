#pragma once
// Everything the editor draws from one WAD, built in the order an open builds
// it. Shared by the real-data tests and the benchmarks; needs no test framework.

#include <memory>
#include <vector>

#include "model/AnimationModel.h"
#include "model/WadFile.h"
#include "scene/KeyFrameCages.h"
#include "scene/MeshList.h"
#include "scene/MoveableView.h"
#include "scene/TextureInfo.h"
#include "scene/TexturePages.h"

namespace scenetest {

struct OpenedScene {
  WadFile wad;
  TextureInfo textureInfo;
  std::unique_ptr<trTextura> textures;
  std::unique_ptr<Lista_Mesh> meshList;
  AnimationModel animaciones;
  std::vector<std::unique_ptr<wadMoveableD3D>> moveableViews;
  KeyFrameCages cages;
};

// Builds, from wad (already read), the texture pages, the mesh buffers, the
// animation model, one view per moveable with every keyframe posed, and the
// keyframe cages.
void BuildScene(OpenedScene& scene, dxDevice8& device);

// The editor's 3D panel: eye (0, 0, 800) looking at the origin, near 1, far
// 3000, a quarter-pi field of view, the aspect a whole-number width / height,
// clear colour (0, 255, 255).
void SetEditorCamera(dxDevice8& device, int width, int height);

// Clears and draws moveable m with the start view (zoom 6, no pan or turn):
// keyframe 0 of its first animation, or its bind pose when it has none.
void DrawMoveable(OpenedScene& scene, dxDevice8& device, std::size_t m);

// The moveable with the most mesh polygons.
std::size_t LargestMoveable(const OpenedScene& scene);

}  // namespace scenetest
