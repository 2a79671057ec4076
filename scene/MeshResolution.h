#pragma once
// Which parsed meshes make up a moveable.
//
// Some moveables (the player's body-part sets, among others) carry placeholder
// meshes that all point at the first mesh of the WAD; in their place the
// meshes of the moveable with object id 8 are used. The view and the bounds
// calculation differ on whether object id 33 is one of them.

#include <cstdint>
#include <vector>

class Lista_Mesh;
struct WadFile;

enum class MeshFallback {
  View,    // object ids 0-7, 10-16, 28, 29 and 33
  Bounds,  // the same without 33
};

constexpr std::uint32_t kFallbackSourceObject = 8;

// Position in meshes of each mesh of the moveable, -1 where its pointer lies
// outside the pointer table or names no parsed mesh. Empty for a moveable
// index outside the table.
std::vector<std::int32_t> ResolveMoveableMeshes(const WadFile& wad, const Lista_Mesh& meshes,
                                                std::uint32_t moveableIndex, MeshFallback fallback);
