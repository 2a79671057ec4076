#pragma once
// Builds mesh words for tests: meshes with defaults, each part overridable.

#include <cstdint>
#include <vector>

#include "scene/MeshRecord.h"

namespace scenetest {

struct TestPolygon {
  std::uint16_t shape = MESH_SHAPE_TRIANGLE;
  std::vector<std::uint16_t> indices{0, 1, 2};
  std::uint16_t texture = 0;
  std::uint8_t attribute = 0;
  std::uint8_t extra = 0;
};

struct TestMesh {
  std::int16_t center[3] = {1, 2, 3};
  std::int32_t radius = 100;
  std::vector<MeshVertex> vertices{{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
  std::vector<MeshVertex> normals;  // written when not empty
  std::vector<std::int16_t> shades;  // written (as a negative count) when normals is empty
  std::vector<TestPolygon> polygons{TestPolygon{}};
};

class MeshWordsBuilder {
 public:
  // Appends a mesh in the WAD layout; returns its byte offset.
  std::uint32_t Add(const TestMesh& mesh);

  // Appends a format-1 mesh: its quads and triangles split into two lists.
  std::uint32_t AddSplit(const TestMesh& mesh);

  const std::vector<std::uint8_t>& Bytes() const { return bytes; }

  void I16(std::int32_t value);
  void I32(std::int32_t value);
  void U8(std::uint8_t value) { bytes.push_back(value); }

 private:
  void Header(const TestMesh& mesh);
  void Pad(std::uint32_t start);

  std::vector<std::uint8_t> bytes;
};

}  // namespace scenetest
