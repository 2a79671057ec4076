// Drawing under identity transforms, where clip coordinates map straight to
// screen positions: which pixels a triangle covers, culling, wireframe,
// depth and texture colour.

#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "TestDevice.h"

using namespace d3d8test;

namespace {

constexpr int kSize = 32;
constexpr std::uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

// Every pixel has the colour `expected` gives for its position.
void ExpectPixels(const d3d8::PixelImage& image, const std::function<std::uint32_t(int, int)>& expected) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      ASSERT_EQ(image.At(x, y), expected(x, y)) << "pixel " << x << ", " << y;
}

// Pixels x0..x1-1, y0..y1-1 white, the rest the clear colour.
auto WhiteBox(int x0, int y0, int x1, int y1) {
  return [=](int x, int y) { return x >= x0 && x < x1 && y >= y0 && y < y1 ? kWhite : kClearColor; };
}

TEST(Rasterizer, PixelCentresSitOnWholeCoordinatesWithTopLeftEdgesInside) {
  TestDevice t(kSize, kSize);
  // Edges exactly through pixel centres: left and top edges take their
  // pixels, right and bottom edges (and the diagonal, once) leave them.
  t.Clear();
  t.DrawStrip(t.Quad(4, 4, 8, 8));
  ExpectPixels(t.Pixels(), WhiteBox(4, 4, 8, 8));
  // Half a pixel further on, the centres 5..8 lie inside.
  t.Clear();
  t.DrawStrip(t.Quad(4.5f, 4.5f, 8.5f, 8.5f));
  ExpectPixels(t.Pixels(), WhiteBox(5, 5, 9, 9));
  // A triangle between centres covers nothing.
  t.Clear();
  t.Draw({t.AtScreen(10.1f, 10.1f), t.AtScreen(10.9f, 10.1f), t.AtScreen(10.1f, 10.9f)});
  EXPECT_EQ(CountPixels(t.Pixels(), kWhite), 0);
}

TEST(Rasterizer, TrianglesTilingARectangleCoverEachPixelExactlyOnce) {
  // A grid of cells whose inner corners are jittered by quarter pixels (often
  // onto exact pixel centres), each cell split along either diagonal.
  TestDevice t(kSize, kSize);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> jitter(-4, 4), diagonal(0, 1);
  constexpr int kCells = 4, kCell = 6, kOrigin = 3, kEnd = kOrigin + kCells * kCell;
  TexVertex corner[kCells + 1][kCells + 1];
  for (int j = 0; j <= kCells; ++j)
    for (int i = 0; i <= kCells; ++i) {
      const bool border = i == 0 || j == 0 || i == kCells || j == kCells;
      const float dx = border ? 0 : jitter(random) / 4.0f, dy = border ? 0 : jitter(random) / 4.0f;
      corner[j][i] = t.AtScreen(kOrigin + i * kCell + dx, kOrigin + j * kCell + dy);
    }
  std::vector<int> coverage(kSize * kSize, 0);
  for (int j = 0; j < kCells; ++j)
    for (int i = 0; i < kCells; ++i) {
      const TexVertex a = corner[j][i], b = corner[j][i + 1], c = corner[j + 1][i],
                      d = corner[j + 1][i + 1];
      const std::vector<TexVertex> halves =
          diagonal(random) ? std::vector{a, b, c, b, d, c} : std::vector{a, b, d, a, d, c};
      for (int half = 0; half < 2; ++half) {
        t.Clear();
        t.Draw({halves.begin() + 3 * half, halves.begin() + 3 * half + 3});
        const d3d8::PixelImage image = t.Pixels();
        for (int p = 0; p < kSize * kSize; ++p) coverage[p] += image.pixels[p] == kWhite;
      }
    }
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool inside = x >= kOrigin && x < kEnd && y >= kOrigin && y < kEnd;
      EXPECT_EQ(coverage[y * kSize + x], inside ? 1 : 0) << "pixel " << x << ", " << y;
    }
}

TEST(Rasterizer, CullsByScreenWindingWithStripParityBeforeTheFillMode) {
  TestDevice t(kSize, kSize);
  // Top-left, top-right, bottom-left runs clockwise on the screen (36 pixels:
  // 8 + 7 + ... + 1). In a strip quad the second triangle's order is
  // reversed, so both halves (64 pixels) cull together.
  const std::vector<TexVertex> clockwise = {t.AtScreen(2, 2), t.AtScreen(10, 2), t.AtScreen(2, 10)};
  const struct {
    std::vector<TexVertex> vertices;
    D3DPRIMITIVETYPE type;
    DWORD culledBy;
    int pixels;
  } shapes[] = {{clockwise, D3DPT_TRIANGLELIST, D3DCULL_CW, 36},
                {{clockwise[0], clockwise[2], clockwise[1]}, D3DPT_TRIANGLELIST, D3DCULL_CCW, 36},
                {t.Quad(4, 4, 12, 12), D3DPT_TRIANGLESTRIP, D3DCULL_CW, 64}};
  for (const auto& shape : shapes)
    for (DWORD cull : {D3DCULL_CW, D3DCULL_CCW, D3DCULL_NONE}) {
      t.Clear();
      t.Draw(shape.vertices, {.type = shape.type, .cull = cull});
      EXPECT_EQ(CountPixels(t.Pixels(), kWhite), cull == shape.culledBy ? 0 : shape.pixels)
          << "shape " << (&shape - shapes) << ", cull " << cull;
    }
  // A culled quad draws no edges either.
  t.Clear();
  t.DrawStrip(t.Quad(4, 4, 12, 12), {.cull = D3DCULL_CW, .fill = D3DFILL_WIREFRAME});
  EXPECT_EQ(CountPixels(t.Pixels(), kWhite), 0);
}

TEST(Rasterizer, WireframeDrawsEveryEdgeWithItsEndsAndTheQuadDiagonalDepthTested) {
  TestDevice t(kSize, kSize);
  t.Clear();
  // A nearer red band over columns 0..7 hides the edges behind it.
  t.DrawStrip(t.Quad(0, 0, 8, kSize, 0.25f), {.texture = t.MakeTexture(1, 1, {kRed})});
  t.DrawStrip(t.Quad(4, 4, 12, 12), {.fill = D3DFILL_WIREFRAME});
  ExpectPixels(t.Pixels(), [](int x, int y) {
    const bool inBox = x >= 4 && x <= 12 && y >= 4 && y <= 12;
    const bool onBorder = inBox && (x == 4 || x == 12 || y == 4 || y == 12);
    const bool onDiagonal = inBox && x + y == 16;  // top-right to bottom-left
    return x < 8 ? kRed : onBorder || onDiagonal ? kWhite : kClearColor;
  });
}

TEST(Rasterizer, NearerSurfaceWinsInEitherDrawOrder) {
  TestDevice t(kSize, kSize);
  IDirect3DTexture8* red = t.MakeTexture(1, 1, {kRed});
  IDirect3DTexture8* blue = t.MakeTexture(1, 1, {kBlue});
  const auto nearQuad = t.Quad(4, 4, 20, 20, 0.25f), farQuad = t.Quad(12, 12, 28, 28, 0.75f);
  for (bool nearFirst : {true, false}) {
    t.Clear();
    if (nearFirst) t.DrawStrip(nearQuad, {.texture = red});
    t.DrawStrip(farQuad, {.texture = blue});
    if (!nearFirst) t.DrawStrip(nearQuad, {.texture = red});
    SCOPED_TRACE(nearFirst ? "near first" : "far first");
    ExpectPixels(t.Pixels(), [](int x, int y) {
      auto in = [&](int from, int to) { return x >= from && x < to && y >= from && y < to; };
      return in(4, 20) ? kRed : in(12, 28) ? kBlue : kClearColor;
    });
    const d3d8::DepthImage depth = t.Depths();
    EXPECT_EQ(depth.At(15, 15), 16384);  // 0.25 of 65535, rounded
    EXPECT_EQ(depth.At(24, 24), 49151);  // 0.75 of 65535, rounded
    EXPECT_EQ(depth.At(2, 2), 65535);
  }
  // Equal depth passes (less-or-equal): the later draw shows.
  t.DrawStrip(nearQuad, {.texture = blue});
  EXPECT_EQ(t.Pixels().At(15, 15), kBlue);
}

TEST(Rasterizer, ColourIsTheTexelAloneOrWhiteWithoutTexture) {
  TestDevice t(kSize, kSize);
  // The colour key leaves transparent black texels: they draw opaque black,
  // and alpha never blends or discards.
  t.Clear();
  t.DrawStrip(t.Quad(0, 0, kSize, kSize), {.texture = t.MakeTexture(2, 1, {0x00000000u, 0x00123456u})});
  const d3d8::PixelImage image = t.Pixels();
  EXPECT_EQ(image.At(5, 5), 0xFF000000u);
  EXPECT_EQ(image.At(25, 5), 0xFF123456u);
  t.DrawStrip(t.Quad(0, 0, kSize, kSize, 0.1f));
  EXPECT_EQ(CountPixels(t.Pixels(), kWhite), kSize * kSize);
}

TEST(Rasterizer, TextureCoordinatesWrapAndSampleTheNearestTexel) {
  TestDevice t(kSize, kSize);
  // 2 x 2 texels, u running 0..2 and v -1..3 over 32 pixels: pixel (x, y)
  // samples u = x / 16 and v = y / 8 - 1, so the column changes every 8
  // pixels and the row every 4.
  const std::vector<std::uint32_t> texels = {0xFF102030u, 0xFFA0B0C0u, 0xFF405060u, 0xFFD0E0F0u};
  t.Clear();
  t.DrawStrip(t.Quad(0, 0, kSize, kSize, 0.5f, 0, -1, 2, 3), {.texture = t.MakeTexture(2, 2, texels)});
  ExpectPixels(t.Pixels(), [&](int x, int y) { return texels[(y / 4) % 2 * 2 + (x / 8) % 2]; });
}

TEST(Rasterizer, UnplaceableVerticesDrawNothingAndUnsampleableCoordinatesStillGiveATexel) {
  TestDevice t(kSize, kSize);
  IDirect3DTexture8* blue = t.MakeTexture(1, 1, {kBlue});
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  t.Clear();
  t.Draw({{nan, 0, 0.5f, 0, 0}, {1, 0, 0.5f, 0, 0}, {0, 1, 0.5f, 0, 0}, {-inf, 0, 0.5f, 0, 0},
          {1e30f, 0, 0.5f, 0, 0}, {0, 1e30f, 0.5f, 0, 0}},
         {.texture = blue});
  EXPECT_EQ(CountPixels(t.Pixels(), kClearColor), kSize * kSize);
  // The triangle covers 16 + 15 + ... + 1 pixels.
  t.Draw({t.AtScreen(16, 16, 0.5f, nan, 1e30f), t.AtScreen(32, 16, 0.5f, -inf, 0),
          t.AtScreen(16, 32, 0.5f, 1e20f, -1e20f)},
         {.texture = blue});
  EXPECT_EQ(CountPixels(t.Pixels(), kBlue), 16 * 17 / 2);
}

// Triangles grazing the corners of the clip volume (the guard band at three
// times w, the near and far planes), a few units in the last place inside or
// outside, and nearly degenerate ones: rounding can clip such a triangle into
// a polygon that is not convex, which one plane then cuts more than once.
// Clipping must stay inside its arrays (the sanitizers watch) and draw
// nothing outside the triangle's own screen bounds.
TEST(Rasterizer, TrianglesGrazingTheClipVolumeDrawOnlyWithinTheirBounds) {
  constexpr int kTarget = 16;
  TestDevice t(kTarget, kTarget);
  std::mt19937 random(15);
  std::uniform_int_distribution<int> coin(0, 1), ulps(0, 100);
  std::uniform_real_distribution<float> anywhere(-4.0f, 4.0f), inside(-3.0f, 3.0f),
      hair(0.0f, 1e-8f), along(-2.0f, 3.0f);
  // v moved `steps` units in the last place away from 0 (out) or towards it.
  auto moved = [](float v, int steps, bool out) {
    for (int i = 0; i < steps; ++i) v = std::nextafter(v, out == (v > 0) ? 100.0f : -100.0f);
    return v;
  };
  auto band = [&] { return coin(random) ? 3.0f : -3.0f; };
  std::vector<std::vector<TexVertex>> triangles = {
      {{-3.0000179f, -3.0000162f, 0.9999917f, 0, 0},
       {3.0000072f, 3.8275681f, 1.0000019f, 0, 0},
       {3.0f, -3.0f, -4.76e-9f, 0, 0}}};
  for (int i = 0; i < 20000; ++i) {
    // Just inside the far plane beyond a corner of the band; just beyond the
    // far plane; a hair in front of the near plane, on the band or inside it.
    const TexVertex far{moved(band(), ulps(random), true), moved(band(), ulps(random), true),
                        moved(1.0f, ulps(random), false), 0, 0};
    const TexVertex beyond{coin(random) ? moved(band(), ulps(random), true) : anywhere(random),
                           coin(random) ? moved(band(), ulps(random), true) : anywhere(random),
                           moved(1.0f, ulps(random), true), 1, 0};
    TexVertex front{coin(random) ? band() : inside(random), coin(random) ? band() : inside(random),
                    -hair(random), 0, 1};
    if (i % 4 == 3) {  // nearly on the line through the other two
      const float s = along(random);
      front = TexVertex{far.x + (beyond.x - far.x) * s, far.y + (beyond.y - far.y) * s + hair(random),
                        far.z + (beyond.z - far.z) * s, 0, 1};
    }
    if (coin(random))
      triangles.push_back({far, beyond, front});
    else
      triangles.push_back({front, beyond, far});
  }
  for (const auto& triangle : triangles) {
    t.Clear();
    ASSERT_EQ(t.Draw(triangle), S_OK);
    // Screen bounds of the whole triangle (w is 1), one pixel wider.
    float left = kTarget, right = 0, top = kTarget, bottom = 0;
    for (const TexVertex& v : triangle) {
      const float x = (v.x + 1) * 0.5f * kTarget, y = (1 - v.y) * 0.5f * kTarget;
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
    const d3d8::PixelImage image = t.Pixels();
    for (int y = 0; y < kTarget; ++y)
      for (int x = 0; x < kTarget; ++x) {
        const bool inBounds = x >= left - 1 && x <= right + 1 && y >= top - 1 && y <= bottom + 1;
        ASSERT_TRUE(inBounds || image.At(x, y) == kClearColor)
            << "pixel " << x << ", " << y << " of triangle " << (&triangle - triangles.data());
      }
  }
}

}  // namespace
