#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "d3d/AngleHelpers.h"
#include "d3d/MouseD3D.h"

namespace {

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

D3DXMATRIX YawPitchRoll(int yaw, int pitch, int roll) {
  D3DXMATRIX m;
  D3DXMatrixRotationYawPitchRoll(&m, yaw * kRadiansPerDegree, pitch * kRadiansPerDegree,
                                 roll * kRadiansPerDegree);
  return m;
}

int Wrapped(int degrees) { return (degrees % 360 + 360) % 360; }

// Whether got lies in [0, 2 pi) and is the expected angle up to whole turns.
testing::AssertionResult SameAngle(double got, double expected, double tolerance) {
  if (got >= 0.0 && got < kTwoPi && std::abs(std::remainder(got - expected, kTwoPi)) < tolerance)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << got << " is not " << expected << " reduced to [0, 2 pi)";
}

}  // namespace

TEST(AngleHelpers, RoundHalvesUpwardNeverConvertingNaNAndWrapNegativesOnce) {
  const float rounded[][2] = {{0.49f, 0}, {0.5f, 1},   {-0.5f, 0},  {-0.51f, -1},
                              {2.5f, 3},  {-2.5f, -2}, {-2.7f, -3}, {359.6f, 360}};
  for (const auto& c : rounded) EXPECT_EQ(RoundToInt(c[0]), static_cast<int>(c[1])) << c[0];
  EXPECT_EQ(RoundToInt(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(RoundToInt(std::numeric_limits<float>::infinity()), 2147483647);
  EXPECT_EQ(RoundToInt(-1e20f), -2147483647 - 1);
  const int wrapped[][2] = {{-1, 359}, {-360, 0}, {-400, -40}, {360, 0}, {370, 370}, {0, 0}};
  for (const auto& c : wrapped) EXPECT_EQ(WrapDegrees(c[0]), c[1]) << c[0];
}

// Away from the poles the whole-degree angles come back; straight up or down,
// where yaw and roll turn about the same axis, the whole turn goes to the yaw,
// roll 0, and the angles still rebuild the same rotation.
TEST(MatrixToEuler, RecoversWholeDegreeRotationsAndRebuildsThemAtThePoles) {
  for (int pitch = -90; pitch <= 90; pitch += 6)
    for (int yaw = -180; yaw <= 180; yaw += 20)
      for (int roll = -180; roll <= 180; roll += 20) {
        D3DXMATRIX m = YawPitchRoll(yaw, pitch, roll);
        m._32 *= 1.0000001f;  // rounding can leave the sine of the pitch just past 1
        std::int32_t x, y, z;
        MatrixToEuler(m, x, y, z);
        const D3DXMATRIX rebuilt = YawPitchRoll(y, x, z);
        float largest = 0.0f;
        for (UINT i = 0; i < 9; ++i)
          largest = std::max(largest, std::abs(m(i / 3, i % 3) - rebuilt(i / 3, i % 3)));
        const bool pole = std::abs(pitch) == 90;
        ASSERT_TRUE(x == Wrapped(pitch) && largest < 1e-3f &&
                    (pole ? z == 0 : y == Wrapped(yaw) && z == Wrapped(roll)))
            << yaw << " " << pitch << " " << roll << " gave " << y << " " << x << " " << z;
      }
}

// Rotation: 1000 steps a pixel, times the speed about Y and times 1.2 about X;
// zoom and pans: the speed a pixel, against the mouse.
TEST(MouseD3D, EachValueFollowsItsOwnCoordinateAndARestartedDragKeepsTheTotals) {
  MouseD3D mouse(1.5f, 6.0f);
  EXPECT_EQ(mouse.UpdateRotationY(100), 0.0f);  // a first update only records
  EXPECT_EQ(mouse.UpdateRotationX(50), 0.0f);
  EXPECT_EQ(mouse.UpdatePanX(10), 0.0f);
  EXPECT_EQ(mouse.UpdatePanY(20), 0.0f);
  EXPECT_EQ(mouse.UpdateZoom(10), 6.0f);
  EXPECT_TRUE(SameAngle(mouse.UpdateRotationY(103), 4500.0, 1e-3));
  EXPECT_TRUE(SameAngle(mouse.UpdateRotationY(101), 1500.0, 1e-3));
  EXPECT_TRUE(SameAngle(mouse.UpdateRotationX(52), -2400.0, 1e-3));
  EXPECT_EQ(mouse.UpdatePanX(14), -6.0f);
  EXPECT_EQ(mouse.UpdatePanY(18), 3.0f);
  EXPECT_FLOAT_EQ(mouse.UpdateZoom(17), 0.001f);  // 6 - 10.5 lands just above 0
  EXPECT_FLOAT_EQ(mouse.UpdateZoom(12), 7.501f);

  mouse.ResetTracking();
  EXPECT_TRUE(SameAngle(mouse.UpdateRotationY(900), 1500.0, 1e-3));
  EXPECT_TRUE(SameAngle(mouse.UpdateRotationX(900), -2400.0, 1e-3));
  EXPECT_EQ(mouse.UpdatePanX(-900), -6.0f);
  EXPECT_EQ(mouse.UpdatePanY(900), 3.0f);
  EXPECT_FLOAT_EQ(mouse.UpdateZoom(-900), 7.501f);
  EXPECT_EQ(mouse.UpdatePanX(-899), -7.5f);  // the drag goes on from there
}

TEST(MouseD3D, ALongDragKeepsEveryStep) {
  // 200,000 one-pixel steps of 1250 make 2.5e8, more than a float total
  // holds to the unit.
  MouseD3D drag(1.25f, 6.0f);
  float last = drag.UpdateRotationY(0);
  for (int x = 1; x <= 200000; ++x) last = drag.UpdateRotationY(x);
  EXPECT_TRUE(SameAngle(last, 1250.0 * 200000, 1e-5));
}
