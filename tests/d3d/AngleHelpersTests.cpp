#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "d3d/AngleHelpers.h"

namespace {

constexpr float kPi = 3.14159265f;

float Radians(float degrees) { return degrees * kPi / 180.0f; }

D3DXMATRIX YawPitchRoll(float yawDegrees, float pitchDegrees, float rollDegrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationYawPitchRoll(&m, Radians(yawDegrees), Radians(pitchDegrees),
                                 Radians(rollDegrees));
  return m;
}

int Wrapped(int degrees) { return ((degrees % 360) + 360) % 360; }

struct Euler {
  std::int32_t x, y, z;
};

Euler ToEuler(const D3DXMATRIX& m) {
  Euler e{};
  MatrixToEuler(m, e.x, e.y, e.z);
  return e;
}

float LargestDifference(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  float largest = 0.0f;
  for (UINT r = 0; r < 4; ++r)
    for (UINT c = 0; c < 4; ++c) largest = std::max(largest, std::abs(a(r, c) - b(r, c)));
  return largest;
}

}  // namespace

TEST(RoundToInt, RoundsHalvesUpwardForEitherSign) {
  EXPECT_EQ(RoundToInt(0.49f), 0);
  EXPECT_EQ(RoundToInt(0.5f), 1);
  EXPECT_EQ(RoundToInt(-0.5f), 0);
  EXPECT_EQ(RoundToInt(-0.51f), -1);
  EXPECT_EQ(RoundToInt(2.5f), 3);
  EXPECT_EQ(RoundToInt(-2.5f), -2);
  EXPECT_EQ(RoundToInt(-2.7f), -3);
  EXPECT_EQ(RoundToInt(359.6f), 360);
}

TEST(RoundToInt, NeverConvertsWhatAnIntegerCannotHold) {
  EXPECT_EQ(RoundToInt(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(RoundToInt(std::numeric_limits<float>::infinity()),
            std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(RoundToInt(-1e20f), std::numeric_limits<std::int32_t>::min());
}

TEST(WrapDegrees, AddsOneTurnToNegativesAndFoldsAFullTurn) {
  EXPECT_EQ(WrapDegrees(-1), 359);
  EXPECT_EQ(WrapDegrees(-360), 0);
  EXPECT_EQ(WrapDegrees(-400), -40);
  EXPECT_EQ(WrapDegrees(360), 0);
  EXPECT_EQ(WrapDegrees(370), 370);
  EXPECT_EQ(WrapDegrees(0), 0);
}

TEST(MatrixToEuler, SingleAxisRotations) {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  const Euler none = ToEuler(identity);
  EXPECT_EQ(none.x, 0);
  EXPECT_EQ(none.y, 0);
  EXPECT_EQ(none.z, 0);

  D3DXMATRIX m;
  D3DXMatrixRotationX(&m, Radians(-30.0f));
  EXPECT_EQ(ToEuler(m).x, 330);
  D3DXMatrixRotationY(&m, Radians(180.0f));
  EXPECT_EQ(ToEuler(m).y, 180);
  D3DXMatrixRotationX(&m, Radians(-0.4f));
  EXPECT_EQ(ToEuler(m).x, 0);
  D3DXMatrixRotationX(&m, Radians(-0.6f));
  EXPECT_EQ(ToEuler(m).x, 359);
}

TEST(MatrixToEuler, RecoversWholeDegreeYawPitchRollAwayFromThePoles) {
  for (int pitch = -89; pitch <= 89; pitch += 8)
    for (int yaw = -180; yaw <= 180; yaw += 15)
      for (int roll = -180; roll <= 180; roll += 15) {
        const Euler e = ToEuler(YawPitchRoll(static_cast<float>(yaw), static_cast<float>(pitch),
                                             static_cast<float>(roll)));
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
        const D3DXMATRIX m =
            YawPitchRoll(static_cast<float>(yaw), static_cast<float>(pitch), static_cast<float>(roll));
        const Euler e = ToEuler(m);
        EXPECT_EQ(e.x, Wrapped(pitch));
        EXPECT_EQ(e.z, 0);
        const D3DXMATRIX rebuilt = YawPitchRoll(static_cast<float>(e.y), static_cast<float>(e.x),
                                                static_cast<float>(e.z));
        EXPECT_LT(LargestDifference(m, rebuilt), 1e-3f) << yaw << " " << pitch << " " << roll;
      }
}

TEST(MatrixToEuler, SineJustPastOneStillGivesAQuarterTurn) {
  D3DXMATRIX m = YawPitchRoll(0.0f, -90.0f, 0.0f);
  m._32 = 1.0000001f;  // what rounding in a product of matrices can leave
  const Euler e = ToEuler(m);
  EXPECT_EQ(e.x, 270);
  EXPECT_EQ(e.y, 0);
  EXPECT_EQ(e.z, 0);
}
