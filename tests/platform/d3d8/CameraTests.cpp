// Scenes under the editor's camera (eye (0, 0, 800) looking at the origin,
// field of view pi/4, aspect 1, near 1, far 3000), checked against where the
// pinhole model puts each world point.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "TestDevice.h"

using d3d8test::kClearColor;
using d3d8test::kWhite;
using d3d8test::TestDevice;
using d3d8test::TexVertex;

namespace {

constexpr int kSize = 64;
constexpr double kEyeDistance = 800;
const double kFocal = 1 / std::tan(std::numbers::pi / 8);  // cot(fov / 2)

// Screen position of pixel centre p as the tangent of its ray's angle.
double RayX(int px) { return (2.0 * px / kSize - 1) / kFocal; }
double RayY(int py) { return (1 - 2.0 * py / kSize) / kFocal; }

// Near an integer: a texel boundary where rounding may go either way.
bool NearBoundary(double texel) { return std::fabs(texel - std::round(texel)) < 1e-3; }

std::vector<std::uint32_t> NumberedTexels(int count) {
  std::vector<std::uint32_t> texels(count);
  for (int i = 0; i < count; ++i) texels[i] = 0xFF000000u | (0x010203u * (i + 1));
  return texels;
}

TEST(EditorCamera, TexturedQuadShowsEachTexelWhereTheRayMeetsIt) {
  TestDevice t(kSize, kSize);
  t.UseEditorCamera();
  constexpr int kTexels = 4;
  const std::vector<std::uint32_t> texels = NumberedTexels(kTexels * kTexels);
  IDirect3DTexture8* texture = t.MakeTexture(kTexels, kTexels, texels);
  // A 200 x 200 quad in the plane z = 0; u grows with world x, v downwards.
  constexpr float kHalf = 100;
  t.Clear();
  t.Draw({{-kHalf, kHalf, 0, 0, 0}, {kHalf, kHalf, 0, 1, 0}, {-kHalf, -kHalf, 0, 0, 1},
          {kHalf, -kHalf, 0, 1, 1}},
         {.type = D3DPT_TRIANGLESTRIP, .texture = texture});
  const d3d8::PixelImage image = t.Pixels();

  int checked = 0;
  for (int py = 0; py < kSize; ++py)
    for (int px = 0; px < kSize; ++px) {
      // The camera looks down -z, so world +x is on the left of the screen.
      const double worldX = -RayX(px) * kEyeDistance, worldY = RayY(py) * kEyeDistance;
      const double tu = (worldX + kHalf) / (2 * kHalf) * kTexels;
      const double tv = (kHalf - worldY) / (2 * kHalf) * kTexels;
      if (NearBoundary(tu) || NearBoundary(tv)) continue;
      const bool inside = tu > 0 && tu < kTexels && tv > 0 && tv < kTexels;
      const std::uint32_t expected =
          inside ? texels[static_cast<int>(tv) * kTexels + static_cast<int>(tu)] : kClearColor;
      ASSERT_EQ(image.At(px, py), expected) << "pixel " << px << ", " << py;
      ++checked;
    }
  EXPECT_GT(checked, kSize * kSize * 9 / 10);
  // World +x on the left: the leftmost covered pixels show the last column.
  EXPECT_EQ(image.At(kSize / 2 - 9, kSize / 2 - 9), texels[0 * kTexels + 3]);
}

// A floor at y = -100 from z = zNear (towards the eye) to z = zFar, with v
// running 0 to 1 from the near edge to the far edge over two texel rows.
std::vector<TexVertex> Floor(float zNear, float zFar) {
  constexpr float kHalfWidth = 1000, kY = -100;
  return {{-kHalfWidth, kY, zFar, 0, 1}, {kHalfWidth, kY, zFar, 1, 1},
          {-kHalfWidth, kY, zNear, 0, 0}, {kHalfWidth, kY, zNear, 1, 0}};
}

// The screen row where a floor point at distance d from the eye appears.
double FloorRow(double distance) { return (1 + 100 * kFocal / distance) * kSize / 2; }

TEST(EditorCamera, TextureCoordinatesArePerspectiveCorrect) {
  TestDevice t(kSize, kSize);
  t.UseEditorCamera();
  const std::uint32_t kNearHalf = 0xFF112233u, kFarHalf = 0xFF445566u;
  IDirect3DTexture8* texture = t.MakeTexture(1, 2, {kNearHalf, kFarHalf});
  // From 400 to 2000 units in front of the eye; v = 0.5 lies at distance
  // 1200, far above the screen midpoint of the two edges.
  t.Clear();
  t.Draw(Floor(400, -1200), {.type = D3DPT_TRIANGLESTRIP, .texture = texture});
  const d3d8::PixelImage image = t.Pixels();
  const double boundary = FloorRow(1200);
  const double nearRow = FloorRow(400), farRow = FloorRow(2000);
  ASSERT_GT(nearRow - boundary, 4 * (boundary - farRow) / 3);  // far from affine
  for (int py = static_cast<int>(std::ceil(farRow)) + 1; py < nearRow - 1; ++py) {
    if (std::fabs(py - boundary) < 1) continue;
    EXPECT_EQ(image.At(kSize / 2, py), py > boundary ? kNearHalf : kFarHalf) << "row " << py;
  }
}

TEST(EditorCamera, GeometryBehindTheEyeIsClippedAtTheNearPlane) {
  TestDevice t(kSize, kSize);
  t.UseEditorCamera();
  // The floor reaches from 200 units behind the eye to 1800 in front of it.
  t.Clear();
  t.Draw(Floor(1000, -1000), {.type = D3DPT_TRIANGLESTRIP});
  const d3d8::PixelImage image = t.Pixels();
  const double farRow = FloorRow(1800);
  for (int py = 0; py < kSize; ++py) {
    if (std::fabs(py - farRow) < 1) continue;
    for (int px = 0; px < kSize; px += 7)
      ASSERT_EQ(image.At(px, py), py > farRow ? kWhite : kClearColor) << px << ", " << py;
  }
  // A small square facing the eye is drawn 1.5 units away, not 0.5 units
  // away, closer than the near plane.
  for (const float distance : {0.5f, 1.5f}) {
    const float z = static_cast<float>(kEyeDistance) - distance, half = 0.2f * distance;
    t.Clear();
    t.Draw({{-half, half, z, 0, 0}, {half, half, z, 1, 0}, {-half, -half, z, 0, 1},
            {half, -half, z, 1, 1}},
           {.type = D3DPT_TRIANGLESTRIP});
    EXPECT_EQ(t.Pixels().At(kSize / 2, kSize / 2), distance < 1 ? kClearColor : kWhite);
  }
  t.Clear();
  t.Draw(Floor(1000, -1000), {.type = D3DPT_TRIANGLESTRIP});
  // Depth grows towards the far edge and stays within 0..1.
  const d3d8::DepthImage depth = d3d8::ReadDepthBuffer(t.device());
  EXPECT_LT(depth.At(kSize / 2, kSize - 1), depth.At(kSize / 2, static_cast<int>(farRow) + 2));
}

TEST(EditorCamera, NothingBeyondTheFarPlaneIsDrawn) {
  TestDevice t(kSize, kSize);
  t.UseEditorCamera();
  // A floor from 1800 to 4800 units in front of the eye: the part beyond
  // the far plane (3000) is cut away.
  t.Clear();
  t.Draw({{-5000, -300, -1000, 0, 0}, {5000, -300, -1000, 1, 0}, {-5000, -300, -4000, 0, 1},
          {5000, -300, -4000, 1, 1}},
         {.type = D3DPT_TRIANGLESTRIP});
  const d3d8::PixelImage floor = t.Pixels();
  const auto row = [](double distance) { return (1 + 300 * kFocal / distance) * kSize / 2; };
  for (int py = 0; py < kSize; ++py) {
    const bool drawn = py > row(3000) + 1 && py < row(1800) - 1;
    const bool empty = py < row(3000) - 1 || py > row(1800) + 1;
    if (drawn) {
      EXPECT_EQ(floor.At(kSize / 2, py), kWhite) << "row " << py;
    } else if (empty) {
      EXPECT_EQ(floor.At(kSize / 2, py), kClearColor) << "row " << py;
    }
  }
}

// The ray through pixel (px, py) as a mouse pick casts it, in world space
// for the editor camera: from the eye along (-x, y, -1) of the view ray.
struct Ray {
  double origin[3], direction[3];
};

Ray PickRay(int px, int py) {
  return Ray{{0, 0, kEyeDistance}, {-RayX(px), RayY(py), -1}};
}

// Barycentric weights of where the ray meets the triangle's plane; the
// smallest of them is negative when it passes outside.
double SmallestWeight(const Ray& ray, const TexVertex (&t)[3]) {
  double e1[3], e2[3], o[3];
  for (int i = 0; i < 3; ++i) {
    const double a = (&t[0].x)[i];
    e1[i] = (&t[1].x)[i] - a;
    e2[i] = (&t[2].x)[i] - a;
    o[i] = ray.origin[i] - a;
  }
  auto cross = [](const double* a, const double* b, double* out) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
  };
  auto dot = [](const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  double p[3], q[3];
  cross(ray.direction, e2, p);
  const double det = dot(e1, p);
  cross(o, e1, q);
  const double u = dot(o, p) / det, v = dot(ray.direction, q) / det;
  return std::min({u, v, 1 - u - v});
}

TEST(EditorCamera, APixelIsDrawnExactlyWhenThePickRayThroughItHitsTheTriangle) {
  TestDevice t(kSize, kSize);
  t.UseEditorCamera();
  std::mt19937 random(11);
  std::uniform_real_distribution<float> coordinate(-150, 150), depth(-300, 300);
  for (int trial = 0; trial < 40; ++trial) {
    const TexVertex triangle[3] = {{coordinate(random), coordinate(random), depth(random), 0, 0},
                                   {coordinate(random), coordinate(random), depth(random), 0, 0},
                                   {coordinate(random), coordinate(random), depth(random), 0, 0}};
    t.Clear();
    t.Draw({triangle[0], triangle[1], triangle[2]});
    const d3d8::PixelImage image = t.Pixels();
    for (int py = 0; py < kSize; ++py)
      for (int px = 0; px < kSize; ++px) {
        const double weight = SmallestWeight(PickRay(px, py), triangle);
        if (std::fabs(weight) < 1e-4) continue;  // on an edge: either answer is right
        ASSERT_EQ(image.At(px, py) == kWhite, weight > 0)
            << "trial " << trial << ", pixel " << px << ", " << py;
      }
  }
}

}  // namespace
