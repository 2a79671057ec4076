#pragma once
// Small builders for scene tests: a headless device with the editor's camera,
// WAD records with moveables, meshes and links, and keyframes.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "MeshWordsBuilder.h"
#include "d3d/Direct3DMain.h"
#include "d3d8/Headless.h"
#include "model/AnimationModel.h"
#include "model/WadFile.h"
#include "scene/MeshList.h"

namespace scenetest {

// A device drawing into an offscreen window: clear colour (0, 255, 255), eye
// (0, 0, 800) looking at the origin, near 1, far 3000, a quarter-pi field of
// view, the aspect as the editor computes it (whole-number width / height).
class SceneDevice {
 public:
  explicit SceneDevice(int width = 64, int height = 64);

  dxDevice8& operator*() { return *wrapper; }
  dxDevice8* operator->() { return wrapper.get(); }
  d3d8::PixelImage Pixels() { return d3d8::ReadColorBuffer(wrapper->GetDevice()); }

  d3d8::OffscreenWindow window;
  dxMain main;
  std::unique_ptr<dxDevice8> wrapper;
};

constexpr std::uint32_t kClearPixel = 0xFF00FFFF;

struct TestLink {
  std::int32_t op, dx, dy, dz;
};

// A WAD record under construction with its mesh words.
class WadBuilder {
 public:
  // Appends a mesh to the mesh words; returns its byte offset.
  std::uint32_t AddMesh(const TestMesh& mesh) { return words.Add(mesh); }

  // Appends a moveable whose meshes are the given byte offsets, with one link
  // per mesh after the first; returns its index.
  std::uint32_t AddMoveable(std::uint32_t objectId, const std::vector<std::uint32_t>& meshOffsets,
                            const std::vector<TestLink>& links = {}, std::int16_t animIndex = -1);

  // The record, its mesh words filled from the meshes added.
  WadFile& Wad();
  std::unique_ptr<Lista_Mesh> ParseMeshes();

  WadFile wad;
  MeshWordsBuilder words;
};

// A keyframe of n meshes, all at the given committed and working angles.
KeyFrame MakeKeyFrame(std::size_t meshCount, std::array<float, 3> angles = {0, 0, 0});

// An animation of the given keyframes.
std::unique_ptr<AnimKeyFrames> MakeAnimation(std::vector<KeyFrame> keyFrames);

// Where a matrix carries a point (row vector, w = 1).
std::array<float, 3> Carry(const Matrix4& m, std::array<float, 3> p);

}  // namespace scenetest
