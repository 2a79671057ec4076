#pragma once
// Builders for scene tests: a headless device with the editor's camera, mesh
// words, WAD records with moveables and links, and keyframes.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "OpenedScene.h"
#include "d3d/Device8.h"
#include "d3d/Direct3DMain.h"
#include "d3d8/Headless.h"
#include "scene/MeshParser.h"

namespace scenetest {

constexpr std::uint32_t kClearPixel = 0xFF00FFFF;
constexpr std::uint32_t kWhitePixel = 0xFFFFFFFF;

// An offscreen device with the editor's camera.
struct SceneDevice {
  explicit SceneDevice(int width = 64, int height = 64);
  dxDevice8& operator*() { return *wrapper; }
  dxDevice8* operator->() { return wrapper.get(); }
  d3d8::PixelImage Pixels() { return d3d8::ReadColorBuffer(wrapper->GetDevice()); }

  d3d8::OffscreenWindow window;
  dxMain main;
  std::unique_ptr<dxDevice8> wrapper;
};

struct TestPolygon {
  std::uint16_t shape = MESH_SHAPE_TRIANGLE;
  std::vector<std::uint16_t> indices{0, 1, 2};  // none for other shapes
  std::uint16_t texture = 0;
  std::uint8_t attribute = 0, extra = 0;
};

// Every mesh is written with centre (1, 2, 3) and radius 100000.
struct TestMesh {
  std::vector<MeshVertex> vertices{{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
  std::vector<MeshVertex> normals;   // written when not empty
  std::vector<std::int16_t> shades;  // else written, with a negative count
  std::vector<TestPolygon> polygons{TestPolygon{}};
};

// Little-endian mesh words; a mesh is padded to 4 bytes with 0x7777.
struct MeshWords {
  // Appends a mesh in the WAD layout or, split, with its quads and triangles
  // in two lists; returns its byte offset.
  std::uint32_t Add(const TestMesh& mesh, bool split = false);
  void I16(std::int32_t value);
  std::vector<std::uint8_t> bytes;
};

std::unique_ptr<Lista_Mesh> Parse(const std::vector<std::uint8_t>& bytes,
                                  int format = MESH_FORMAT_WAD);

struct WadBuilder {
  std::uint32_t AddMesh(const TestMesh& mesh = {}) { return words.Add(mesh); }
  // A moveable of the meshes at the given offsets, with links given as words
  // (op, dx, dy, dz per mesh after the first); returns its index.
  std::uint32_t AddMoveable(std::uint32_t objectId, const std::vector<std::uint32_t>& offsets,
                            const std::vector<std::int32_t>& links = {},
                            std::int16_t animIndex = -1);
  std::unique_ptr<Lista_Mesh> ParseMeshes() const { return Parse(words.bytes); }

  WadFile wad;
  MeshWords words;
};

// A keyframe of n meshes, all at the given committed and working angles.
KeyFrame MakeKeyFrame(std::size_t meshCount, std::array<float, 3> angles = {0, 0, 0});
std::unique_ptr<AnimKeyFrames> MakeAnimation(std::vector<KeyFrame> keyFrames);

// Where a matrix carries a point (row vector, w = 1).
std::array<float, 3> Carry(const Matrix4& m, std::array<float, 3> p);

}  // namespace scenetest
