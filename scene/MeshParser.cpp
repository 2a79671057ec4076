#include "scene/MeshParser.h"

#include "scene/MemReader.h"
#include "scene/MeshList.h"

namespace {

constexpr std::uint32_t kMeshAlignment = 4;
constexpr std::uint32_t kPadBytes = 2;
constexpr std::uint32_t kVertexBytes = 6;
constexpr std::uint32_t kShadeBytes = 2;
// A polygon of an unknown shape still holds its shape, texture, attribute and
// extra byte; no polygon is shorter.
constexpr std::uint32_t kShortestPolygonBytes = 6;

bool ReadI16(MemReader& reader, std::int16_t& value) {
  return reader.Read(&value, sizeof value) != 0;
}

// Reads count elements into items when count > 0, checking first that they
// fit, so that no array is sized from a count the data cannot back.
template <typename T>
bool ReadArray(MemReader& reader, std::int32_t count, std::uint32_t elementBytes,
               std::vector<T>& items) {
  if (count <= 0) return true;
  const std::uint32_t bytes = static_cast<std::uint32_t>(count) * elementBytes;
  if (bytes > reader.Remaining()) return false;
  items.resize(static_cast<std::size_t>(count));
  return reader.Read(items.data(), bytes) != 0;
}

bool ReadPolygon(MemReader& reader, MeshPolygon& polygon) {
  if (!reader.Read(&polygon.shape, sizeof polygon.shape)) return false;
  if (polygon.shape == MESH_SHAPE_TRIANGLE) {
    if (!reader.Read(polygon.indices.data(), 3 * sizeof(std::uint16_t))) return false;
  } else if (polygon.shape == MESH_SHAPE_QUAD) {
    if (!reader.Read(polygon.indices.data(), 4 * sizeof(std::uint16_t))) return false;
  }
  return reader.Read(&polygon.texture, sizeof polygon.texture) &&
         reader.Read(&polygon.attribute, sizeof polygon.attribute) &&
         reader.Read(&polygon.extra, sizeof polygon.extra);
}

bool ReadPolygonList(MemReader& reader, MeshRecord& record) {
  if (!ReadI16(reader, record.numPolygons)) return false;
  if (record.numPolygons <= 0) return true;
  const auto count = static_cast<std::uint32_t>(record.numPolygons);
  if (count * kShortestPolygonBytes > reader.Remaining()) return false;
  record.polygons.resize(count);
  for (MeshPolygon& polygon : record.polygons)
    if (!ReadPolygon(reader, polygon)) return false;
  return true;
}

bool ReadSplitLists(MemReader& reader, MeshRecord& record) {
  return ReadI16(reader, record.numRects) &&
         ReadArray(reader, record.numRects, sizeof(MeshRect), record.rects) &&
         ReadI16(reader, record.numTris) &&
         ReadArray(reader, record.numTris, sizeof(MeshTri), record.tris);
}

bool ReadHeader(MemReader& reader, MeshRecord& record) {
  return ReadI16(reader, record.centerX) && ReadI16(reader, record.centerY) &&
         ReadI16(reader, record.centerZ) &&
         reader.Read(&record.radius, sizeof record.radius) &&
         ReadI16(reader, record.numVertices) &&
         ReadArray(reader, record.numVertices, kVertexBytes, record.vertices) &&
         ReadI16(reader, record.numNormals) &&
         ReadArray(reader, record.numNormals, kVertexBytes, record.normals) &&
         (record.numNormals >= 0 ||
          ReadArray(reader, -std::int32_t{record.numNormals}, kShadeBytes, record.shades));
}

// One mesh from the reader's position; false when it does not fit.
bool ReadMesh(MemReader& reader, int format, MeshRecord& record) {
  const std::uint32_t start = reader.position;
  record.dataOffset = start;
  if (!ReadHeader(reader, record)) return false;
  const bool lists = format == MESH_FORMAT_WAD ? ReadPolygonList(reader, record)
                                               : ReadSplitLists(reader, record);
  if (!lists) return false;
  if ((reader.position - start) % kMeshAlignment != 0) {
    // The last mesh of a block may end without its alignment bytes; its
    // geometry is whole, so it is kept.
    record.hasPad = reader.Read(record.pad.data(), kPadBytes) != 0;
  }
  return true;
}

// Header, vertices, normals or shades and, in format 1, the two lists.
std::int32_t UnpaddedByteSize(const MeshRecord& record, int format) {
  constexpr std::int32_t kHeaderBytes = 14;  // centre, radius, both counts
  constexpr std::int32_t kListCountBytes = 4;
  // A count of 0 or less stands for an empty array.
  auto items = [](std::int16_t count) { return count > 0 ? std::int32_t{count} : 0; };
  std::int32_t size = kHeaderBytes + 6 * items(record.numVertices);
  if (record.numNormals > 0) size += 6 * record.numNormals;
  if (record.numNormals < 0) size += 2 * -std::int32_t{record.numNormals};
  if (format == MESH_FORMAT_SPLIT)
    size += kListCountBytes + 12 * items(record.numRects) + 10 * items(record.numTris);
  return size;
}

}  // namespace

std::uint32_t ParseMeshData(const std::uint8_t* data, std::uint32_t sizeBytes,
                            std::unique_ptr<Lista_Mesh>& out, int format) {
  if (sizeBytes == 0 || data == nullptr) return 0;
  if (format != MESH_FORMAT_SPLIT && format != MESH_FORMAT_WAD) return 0;
  auto list = std::make_unique<Lista_Mesh>(format);
  MemReader reader;
  reader.Init(sizeBytes, data);
  while (reader.position < sizeBytes) {
    auto record = std::make_unique<MeshRecord>();
    if (!ReadMesh(reader, format, *record)) break;
    list->Add(std::move(record));
  }
  out = std::move(list);
  return 1;
}

std::int32_t MeshByteSize(const MeshRecord& record, int format) {
  const std::int32_t size = UnpaddedByteSize(record, format);
  return size % kMeshAlignment != 0 ? size + static_cast<std::int32_t>(kPadBytes) : size;
}

std::int32_t ConvertWadMesh(const MeshRecord& src, MeshRecord& dst) {
  dst = MeshRecord{};
  dst.dataOffset = src.dataOffset;
  dst.centerX = src.centerX;
  dst.centerY = src.centerY;
  dst.centerZ = src.centerZ;
  dst.radius = src.radius;
  dst.numVertices = src.numVertices;
  dst.vertices = src.vertices;
  dst.numNormals = src.numNormals;
  dst.normals = src.normals;
  dst.shades = src.shades;
  for (const MeshPolygon& polygon : src.polygons) {
    if (polygon.shape == MESH_SHAPE_QUAD) {
      dst.rects.push_back(MeshRect{{polygon.indices[0], polygon.indices[1], polygon.indices[2],
                                    polygon.indices[3]},
                                   polygon.texture, polygon.attribute});
    } else if (polygon.shape == MESH_SHAPE_TRIANGLE) {
      dst.tris.push_back(MeshTri{{polygon.indices[0], polygon.indices[1], polygon.indices[2]},
                                 polygon.texture, polygon.attribute});
    }
  }
  dst.numRects = static_cast<std::int16_t>(dst.rects.size());
  dst.numTris = static_cast<std::int16_t>(dst.tris.size());
  if (UnpaddedByteSize(dst, MESH_FORMAT_SPLIT) % kMeshAlignment != 0) {
    dst.hasPad = true;
    dst.pad = {0xFF, 0xFF};
  }
  return MeshByteSize(dst, MESH_FORMAT_SPLIT);
}
