// Drawing under identity transforms, where clip coordinates map straight to
// screen positions: which pixels a triangle covers, culling, wireframe,
// depth and texture colour.

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "TestDevice.h"

using d3d8test::DrawOptions;
using d3d8test::kClearColor;
using d3d8test::kWhite;
using d3d8test::TestDevice;
using d3d8test::TexVertex;

namespace {

constexpr int kSize = 32;

// Two triangles covering the screen rectangle [x0, x1] x [y0, y1].
std::vector<TexVertex> Rectangle(const TestDevice& t, float x0, float y0, float x1, float y1,
                                 float z = 0.5f) {
  return {t.AtScreen(x0, y0, z, 0, 0), t.AtScreen(x1, y0, z, 1, 0), t.AtScreen(x0, y1, z, 0, 1),
          t.AtScreen(x1, y0, z, 1, 0), t.AtScreen(x1, y1, z, 1, 1), t.AtScreen(x0, y1, z, 0, 1)};
}

// A strip quad: top-left, top-right, bottom-left, bottom-right.
std::vector<TexVertex> StripQuad(const TestDevice& t, float x0, float y0, float x1, float y1) {
  return {t.AtScreen(x0, y0), t.AtScreen(x1, y0), t.AtScreen(x0, y1), t.AtScreen(x1, y1)};
}

struct Rect {
  int x0, y0, x1, y1;  // pixels x0..x1-1, y0..y1-1
};

// Every pixel inside r has `inside`, every other pixel `outside`.
void ExpectRegion(const d3d8::PixelImage& image, Rect r, std::uint32_t inside,
                  std::uint32_t outside) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const bool in = x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1;
      ASSERT_EQ(image.At(x, y), in ? inside : outside) << "pixel " << x << ", " << y;
    }
}

TEST(Rasterizer, PixelCentresSitOnWholeCoordinatesWithTopLeftEdgesInside) {
  TestDevice t(kSize, kSize);
  t.UseIdentityTransforms();
  // Edges exactly through pixel centres: left and top edges take their
  // pixels, right and bottom edges leave them.
  t.Clear();
  t.Draw(Rectangle(t, 4, 4, 8, 8));
  ExpectRegion(t.Pixels(), {4, 4, 8, 8}, kWhite, kClearColor);
  // Half a pixel further on, the centres 5..8 lie inside.
  t.Clear();
  t.Draw(Rectangle(t, 4.5f, 4.5f, 8.5f, 8.5f));
  ExpectRegion(t.Pixels(), {5, 5, 9, 9}, kWhite, kClearColor);
  // A triangle between centres covers nothing.
  t.Clear();
  t.Draw({t.AtScreen(10.1f, 10.1f), t.AtScreen(10.9f, 10.1f), t.AtScreen(10.1f, 10.9f)});
  EXPECT_EQ(d3d8test::CountPixels(t.Pixels(), kWhite), 0);
}

TEST(Rasterizer, TrianglesTilingARectangleCoverEachPixelExactlyOnce) {
  // A grid of cells whose inner corners are jittered (often onto exact pixel
  // centres), each cell split into two triangles with either diagonal.
  TestDevice t(kSize, kSize);
  t.UseIdentityTransforms();
  std::mt19937 random(7);
  std::uniform_int_distribution<int> jitter(-4, 4);  // quarter pixels
  std::uniform_int_distribution<int> diagonal(0, 1);
  constexpr int kCells = 4, kCell = 6, kOrigin = 3;
  float gx[kCells + 1][kCells + 1], gy[kCells + 1][kCells + 1];
  for (int j = 0; j <= kCells; ++j)
    for (int i = 0; i <= kCells; ++i) {
      const bool border = i == 0 || j == 0 || i == kCells || j == kCells;
      gx[j][i] = kOrigin + i * kCell + (border ? 0 : jitter(random) / 4.0f);
      gy[j][i] = kOrigin + j * kCell + (border ? 0 : jitter(random) / 4.0f);
    }
  std::vector<int> coverage(kSize * kSize, 0);
  for (int j = 0; j < kCells; ++j)
    for (int i = 0; i < kCells; ++i) {
      const TexVertex a = t.AtScreen(gx[j][i], gy[j][i]), b = t.AtScreen(gx[j][i + 1], gy[j][i + 1]);
      const TexVertex c = t.AtScreen(gx[j + 1][i], gy[j + 1][i]);
      const TexVertex d = t.AtScreen(gx[j + 1][i + 1], gy[j + 1][i + 1]);
      const std::vector<std::vector<TexVertex>> halves =
          diagonal(random) ? std::vector<std::vector<TexVertex>>{{a, b, c}, {b, d, c}}
                           : std::vector<std::vector<TexVertex>>{{a, b, d}, {a, d, c}};
      for (const auto& triangle : halves) {
        t.Clear();
        t.Draw(triangle);
        const d3d8::PixelImage image = t.Pixels();
        for (int p = 0; p < kSize * kSize; ++p) coverage[p] += image.pixels[p] == kWhite;
      }
    }
  const int end = kOrigin + kCells * kCell;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool inside = x >= kOrigin && x < end && y >= kOrigin && y < end;
      EXPECT_EQ(coverage[y * kSize + x], inside ? 1 : 0) << "pixel " << x << ", " << y;
    }
}

TEST(Rasterizer, CullsByScreenWindingWithStripParity) {
  TestDevice t(kSize, kSize);
  t.UseIdentityTransforms();
  // Top-left, top-right, bottom-left runs clockwise on the screen.
  const std::vector<TexVertex> clockwise = {t.AtScreen(2, 2), t.AtScreen(10, 2), t.AtScreen(2, 10)};
  const std::vector<TexVertex> counterClockwise = {clockwise[0], clockwise[2], clockwise[1]};
  auto drawn = [&](const std::vector<TexVertex>& vertices, DrawOptions options) {
    t.Clear();
    t.Draw(vertices, options);
    return d3d8test::CountPixels(t.Pixels(), kWhite);
  };
  EXPECT_EQ(drawn(clockwise, {.cull = D3DCULL_CW}), 0);
  EXPECT_GT(drawn(clockwise, {.cull = D3DCULL_CCW}), 0);
  EXPECT_EQ(drawn(counterClockwise, {.cull = D3DCULL_CCW}), 0);
  EXPECT_GT(drawn(counterClockwise, {.cull = D3DCULL_CW}), 0);
  EXPECT_GT(drawn(counterClockwise, {.cull = D3DCULL_NONE}), 0);

  // Both halves of a strip quad face the same way, so they cull together;
  // culling comes before the fill mode.
  const std::vector<TexVertex> quad = StripQuad(t, 4, 4, 12, 12);
  const DrawOptions strip{.type = D3DPT_TRIANGLESTRIP};
  EXPECT_EQ(drawn(quad, {.type = D3DPT_TRIANGLESTRIP, .cull = D3DCULL_CCW}), 64);
  EXPECT_EQ(drawn(quad, {.type = D3DPT_TRIANGLESTRIP, .cull = D3DCULL_CW}), 0);
  EXPECT_EQ(drawn(quad, {.type = D3DPT_TRIANGLESTRIP, .cull = D3DCULL_CW, .fill = D3DFILL_WIREFRAME}), 0);
  EXPECT_EQ(drawn(quad, strip), 64);
}

TEST(Rasterizer, WireframeDrawsEveryEdgeWithItsEndsAndTheQuadDiagonal) {
  TestDevice t(kSize, kSize);
  t.UseIdentityTransforms();
  t.Clear();
  t.Draw(StripQuad(t, 4, 4, 12, 12), {.type = D3DPT_TRIANGLESTRIP, .fill = D3DFILL_WIREFRAME});
  const d3d8::PixelImage image = t.Pixels();
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool inBox = x >= 4 && x <= 12 && y >= 4 && y <= 12;
      const bool onBorder = inBox && (x == 4 || x == 12 || y == 4 || y == 12);
      const bool onDiagonal = inBox && x + y == 16;  // top-right to bottom-left
      EXPECT_EQ(image.At(x, y), onBorder || onDiagonal ? kWhite : kClearColor)
          << "pixel " << x << ", " << y;
    }
}

TEST(Rasterizer, NearerSurfaceWinsInEitherDrawOrder) {
  TestDevice t(kSize, kSize);
  t.UseIdentityTransforms();
  IDirect3DTexture8* red = t.MakeTexture(1, 1, {0xFFFF0000u});
  IDirect3DTexture8* blue = t.MakeTexture(1, 1, {0xFF0000FFu});
  const auto nearQuad = Rectangle(t, 4, 4, 20, 20, 0.25f);
  const auto farQuad = Rectangle(t, 12, 12, 28, 28, 0.75f);
  for (bool nearFirst : {true, false}) {
    t.Clear();
    if (nearFirst) t.Draw(nearQuad, {.texture = red});
    t.Draw(farQuad, {.texture = blue});
    if (!nearFirst) t.Draw(nearQuad, {.texture = red});
    const d3d8::PixelImage image = t.Pixels();
    EXPECT_EQ(image.At(15, 15), 0xFFFF0000u) << "near first: " << nearFirst;
    EXPECT_EQ(image.At(24, 24), 0xFF0000FFu);
    EXPECT_EQ(image.At(8, 8), 0xFFFF0000u);
    const d3d8::DepthImage depth = d3d8::ReadDepthBuffer(t.device());
    EXPECT_EQ(depth.At(15, 15), 16384);  // 0.25 of 65535, rounded
    EXPECT_EQ(depth.At(24, 24), 49151);  // 0.75 of 65535, rounded
    EXPECT_EQ(depth.At(2, 2), 65535);
  }
  // Equal depth passes (less-or-equal): the later draw shows.
  t.Draw(Rectangle(t, 4, 4, 20, 20, 0.25f), {.texture = blue});
  EXPECT_EQ(t.Pixels().At(15, 15), 0xFF0000FFu);
}

TEST(Rasterizer, ColourIsTheTexelAloneOrWhiteWithoutTexture) {
  TestDevice t(kSize, kSize);
  t.UseIdentityTransforms();
  // The colour key leaves transparent black texels: they draw opaque black,
  // and alpha never blends or discards.
  IDirect3DTexture8* keyed = t.MakeTexture(2, 1, {0x00000000u, 0x00123456u});
  t.Clear();
  t.Draw(Rectangle(t, 0, 0, 32, 32), {.texture = keyed});
  const d3d8::PixelImage image = t.Pixels();
  EXPECT_EQ(image.At(5, 5), 0xFF000000u);
  EXPECT_EQ(image.At(25, 5), 0xFF123456u);
  t.Draw(Rectangle(t, 0, 0, 32, 32, 0.1f));
  EXPECT_EQ(t.Pixels().At(5, 5), kWhite);
}

TEST(Rasterizer, TextureCoordinatesWrapAndSampleTheNearestTexel) {
  TestDevice t(kSize, kSize);
  t.UseIdentityTransforms();
  // Two texels across, u running 0..2 over 32 pixels: texel boundaries at
  // u = 0.5, 1, 1.5, that is every 8 pixels; negative v wraps as well.
  const std::uint32_t kA = 0xFF102030u, kB = 0xFFA0B0C0u;
  IDirect3DTexture8* texture = t.MakeTexture(2, 1, {kA, kB});
  t.Clear();
  t.Draw({t.AtScreen(0, 0, 0.5f, 0, -1), t.AtScreen(32, 0, 0.5f, 2, -1), t.AtScreen(0, 32, 0.5f, 0, 3),
          t.AtScreen(32, 0, 0.5f, 2, -1), t.AtScreen(32, 32, 0.5f, 2, 3), t.AtScreen(0, 32, 0.5f, 0, 3)},
         {.texture = texture});
  const d3d8::PixelImage image = t.Pixels();
  for (int y = 0; y < kSize; y += 5)
    for (int x = 0; x < kSize; ++x) {
      const int texel = (x / 8) % 2;  // pixel x samples u = x / 16
      EXPECT_EQ(image.At(x, y), texel ? kB : kA) << "pixel " << x << ", " << y;
    }
}

TEST(Rasterizer, UnplaceableVerticesDrawNothingAndHarmNothing) {
  TestDevice t(kSize, kSize);
  t.UseIdentityTransforms();
  IDirect3DTexture8* texture = t.MakeTexture(1, 1, {0xFF0000FFu});
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  t.Clear();
  t.Draw({{nan, 0, 0.5f, 0, 0}, {1, 0, 0.5f, 0, 0}, {0, 1, 0.5f, 0, 0}}, {.texture = texture});
  t.Draw({{-inf, 0, 0.5f, 0, 0}, {1e30f, 0, 0.5f, 0, 0}, {0, 1e30f, 0.5f, 0, 0}}, {.texture = texture});
  EXPECT_EQ(d3d8test::CountPixels(t.Pixels(), kClearColor), kSize * kSize);
  // Texture coordinates that cannot be sampled still give a texel.
  t.Draw(Rectangle(t, 0, 0, 16, 16), {.texture = texture});
  t.Draw({t.AtScreen(16, 16, 0.5f, nan, 1e30f), t.AtScreen(32, 16, 0.5f, -inf, 0),
          t.AtScreen(16, 32, 0.5f, 1e20f, -1e20f)},
         {.texture = texture});
  // The square, and the triangle's 16 + 15 + ... + 1 pixels beside it.
  EXPECT_EQ(d3d8test::CountPixels(t.Pixels(), 0xFF0000FFu), 16 * 16 + 16 * 17 / 2);
}

}  // namespace
