#include "scene/TextureCoords.h"

namespace {

constexpr float kTexelScale = 255.0f;
constexpr std::uint16_t kTriangleSampleMask = 0x07FF;
constexpr std::uint16_t kCornerCodeMask = 0x7000;
constexpr int kCornerCodeShift = 12;
constexpr std::uint16_t kMirrorBit = 0x8000;

// Reflects a corner left to right within the sample: P0 <-> P1, P2 <-> P3.
constexpr int Mirror(int corner) { return corner ^ 1; }

}  // namespace

QuadTexture DecodeQuadTexture(std::uint16_t word) {
  const auto t = static_cast<std::int16_t>(word);
  if (t >= 0) return {static_cast<std::uint16_t>(t), false};
  return {static_cast<std::uint16_t>(-std::int32_t{t}), true};
}

TriangleTexture DecodeTriangleTexture(std::uint16_t word) {
  return {static_cast<std::uint16_t>(word & kTriangleSampleMask),
          static_cast<std::uint8_t>((word & kCornerCodeMask) >> kCornerCodeShift),
          (word & kMirrorBit) != 0};
}

std::array<TexCoord, 4> SampleCorners(const SampleRect& s) {
  const float left = static_cast<float>(s.x) / kTexelScale;
  const float top = static_cast<float>(s.y) / kTexelScale;
  const float right = static_cast<float>(s.x + s.addW) / kTexelScale;
  const float bottom = static_cast<float>(s.y + s.addH) / kTexelScale;
  return {TexCoord{left, top}, TexCoord{right, top}, TexCoord{right, bottom},
          TexCoord{left, bottom}};
}

std::array<TexCoord, 4> QuadTexCoords(const std::array<TexCoord, 4>& corners, bool mirrored) {
  // Vertices 0, 1, 3, 2 of the quad sit on P0, P1, P3, P2.
  constexpr int kStripCorners[4] = {0, 1, 3, 2};
  std::array<TexCoord, 4> out{};
  for (int i = 0; i < 4; ++i) {
    const int corner = kStripCorners[i];
    out[i] = corners[mirrored ? Mirror(corner) : corner];
  }
  return out;
}

std::array<TexCoord, 3> TriangleTexCoords(const std::array<TexCoord, 4>& corners,
                                          std::uint8_t cornerCode, bool mirrored) {
  const int first = (cornerCode >> 1) & 3;
  const int order[3] = {first, (first + 1) & 3, (first + 3) & 3};
  std::array<TexCoord, 3> out{};
  for (int i = 0; i < 3; ++i) out[i] = corners[mirrored ? Mirror(order[i]) : order[i]];
  return out;
}
