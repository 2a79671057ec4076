#include "scene/MeshList.h"

#include <algorithm>

#include "d3d/PolygonBuffer.h"
#include "scene/MeshParser.h"

Lista_Mesh::Lista_Mesh(int format) : format(format) {}

Lista_Mesh::~Lista_Mesh() = default;

void Lista_Mesh::Add(std::unique_ptr<MeshRecord> record) {
  records.push_back(std::move(record));
  ++count;
}

std::uint32_t Lista_Mesh::Get(std::int32_t i, MeshRecord** out) const {
  if (i < 0 || i >= count) return 0;
  *out = records[static_cast<std::size_t>(i)].get();
  return 1;
}

const MeshRecord* Lista_Mesh::Get(std::int32_t i) const {
  if (i < 0 || i >= count) return nullptr;
  return records[static_cast<std::size_t>(i)].get();
}

std::int32_t Lista_Mesh::Find(std::uint32_t offset) const {
  // Meshes are parsed back to back, so their offsets rise strictly.
  const auto found = std::lower_bound(
      records.begin(), records.end(), offset,
      [](const std::unique_ptr<MeshRecord>& record, std::uint32_t value) {
        return record->dataOffset < value;
      });
  if (found == records.end() || (*found)->dataOffset != offset) return -1;
  return static_cast<std::int32_t>(found - records.begin());
}

dxBufferTextura* Lista_Mesh::GetBuffer(std::int32_t i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= buffers.size()) return nullptr;
  return buffers[static_cast<std::size_t>(i)].get();
}
