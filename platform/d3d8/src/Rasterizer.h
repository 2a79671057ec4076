#pragma once
// Scan conversion of projected triangles and lines into a render target.
// Pixel (i, j) is sampled at screen position (i, j); a sample exactly on a
// triangle edge belongs to the triangle when the edge is a top or left edge,
// so triangles sharing an edge never both cover a pixel.

#include <cstddef>
#include <cstdint>

#include "SoftTexture.h"
#include "TrianglePipeline.h"

namespace d3d8 {

// A vertex after projection: screen position in pixels, depth 0..1, and the
// values that vary linearly on the screen (1/w, u/w, v/w).
struct ScreenVertex {
  float x, y;
  float z;
  float invW;
  float uOverW, vOverW;
};

// Colour of the pixels drawn: the point-sampled, wrapped texel of level 0
// (made opaque), or white without a texture.
class TexelSampler {
 public:
  // Texel-space coordinates are held within +-this before they become
  // integers, which keeps the conversion defined.
  static constexpr float kCoordinateLimit = 1e9f;

  explicit TexelSampler(const TexelImage& image);

  bool Textured() const { return texels_ != nullptr; }
  // Both sides a power of two: a wrapped coordinate is a masked one.
  bool Masked() const { return maskU_ >= 0 && maskV_ >= 0; }
  const std::uint32_t* Texels() const { return texels_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  std::uint32_t Sample(float u, float v) const {
    const int x = Wrap(u * static_cast<float>(width_), width_, maskU_);
    const int y = Wrap(v * static_cast<float>(height_), height_, maskV_);
    return 0xFF000000u | texels_[static_cast<std::size_t>(y) * width_ + x];
  }

 private:
  // The texel index of a texel-space coordinate, wrapped into 0..size-1.
  static int Wrap(float t, int size, int mask) {
    if (!(t > -kCoordinateLimit)) t = -kCoordinateLimit;  // NaN as well
    if (t > kCoordinateLimit) t = kCoordinateLimit;
    int i = static_cast<int>(t);
    i -= t < static_cast<float>(i);  // floor
    if (mask >= 0) return i & mask;
    i %= size;
    return i < 0 ? i + size : i;
  }

  const std::uint32_t* texels_;
  int width_;
  int height_;
  int maskU_;  // width - 1 for a power of two, else -1
  int maskV_;
};

struct Fragments {
  RenderTarget target;
  TexelSampler sampler;
  bool depthTest;
};

void FillTriangle(const Fragments& out, const ScreenVertex& v0, const ScreenVertex& v1,
                  const ScreenVertex& v2);

// Both end pixels included.
void DrawLine(const Fragments& out, const ScreenVertex& a, const ScreenVertex& b);

}  // namespace d3d8
