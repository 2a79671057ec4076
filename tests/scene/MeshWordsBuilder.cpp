#include "MeshWordsBuilder.h"

namespace scenetest {

void MeshWordsBuilder::I16(std::int32_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void MeshWordsBuilder::I32(std::int32_t value) {
  I16(value & 0xFFFF);
  I16((value >> 16) & 0xFFFF);
}

void MeshWordsBuilder::Header(const TestMesh& mesh) {
  for (std::int16_t c : mesh.center) I16(c);
  I32(mesh.radius);
  I16(static_cast<std::int32_t>(mesh.vertices.size()));
  for (const MeshVertex& v : mesh.vertices) {
    I16(v.x);
    I16(v.y);
    I16(v.z);
  }
  if (!mesh.normals.empty()) {
    I16(static_cast<std::int32_t>(mesh.normals.size()));
    for (const MeshVertex& n : mesh.normals) {
      I16(n.x);
      I16(n.y);
      I16(n.z);
    }
  } else {
    I16(-static_cast<std::int32_t>(mesh.shades.size()));
    for (std::int16_t s : mesh.shades) I16(s);
  }
}

void MeshWordsBuilder::Pad(std::uint32_t start) {
  if ((bytes.size() - start) % 4 != 0) I16(0x7777);
}

std::uint32_t MeshWordsBuilder::Add(const TestMesh& mesh) {
  const auto start = static_cast<std::uint32_t>(bytes.size());
  Header(mesh);
  I16(static_cast<std::int32_t>(mesh.polygons.size()));
  for (const TestPolygon& p : mesh.polygons) {
    I16(p.shape);
    for (std::uint16_t index : p.indices) I16(index);
    I16(p.texture);
    U8(p.attribute);
    U8(p.extra);
  }
  Pad(start);
  return start;
}

std::uint32_t MeshWordsBuilder::AddSplit(const TestMesh& mesh) {
  const auto start = static_cast<std::uint32_t>(bytes.size());
  Header(mesh);
  for (std::uint16_t shape : {MESH_SHAPE_QUAD, MESH_SHAPE_TRIANGLE}) {
    std::int32_t count = 0;
    for (const TestPolygon& p : mesh.polygons) count += p.shape == shape;
    I16(count);
    for (const TestPolygon& p : mesh.polygons) {
      if (p.shape != shape) continue;
      for (std::uint16_t index : p.indices) I16(index);
      I16(p.texture);
      I16(p.attribute);
    }
  }
  Pad(start);
  return start;
}

}  // namespace scenetest
