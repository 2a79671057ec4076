#pragma once
// One parsed mesh of the WAD's mesh words.
//
// Two layouts exist. The WAD stores format 2: after the vertices and the
// normals (or shades) comes one polygon list whose entries say their own shape.
// Format 1 splits the same polygons into a quad list and a triangle list; it
// is what a format-2 record is converted into before its geometry is built.

#include <array>
#include <cstdint>
#include <vector>

enum MeshFormat : int {
  MESH_FORMAT_SPLIT = 1,  // quads and triangles in two lists
  MESH_FORMAT_WAD = 2,    // one polygon list, shape per polygon
};

// Polygon shapes of the format-2 list.
constexpr std::uint16_t MESH_SHAPE_TRIANGLE = 8;
constexpr std::uint16_t MESH_SHAPE_QUAD = 9;

struct MeshVertex {
  std::int16_t x, y, z;  // WAD units
};
static_assert(sizeof(MeshVertex) == 6);

struct MeshPolygon {
  std::uint16_t shape = 0;                // MESH_SHAPE_TRIANGLE, MESH_SHAPE_QUAD or other
  std::array<std::uint16_t, 4> indices{};  // a triangle uses slots 0 to 2
  std::uint16_t texture = 0;              // packed texture word (see MeshGeometry)
  std::uint8_t attribute = 0;
  std::uint8_t extra = 0;
};

// Format-1 quad: 12 bytes on file.
struct MeshRect {
  std::uint16_t indices[4];
  std::uint16_t texture;  // signed: a negative value names a mirrored sample
  std::uint16_t attribute;
};
static_assert(sizeof(MeshRect) == 12);

// Format-1 triangle: 10 bytes on file.
struct MeshTri {
  std::uint16_t indices[3];
  std::uint16_t texture;  // sample index, corner code and mirror bit
  std::uint16_t attribute;
};
static_assert(sizeof(MeshTri) == 10);

struct MeshRecord {
  std::uint32_t dataOffset = 0;  // byte offset of the mesh in the mesh words
  std::int16_t centerX = 0, centerY = 0, centerZ = 0;
  std::int32_t radius = 0;

  std::int16_t numVertices = 0;
  std::vector<MeshVertex> vertices;

  std::int16_t numNormals = 0;      // negative: minus the number of shades
  std::vector<MeshVertex> normals;  // when numNormals > 0
  std::vector<std::int16_t> shades;  // when numNormals < 0

  std::int16_t numPolygons = 0;  // format 2
  std::vector<MeshPolygon> polygons;

  std::int16_t numRects = 0;  // format 1
  std::vector<MeshRect> rects;
  std::int16_t numTris = 0;  // format 1
  std::vector<MeshTri> tris;

  bool hasPad = false;  // the mesh ended with 2 bytes of alignment
  std::array<std::uint8_t, 2> pad{};
};
