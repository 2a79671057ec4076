// The D3DX matrix and quaternion helpers against closed forms and round trips.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "d3d8/D3DXMath.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTolerance = 1e-5f;

// p x m for the point (x, y, z, 1), divided by w.
D3DXVECTOR3 TransformPoint(const D3DXMATRIX& m, D3DXVECTOR3 p) {
  const float x = p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41;
  const float y = p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42;
  const float z = p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43;
  const float w = p.x * m._14 + p.y * m._24 + p.z * m._34 + m._44;
  return {x / w, y / w, z / w};
}

void ExpectNear(D3DXVECTOR3 actual, D3DXVECTOR3 expected, float tolerance = kTolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float tolerance = kTolerance) {
  for (UINT r = 0; r < 4; ++r)
    for (UINT c = 0; c < 4; ++c) EXPECT_NEAR(actual(r, c), expected(r, c), tolerance) << r << c;
}

// Equal as rotations: q and -q are the same rotation.
void ExpectSameRotation(const D3DXQUATERNION& a, const D3DXQUATERNION& b) {
  const float sign = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w < 0 ? -1.0f : 1.0f;
  EXPECT_NEAR(a.x, sign * b.x, kTolerance);
  EXPECT_NEAR(a.y, sign * b.y, kTolerance);
  EXPECT_NEAR(a.z, sign * b.z, kTolerance);
  EXPECT_NEAR(a.w, sign * b.w, kTolerance);
}

D3DXQUATERNION AxisAngle(D3DXVECTOR3 axis, float angle) {
  const float s = std::sin(angle / 2);
  return {axis.x * s, axis.y * s, axis.z * s, std::cos(angle / 2)};
}

D3DXMATRIX YawPitchRoll(float yaw, float pitch, float roll) {
  D3DXMATRIX m;
  D3DXMatrixRotationYawPitchRoll(&m, yaw, pitch, roll);
  return m;
}

TEST(D3DXMatrix, ElementaryTransformsMoveRowVectors) {
  D3DXMATRIX m;
  ExpectNear(TransformPoint(*D3DXMatrixTranslation(&m, 1, 2, 3), {4, 5, 6}), {5, 7, 9});
  ExpectNear(TransformPoint(*D3DXMatrixScaling(&m, 2, 3, 4), {1, 1, 1}), {2, 3, 4});
  // Left-handed quarter turns: Y toward Z about X, Z toward X about Y.
  ExpectNear(TransformPoint(*D3DXMatrixRotationX(&m, kPi / 2), {0, 1, 0}), {0, 0, 1});
  ExpectNear(TransformPoint(*D3DXMatrixRotationY(&m, kPi / 2), {0, 0, 1}), {1, 0, 0});
  ExpectNear(TransformPoint(YawPitchRoll(0, 0, kPi / 2), {1, 0, 0}), {0, 1, 0});
  // In a x b, a applies first: translate by (1, 0, 0), then turn about Y.
  D3DXMATRIX translate, turn;
  D3DXMatrixTranslation(&translate, 1, 0, 0);
  D3DXMatrixRotationY(&turn, kPi / 2);
  const D3DXMATRIX turnThenMove = turn * translate;
  ExpectNear(TransformPoint(turnThenMove, {0, 0, 0}), {1, 0, 0});
  ExpectNear(TransformPoint(turnThenMove, {1, 0, 0}), {1, 0, -1});
  // Multiply may write over an operand.
  D3DXMATRIX product = translate;
  D3DXMatrixMultiply(&product, &product, &turn);
  ExpectNear(TransformPoint(product, {0, 0, 0}), {0, 0, -1});
}

TEST(D3DXMatrix, YawPitchRollRollsThenPitchesThenYaws) {
  // Pitch takes +Y to +Z, yaw then takes +Z to +X.
  ExpectNear(TransformPoint(YawPitchRoll(kPi / 2, kPi / 2, 0), {0, 1, 0}), {1, 0, 0});
  // Roll takes +X to +Y, pitch then takes +Y to +Z.
  ExpectNear(TransformPoint(YawPitchRoll(0, kPi / 2, kPi / 2), {1, 0, 0}), {0, 0, 1});
  D3DXMATRIX x, y;
  ExpectNear(YawPitchRoll(0, 0.3f, 0), *D3DXMatrixRotationX(&x, 0.3f));
  ExpectNear(YawPitchRoll(0.3f, 0, 0), *D3DXMatrixRotationY(&y, 0.3f));
}

TEST(D3DXMatrix, PerspectiveAndLookAtPlaceTheEditorCamera) {
  D3DXMATRIX view, projection;
  const D3DXVECTOR3 eye(0, 0, 800), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  ExpectNear(TransformPoint(view, eye), {0, 0, 0}, 1e-3f);
  ExpectNear(TransformPoint(view, at), {0, 0, 800}, 1e-3f);
  ExpectNear(TransformPoint(view, {10, 20, 0}), {-10, 20, 800}, 1e-3f);  // +X seen on the left

  const float fov = kPi / 4, zn = 1, zf = 3000, aspect = 2;
  D3DXMatrixPerspectiveFovLH(&projection, fov, aspect, zn, zf);
  const float edge = std::tan(fov / 2);
  ExpectNear(TransformPoint(projection, {0, 0, zn}), {0, 0, 0});
  ExpectNear(TransformPoint(projection, {0, 0, zf}), {0, 0, 1});
  // The corner of the view at depth d: depth (d - zn) zf / ((zf - zn) d).
  const float d = 50;
  ExpectNear(TransformPoint(projection, {aspect * edge * d, edge * d, d}),
             {1, 1, (d - zn) * zf / ((zf - zn) * d)}, 1e-5f);
}

TEST(D3DXMatrix, InverseTimesMatrixIsIdentityAndSingularFails) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> angle(-kPi, kPi), offset(-500, 500), scale(0.2f, 5);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  for (int i = 0; i < 50; ++i) {
    D3DXMATRIX s, t;
    D3DXMatrixScaling(&s, scale(random), scale(random), scale(random));
    D3DXMatrixTranslation(&t, offset(random), offset(random), offset(random));
    const D3DXMATRIX m = s * YawPitchRoll(angle(random), angle(random), angle(random)) * t;
    D3DXMATRIX inverse;
    float determinant = 0;
    ASSERT_NE(D3DXMatrixInverse(&inverse, &determinant, &m), nullptr);
    EXPECT_NEAR(determinant, s._11 * s._22 * s._33, 1e-3f * std::fabs(determinant));
    ExpectNear(inverse * m, identity, 1e-4f);
  }
  D3DXMATRIX flat, untouched;
  D3DXMatrixScaling(&flat, 1, 0, 1);
  D3DXMatrixIdentity(&untouched);
  EXPECT_EQ(D3DXMatrixInverse(&untouched, nullptr, &flat), nullptr);
  EXPECT_EQ(untouched, identity);
}

TEST(D3DXQuaternion, MatrixAndQuaternionRoundTrip) {
  D3DXQUATERNION q;
  D3DXMATRIX m;
  D3DXQuaternionRotationMatrix(&q, D3DXMatrixRotationX(&m, 0.8f));
  ExpectSameRotation(q, AxisAngle({1, 0, 0}, 0.8f));
  // Half turns take the branches where w is small.
  for (const D3DXMATRIX& rotation : {YawPitchRoll(kPi, 0, 0), YawPitchRoll(0, kPi, 0),
                                     YawPitchRoll(0, 0, kPi), YawPitchRoll(kPi, kPi / 2, 0)}) {
    D3DXQuaternionRotationMatrix(&q, &rotation);
    EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1, kTolerance);
    ExpectNear(*D3DXMatrixRotationQuaternion(&m, &q), rotation);
  }
  // Every whole-degree step of 15 about every axis.
  for (int yaw = 0; yaw < 360; yaw += 15)
    for (int pitch = -90; pitch <= 90; pitch += 15)
      for (int roll = 0; roll < 360; roll += 45) {
        const D3DXMATRIX rotation = YawPitchRoll(yaw * kPi / 180, pitch * kPi / 180, roll * kPi / 180);
        D3DXQuaternionRotationMatrix(&q, &rotation);
        D3DXMatrixRotationQuaternion(&m, &q);
        for (UINT r = 0; r < 3; ++r)
          for (UINT c = 0; c < 3; ++c)
            ASSERT_NEAR(m(r, c), rotation(r, c), 1e-5f) << yaw << " " << pitch << " " << roll;
      }
}

TEST(D3DXQuaternion, SlerpFollowsTheShorterArcAndExtrapolates) {
  const D3DXQUATERNION identity(0, 0, 0, 1);
  const float angle = 1.2f;
  const D3DXQUATERNION turn = AxisAngle({0, 1, 0}, angle);
  const D3DXQUATERNION negated(-turn.x, -turn.y, -turn.z, -turn.w);
  D3DXQUATERNION q;
  ExpectSameRotation(*D3DXQuaternionSlerp(&q, &identity, &turn, 0), identity);
  ExpectSameRotation(*D3DXQuaternionSlerp(&q, &identity, &turn, 1), turn);
  for (float t : {0.25f, 0.5f, -0.5f, -1.0f, 1.5f}) {
    ExpectSameRotation(*D3DXQuaternionSlerp(&q, &identity, &turn, t), AxisAngle({0, 1, 0}, t * angle));
    // -turn is the same rotation: the path does not go the long way round.
    ExpectSameRotation(*D3DXQuaternionSlerp(&q, &identity, &negated, t),
                       AxisAngle({0, 1, 0}, t * angle));
  }
  // Nearly equal rotations still give a unit quaternion between them.
  const D3DXQUATERNION close = AxisAngle({0, 1, 0}, 1e-4f);
  D3DXQuaternionSlerp(&q, &identity, &close, 0.5f);
  EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1, kTolerance);
  ExpectSameRotation(q, AxisAngle({0, 1, 0}, 0.5e-4f));
}

}  // namespace
