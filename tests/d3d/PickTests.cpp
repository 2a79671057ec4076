#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "HeadlessDevice.h"
#include "PolygonBuilders.h"
#include "d3d/Picking.h"

using testpoly::Rectangle;

namespace {

struct Ray {
  float origin[3];
  float dir[3];
};

// A ray down -Z from (x, y, 10) against the triangle (0,0,0), (1,0,0), (0,1,0).
struct UnitTriangle {
  float a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, c[3] = {0, 1, 0};
  bool Hit(float x, float y, float* t, float* u = nullptr, float* v = nullptr) const {
    return Hit(Ray{{x, y, 10}, {0, 0, -1}}, t, u, v);
  }
  bool Hit(const Ray& ray, float* t, float* u = nullptr, float* v = nullptr) const {
    float uu, vv;
    return IntersectTriangle(ray.origin, ray.dir, a, b, c, t, u ? u : &uu, v ? v : &vv);
  }
};

// One uploaded buffer holding one rectangle facing the eye at depth z.
std::unique_ptr<dxBufferTextura> Wall(dxDevice8& device, float z, float half = 100) {
  auto buffer = std::make_unique<dxBufferTextura>();
  buffer->AddPolygon(Rectangle(-half, -half, half, half, z));
  EXPECT_EQ(device.AddBuffer(buffer.get()), S_OK);
  return buffer;
}

}  // namespace

TEST(IntersectTriangle, HitsBothFacesAndEdgesAndMeasuresInRayLengths) {
  UnitTriangle tri;
  float t = 0, u = 0, v = 0;
  ASSERT_TRUE(tri.Hit(0.25f, 0.5f, &t, &u, &v));
  EXPECT_FLOAT_EQ(t, 10.0f);
  EXPECT_FLOAT_EQ(u, 0.25f);
  EXPECT_FLOAT_EQ(v, 0.5f);
  ASSERT_TRUE(tri.Hit(Ray{{0.25f, 0.5f, -4}, {0, 0, 1}}, &t, &u));  // from the back
  EXPECT_FLOAT_EQ(t, 4.0f);
  EXPECT_FLOAT_EQ(u, 0.25f);
  ASSERT_TRUE(tri.Hit(Ray{{0.1f, 0.1f, 10}, {0, 0, -2}}, &t));  // a longer direction
  EXPECT_FLOAT_EQ(t, 5.0f);
  ASSERT_TRUE(tri.Hit(Ray{{0.2f, 0.2f, 3}, {0, 0, 1}}, &t));  // behind the origin
  EXPECT_FLOAT_EQ(t, -3.0f);
  // Exactly on each edge (u = 0, v = 0, u + v = 1) counts; just outside does not.
  EXPECT_TRUE(tri.Hit(0.0f, 0.5f, &t));
  EXPECT_TRUE(tri.Hit(0.5f, 0.0f, &t));
  EXPECT_TRUE(tri.Hit(0.5f, 0.5f, &t));
  EXPECT_FALSE(tri.Hit(-0.01f, 0.5f, &t));
  EXPECT_FALSE(tri.Hit(0.5f, -0.01f, &t));
  EXPECT_FALSE(tri.Hit(0.51f, 0.5f, &t));
  EXPECT_FALSE(tri.Hit(Ray{{-1, 0.2f, 0}, {1, 0, 0}}, &t));  // along the plane
  UnitTriangle flat;
  flat.c[0] = 2;
  flat.c[1] = 0;  // all three corners on the X axis
  EXPECT_FALSE(flat.Hit(0.5f, 0.0f, &t));
}

// At the window centre the ray runs straight from the eye down -Z, one unit
// of distance per world unit.
TEST(Pick, NearerHitReplacesOnlyWhenItBeatsTheWholeUnitsOfTheBest) {
  HeadlessDevice device(64, 64);
  auto at57 = Wall(*device, kEyeZ - 5.7f);
  auto at53 = Wall(*device, kEyeZ - 5.3f);
  auto at49 = Wall(*device, kEyeZ - 4.9f);
  dxBufferColor8* picked = nullptr;

  dxBufferColor8* twoHits[] = {at57.get(), at53.get()};
  ASSERT_TRUE(device->Pick(32, 32, &device.window, 64, 64, 2, twoHits));
  EXPECT_EQ(device->GetPickResult(&picked), 0);
  EXPECT_EQ(picked, at57.get());  // 5.3 does not beat 5

  dxBufferColor8* threeHits[] = {at57.get(), at53.get(), at49.get()};
  ASSERT_TRUE(device->Pick(32, 32, &device.window, 64, 64, 3, threeHits));
  device->GetPickResult(&picked);
  EXPECT_EQ(picked, at49.get());
}

TEST(Pick, RecordsThePolygonIndexInBuiltOrder) {
  HeadlessDevice device(64, 64);
  dxBufferTextura buffer;
  buffer.AddPolygon(Rectangle(-100, -100, 100, 100, -50));  // built last: 2
  buffer.AddPolygon(Rectangle(-100, -100, 100, 100, 0));    // 1, the nearest
  buffer.AddPolygon(Rectangle(200, 200, 300, 300, 100));    // 0, off the ray
  ASSERT_EQ(device->AddBuffer(&buffer), S_OK);
  dxBufferTextura* list[] = {&buffer};  // as the mesh lists keep them
  ASSERT_TRUE(device->Pick(32, 32, &device.window, 64, 64, 1, list));
  dxBufferColor8* picked = nullptr;
  EXPECT_EQ(device->GetPickResult(&picked), 1);
  EXPECT_EQ(picked, &buffer);
}

TEST(Pick, IgnoresWhatIsBehindTheEyeOrTooFar) {
  HeadlessDevice device(64, 64);
  auto behind = Wall(*device, kEyeZ + 50);
  auto front = Wall(*device, 0);
  dxBufferColor8* picked = nullptr;

  dxBufferColor8* both[] = {behind.get(), front.get()};
  ASSERT_TRUE(device->Pick(32, 32, &device.window, 64, 64, 2, both));
  device->GetPickResult(&picked);
  EXPECT_EQ(picked, front.get());

  dxBufferColor8* onlyBehind[] = {behind.get()};
  EXPECT_FALSE(device->Pick(32, 32, &device.window, 64, 64, 1, onlyBehind));

  // From 20000 units away every hit is beyond the farthest distance kept.
  device->SetEye(0, 0, 20000);
  dxBufferColor8* onlyFront[] = {front.get()};
  EXPECT_FALSE(device->Pick(32, 32, &device.window, 64, 64, 1, onlyFront));
  EXPECT_EQ(device->GetPickResult(&picked), 0);
  EXPECT_EQ(picked, front.get());  // the last hit recorded stays
}

TEST(Pick, MissesCleanly) {
  HeadlessDevice device(64, 64);
  auto wall = Wall(*device, 0, 10);
  dxBufferColor8* list[] = {wall.get()};
  EXPECT_FALSE(device->Pick(2, 2, &device.window, 64, 64, 1, list));  // beside it
  EXPECT_FALSE(device->Pick(32, 32, &device.window, 64, 64, 0, list));
  EXPECT_FALSE(
      device->Pick(32, 32, &device.window, 64, 64, 1, static_cast<dxBufferColor8**>(nullptr)));
  EXPECT_FALSE(device->Pick(32, 32, &device.window, 0, 0, 1, list));
  dxBufferColor8* none[] = {nullptr};
  EXPECT_FALSE(device->Pick(32, 32, &device.window, 64, 64, 1, none));

  dxBufferTextura unuploaded;
  unuploaded.AddPolygon(Rectangle(-100, -100, 100, 100, 0));
  unuploaded.BuildVertexData();
  dxBufferColor8* built[] = {&unuploaded};
  EXPECT_FALSE(device->Pick(32, 32, &device.window, 64, 64, 1, built));
  EXPECT_EQ(device->GetPickResult(nullptr), 0);
}
