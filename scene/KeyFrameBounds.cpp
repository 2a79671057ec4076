#include "scene/KeyFrameBounds.h"

#include <algorithm>
#include <cstdint>

#include "model/KeyFrameCodec.h"
#include "model/WadFile.h"
#include "scene/DisplayUnits.h"
#include "scene/MeshList.h"
#include "scene/MeshResolution.h"

namespace {

constexpr std::int64_t kWadUnitsPerDisplayUnit = 10;

struct Extents {
  float minX, maxX, minY, maxY, minZ, maxZ;

  // Strict comparisons in a fixed order, so that a NaN never replaces a value.
  void Take(float x, float y, float z) {
    if (x < minX) minX = x;
    if (y < minY) minY = y;
    if (z > maxZ) maxZ = z;
    if (x > maxX) maxX = x;
    if (y > maxY) maxY = y;
    if (z < minZ) minZ = z;
  }
};

// A display coordinate rounded to whole units, back in WAD units (sign flips Y).
std::int16_t ToWad(float value, std::int64_t sign) {
  const std::int64_t wad = sign * kWadUnitsPerDisplayUnit * RoundAngle(value);
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(wad, INT16_MIN, INT16_MAX));
}

KeyFrame* FindKeyFrame(AnimationModel& animaciones, std::int32_t g, std::int32_t k) {
  if (g < 0 || static_cast<std::size_t>(g) >= animaciones.size()) return nullptr;
  AnimKeyFrames* anim = animaciones[static_cast<std::size_t>(g)].get();
  if (anim == nullptr || k < 0 || static_cast<std::size_t>(k) >= anim->keyFrames.size())
    return nullptr;
  return &anim->keyFrames[static_cast<std::size_t>(k)];
}

}  // namespace

void CalculateKeyFrameBounds(const WadFile& wad, const Lista_Mesh& meshes,
                             AnimationModel& animaciones, std::int32_t m, std::int32_t g,
                             std::int32_t k) {
  if (m < 0 || static_cast<std::uint32_t>(m) >= wad.numMoveables()) return;
  KeyFrame* keyFrame = FindKeyFrame(animaciones, g, k);
  if (keyFrame == nullptr) return;
  const std::vector<std::int32_t> listIndex =
      ResolveMoveableMeshes(wad, meshes, static_cast<std::uint32_t>(m), MeshFallback::Bounds);
  const std::size_t n = std::min(listIndex.size(), keyFrame->meshes.size());

  const RootOffset& root = keyFrame->workingRootOffset;
  const DisplayPoint r = ToDisplay(root[0], root[1], root[2]);
  Extents e{r.x, r.x, r.y, r.y, 0.0f, r.z};

  for (std::size_t i = 0; i < n; ++i) {
    const MeshRecord* record = meshes.Get(listIndex[i]);
    if (record == nullptr) continue;
    const auto& w = keyFrame->meshes[i].workingWorld.m;
    for (const MeshVertex& v : record->vertices) {
      // The vertex as a point carried by the mesh's world matrix.
      const DisplayPoint p = ToDisplay(v.x, v.y, v.z);
      const float px = p.x * w[0][0] + p.y * w[1][0] + p.z * w[2][0] + w[3][0];
      const float py = p.x * w[0][1] + p.y * w[1][1] + p.z * w[2][1] + w[3][1];
      const float pz = p.x * w[0][2] + p.y * w[1][2] + p.z * w[2][2] + w[3][2];
      e.Take(r.x + px, r.y + py, r.z + pz);
    }
  }

  // Y is flipped on the way back to WAD units: the largest display Y is the
  // smallest WAD Y.
  keyFrame->workingBox = {ToWad(e.minX, 1), ToWad(e.maxY, -1), ToWad(e.minZ, 1),
                          ToWad(e.maxX, 1), ToWad(e.minY, -1), ToWad(e.maxZ, 1)};
}

bool SameMeasuredPose(const KeyFrame& a, const KeyFrame& b) {
  if (a.workingRootOffset != b.workingRootOffset || a.meshes.size() != b.meshes.size()) return false;
  return std::equal(a.meshes.begin(), a.meshes.end(), b.meshes.begin(),
                    [](const MeshPose& p, const MeshPose& q) { return p.workingWorld == q.workingWorld; });
}
