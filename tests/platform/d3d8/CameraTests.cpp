// Scenes under the editor's camera (eye (0, 0, 800) looking at the origin,
// field of view pi/4, aspect 1, near 1, far 3000), checked against where the
// pinhole model puts each world point.

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "TestDevice.h"

using namespace d3d8test;

namespace {

constexpr int kSize = 64;
constexpr double kEyeDistance = 800;
const double kFocal = 1 / std::tan(std::numbers::pi / 8);  // cot(fov / 2)

// The tangent of the view ray through pixel centre p (x grows to the right).
double RayX(int px) { return (2.0 * px / kSize - 1) / kFocal; }
double RayY(int py) { return (1 - 2.0 * py / kSize) / kFocal; }

bool NearInteger(double value) { return std::fabs(value - std::round(value)) < 1e-3; }

TEST(EditorCamera, TexturedQuadShowsEachTexelWhereTheRayMeetsIt) {
  TestDevice t(kSize, kSize, true);
  constexpr int kTexels = 4;
  std::vector<std::uint32_t> texels(kTexels * kTexels);
  for (int i = 0; i < kTexels * kTexels; ++i) texels[i] = 0xFF000000u | (0x010203u * (i + 1));
  // A 200 x 200 quad in the plane z = 0; u grows with world x, v downwards.
  constexpr float kHalf = 100;
  t.Clear();
  t.DrawStrip({{-kHalf, kHalf, 0, 0, 0}, {kHalf, kHalf, 0, 1, 0}, {-kHalf, -kHalf, 0, 0, 1},
               {kHalf, -kHalf, 0, 1, 1}},
              {.texture = t.MakeTexture(kTexels, kTexels, texels)});
  const d3d8::PixelImage image = t.Pixels();
  int checked = 0;
  for (int py = 0; py < kSize; ++py)
    for (int px = 0; px < kSize; ++px) {
      // The camera looks down -z, so world +x is on the left of the screen.
      const double tu = (-RayX(px) * kEyeDistance + kHalf) / (2 * kHalf) * kTexels;
      const double tv = (kHalf - RayY(py) * kEyeDistance) / (2 * kHalf) * kTexels;
      if (NearInteger(tu) || NearInteger(tv)) continue;  // a texel boundary
      const bool inside = tu > 0 && tu < kTexels && tv > 0 && tv < kTexels;
      ASSERT_EQ(image.At(px, py), inside ? texels[int(tv) * kTexels + int(tu)] : kClearColor)
          << "pixel " << px << ", " << py;
      ++checked;
    }
  EXPECT_GT(checked, kSize * kSize * 9 / 10);
  // World +x on the left: the top-left covered pixels show the last column.
  EXPECT_EQ(image.At(kSize / 2 - 9, kSize / 2 - 9), texels[kTexels - 1]);
}

// A wide floor at height y from z = zNear (towards the eye) to z = zFar, with
// v running 0 to 1 from the near edge to the far edge.
std::vector<TexVertex> Floor(float y, float zNear, float zFar) {
  constexpr float kHalfWidth = 5000;
  return {{-kHalfWidth, y, zFar, 0, 1}, {kHalfWidth, y, zFar, 1, 1},
          {-kHalfWidth, y, zNear, 0, 0}, {kHalfWidth, y, zNear, 1, 0}};
}

// The screen row where a floor point at height y and distance d appears.
double FloorRow(double y, double distance) { return (1 - y * kFocal / distance) * kSize / 2; }

TEST(EditorCamera, FloorsAreClippedAtTheNearAndFarPlanesWithPerspectiveCorrectTexels) {
  TestDevice t(kSize, kSize, true);
  const std::uint32_t kNearHalf = 0xFF112233u, kFarHalf = 0xFF445566u;
  IDirect3DTexture8* texture = t.MakeTexture(1, 2, {kNearHalf, kFarHalf});
  struct Case {
    float y, zNear, zFar;
    double nearest, farthest;  // the distances that remain drawn
  };
  // Floors from 400 to 2000 units in front of the eye (v = 0.5 lies at 1200,
  // far above the screen midpoint of the two edges); from 200 behind the eye
  // to 1800 in front (zoom and pan push geometry behind the eye); and from
  // 1800 to 4800, beyond the far plane at 3000.
  for (const Case& c : {Case{-100, 400, -1200, 400, 2000}, Case{-100, 1000, -1000, 1, 1800},
                        Case{-300, -1000, -4000, 1800, 3000}}) {
    t.Clear();
    t.DrawStrip(Floor(c.y, c.zNear, c.zFar), {.texture = texture});
    const d3d8::PixelImage image = t.Pixels();
    const double top = FloorRow(c.y, c.farthest), bottom = FloorRow(c.y, c.nearest);
    const double middle = FloorRow(c.y, kEyeDistance - (c.zNear + c.zFar) / 2);  // v = 0.5
    for (int py = 0; py < kSize; ++py) {
      if (std::fabs(py - top) < 1 || std::fabs(py - bottom) < 1 || std::fabs(py - middle) < 1) continue;
      const std::uint32_t expected = py <= top || py >= bottom ? kClearColor
                                     : py > middle              ? kNearHalf
                                                                : kFarHalf;
      for (int px = 0; px < kSize; px += 7)
        ASSERT_EQ(image.At(px, py), expected) << "floor " << c.zNear << ", pixel " << px << ", " << py;
    }
    // Depth falls steadily towards the eye, clipped part included.
    const d3d8::DepthImage depth = t.Depths();
    for (int py = static_cast<int>(top) + 2; py < std::min<double>(bottom, kSize) - 2; ++py)
      ASSERT_LE(depth.At(kSize / 2, py + 1), depth.At(kSize / 2, py)) << "row " << py;
  }
  // A small square facing the eye is drawn 1.5 units away, not 0.5 units
  // away, closer than the near plane.
  for (const float distance : {0.5f, 1.5f}) {
    const float z = static_cast<float>(kEyeDistance) - distance, half = 0.2f * distance;
    t.Clear();
    t.DrawStrip({{-half, half, z, 0, 0}, {half, half, z, 1, 0}, {-half, -half, z, 0, 1},
                 {half, -half, z, 1, 1}});
    EXPECT_EQ(t.Pixels().At(kSize / 2, kSize / 2), distance < 1 ? kClearColor : kWhite);
  }
}

// The smallest barycentric weight of where the mouse-pick ray through pixel
// (px, py) meets the triangle's plane: negative when it passes outside. The
// ray leaves the eye along (-x, y, -1) of the view ray, in world space.
double SmallestPickWeight(int px, int py, const TexVertex (&tri)[3]) {
  using V = std::array<double, 3>;
  auto at = [&](int i) { return V{tri[i].x, tri[i].y, tri[i].z}; };
  auto sub = [](V a, V b) { return V{a[0] - b[0], a[1] - b[1], a[2] - b[2]}; };
  auto cross = [](V a, V b) {
    return V{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  };
  auto dot = [](V a, V b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  const V direction{-RayX(px), RayY(py), -1}, e1 = sub(at(1), at(0)), e2 = sub(at(2), at(0));
  const V o = sub(V{0, 0, kEyeDistance}, at(0)), p = cross(direction, e2), q = cross(o, e1);
  const double det = dot(e1, p), u = dot(o, p) / det, v = dot(direction, q) / det;
  return std::min({u, v, 1 - u - v});
}

TEST(EditorCamera, APixelIsDrawnExactlyWhenThePickRayThroughItHitsTheTriangle) {
  TestDevice t(kSize, kSize, true);
  std::mt19937 random(11);
  std::uniform_real_distribution<float> coordinate(-150, 150), depth(-300, 300);
  auto vertex = [&] { return TexVertex{coordinate(random), coordinate(random), depth(random), 0, 0}; };
  for (int trial = 0; trial < 40; ++trial) {
    const TexVertex triangle[3] = {vertex(), vertex(), vertex()};
    t.Clear();
    t.Draw({triangle[0], triangle[1], triangle[2]});
    const d3d8::PixelImage image = t.Pixels();
    for (int py = 0; py < kSize; ++py)
      for (int px = 0; px < kSize; ++px) {
        const double weight = SmallestPickWeight(px, py, triangle);
        if (std::fabs(weight) < 1e-4) continue;  // on an edge: either answer is right
        ASSERT_EQ(image.At(px, py) == kWhite, weight > 0)
            << "trial " << trial << ", pixel " << px << ", " << py;
      }
  }
}

// The device keeps world x view x projection between draws; changing any one
// of them, alone, must show in the next draw as on a device set up afresh.
TEST(EditorCamera, EachTransformSetAloneTakesEffectAtTheNextDraw) {
  const std::vector<TexVertex> quad = {{-100, 100, 0, 0, 0}, {100, 100, 0, 1, 0},
                                       {-100, -100, 0, 0, 1}, {100, -100, 0, 1, 1}};
  D3DXMATRIX turned, nearer, wider;
  D3DXMatrixRotationY(&turned, 0.6f);
  const D3DXVECTOR3 eye(0, 50, 500), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&nearer, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&wider, std::numbers::pi_v<float> / 2, 1.0f, 1.0f, 3000.0f);
  const std::pair<D3DTRANSFORMSTATETYPE, const D3DXMATRIX*> changes[] = {
      {D3DTS_WORLD, &turned}, {D3DTS_VIEW, &nearer}, {D3DTS_PROJECTION, &wider}};
  TestDevice kept(kSize, kSize, true);
  kept.Clear();
  kept.DrawStrip(quad);
  for (std::size_t i = 0; i < std::size(changes); ++i) {
    SCOPED_TRACE(changes[i].first);
    kept.device()->SetTransform(changes[i].first, changes[i].second);
    kept.Clear();
    kept.DrawStrip(quad);
    TestDevice fresh(kSize, kSize, true);  // every change so far, at once
    for (std::size_t j = 0; j <= i; ++j) fresh.device()->SetTransform(changes[j].first, changes[j].second);
    fresh.Clear();
    fresh.DrawStrip(quad);
    EXPECT_EQ(kept.Pixels().pixels, fresh.Pixels().pixels);
  }
}

}  // namespace
