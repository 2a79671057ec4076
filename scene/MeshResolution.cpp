#include "scene/MeshResolution.h"

#include <algorithm>
#include <array>

#include "model/WadFile.h"
#include "scene/MeshList.h"

namespace {

constexpr std::array<std::uint32_t, 17> kBoundsFallbackObjects{0, 1, 2,  3,  4,  5,  6,  7, 10,
                                                               11, 12, 13, 14, 15, 16, 28, 29};
constexpr std::uint32_t kViewOnlyFallbackObject = 33;

bool UsesFallback(std::uint32_t objectId, MeshFallback fallback) {
  if (fallback == MeshFallback::View && objectId == kViewOnlyFallbackObject) return true;
  return std::find(kBoundsFallbackObjects.begin(), kBoundsFallbackObjects.end(), objectId) !=
         kBoundsFallbackObjects.end();
}

// The mesh that pointer entry pointerIndex names; -1 past the table.
std::int32_t MeshAt(const WadFile& wad, const Lista_Mesh& meshes, std::size_t pointerIndex) {
  if (pointerIndex >= wad.meshPointers.size()) return -1;
  return meshes.Find(wad.meshPointers[pointerIndex]);
}

// The last moveable with the fallback object id, or null.
const WadMoveable* FallbackSource(const WadFile& wad) {
  for (auto it = wad.moveables.rbegin(); it != wad.moveables.rend(); ++it)
    if (it->objectId == kFallbackSourceObject) return &*it;
  return nullptr;
}

}  // namespace

std::vector<std::int32_t> ResolveMoveableMeshes(const WadFile& wad, const Lista_Mesh& meshes,
                                                std::uint32_t moveableIndex,
                                                MeshFallback fallback) {
  if (moveableIndex >= wad.moveables.size()) return {};
  const WadMoveable& m = wad.moveables[moveableIndex];
  std::vector<std::int32_t> indices(m.numMeshes);
  for (std::size_t k = 0; k < indices.size(); ++k)
    indices[k] = MeshAt(wad, meshes, std::size_t{m.meshPointerIndex} + k);

  if (!UsesFallback(m.objectId, fallback)) return indices;
  const WadMoveable* source = FallbackSource(wad);
  if (source == nullptr) return indices;
  for (std::size_t k = 0; k < indices.size(); ++k) {
    // Only meshes that resolved to the list's first mesh are placeholders.
    const std::size_t pointer = std::size_t{source->meshPointerIndex} + k;
    if (indices[k] == 0 && pointer < wad.meshPointers.size())
      indices[k] = MeshAt(wad, meshes, pointer);
  }
  return indices;
}
