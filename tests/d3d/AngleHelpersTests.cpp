#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "d3d/AngleHelpers.h"

namespace {

D3DXMATRIX YawPitchRoll(int yaw, int pitch, int roll) {
  const float toRadians = 3.14159265f / 180.0f;
  D3DXMATRIX m;
  D3DXMatrixRotationYawPitchRoll(&m, static_cast<float>(yaw) * toRadians,
                                 static_cast<float>(pitch) * toRadians,
                                 static_cast<float>(roll) * toRadians);
  return m;
}

int Wrapped(int degrees) { return ((degrees % 360) + 360) % 360; }

struct Euler {
  std::int32_t x = -1, y = -1, z = -1;
};

Euler ToEuler(const D3DXMATRIX& m) {
  Euler e;
  MatrixToEuler(m, e.x, e.y, e.z);
  return e;
}

}  // namespace

TEST(RoundToInt, RoundsHalvesUpwardAndNeverConvertsTheUnrepresentable) {
  const float cases[][2] = {{0.49f, 0}, {0.5f, 1},   {-0.5f, 0},  {-0.51f, -1},
                            {2.5f, 3},  {-2.5f, -2}, {-2.7f, -3}, {359.6f, 360}};
  for (const auto& c : cases) EXPECT_EQ(RoundToInt(c[0]), static_cast<int>(c[1])) << c[0];
  EXPECT_EQ(RoundToInt(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(RoundToInt(std::numeric_limits<float>::infinity()),
            std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToInt(-1e20f), std::numeric_limits<std::int32_t>::min());
}

TEST(WrapDegrees, AddsOneTurnToNegativesAndFoldsAFullTurn) {
  const int cases[][2] = {{-1, 359}, {-360, 0}, {-400, -40}, {360, 0}, {370, 370}, {0, 0}};
  for (const auto& c : cases) EXPECT_EQ(WrapDegrees(c[0]), c[1]) << c[0];
}

TEST(MatrixToEuler, RoundsSingleAxisRotationsToWholeDegrees) {
  EXPECT_EQ(ToEuler(YawPitchRoll(0, 0, 0)).x, 0);
  D3DXMATRIX m;
  D3DXMatrixRotationX(&m, -30.0f * 3.14159265f / 180.0f);
  EXPECT_EQ(ToEuler(m).x, 330);
  D3DXMatrixRotationY(&m, 3.14159265f);
  EXPECT_EQ(ToEuler(m).y, 180);
  D3DXMatrixRotationX(&m, -0.4f * 3.14159265f / 180.0f);
  EXPECT_EQ(ToEuler(m).x, 0);
  D3DXMatrixRotationX(&m, -0.6f * 3.14159265f / 180.0f);
  EXPECT_EQ(ToEuler(m).x, 359);
}

TEST(MatrixToEuler, RecoversWholeDegreeYawPitchRollAwayFromThePoles) {
  for (int pitch = -89; pitch <= 89; pitch += 8)
    for (int yaw = -180; yaw <= 180; yaw += 15)
      for (int roll = -180; roll <= 180; roll += 15) {
        const Euler e = ToEuler(YawPitchRoll(yaw, pitch, roll));
        ASSERT_EQ(e.x, Wrapped(pitch)) << yaw << " " << pitch << " " << roll;
        ASSERT_EQ(e.y, Wrapped(yaw)) << yaw << " " << pitch << " " << roll;
        ASSERT_EQ(e.z, Wrapped(roll)) << yaw << " " << pitch << " " << roll;
      }
}

// Straight up or down, yaw and roll turn about the same axis: the angles
// found must still rebuild the same rotation.
TEST(MatrixToEuler, AnglesAtThePolesRebuildTheSameRotation) {
  for (int pitch : {-90, 90})
    for (int yaw = -180; yaw <= 180; yaw += 20)
      for (int roll = -180; roll <= 180; roll += 20) {
        D3DXMATRIX m = YawPitchRoll(yaw, pitch, roll);
        // Rounding in a product of matrices can leave the sine just past 1.
        m._32 *= 1.0000001f;
        const Euler e = ToEuler(m);
        ASSERT_EQ(e.x, Wrapped(pitch));
        const D3DXMATRIX rebuilt = YawPitchRoll(e.y, e.x, e.z);
        float largest = 0.0f;
        for (UINT r = 0; r < 3; ++r)
          for (UINT c = 0; c < 3; ++c)
            largest = std::max(largest, std::abs(m(r, c) - rebuilt(r, c)));
        EXPECT_LT(largest, 1e-3f) << yaw << " " << pitch << " " << roll;
      }
}
