// The D3DX matrix and quaternion helpers against closed forms and round trips.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>

#include "d3d8/D3DXMath.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTolerance = 1e-5f;

// A matrix made by one of the D3DXMatrix functions.
template <typename F, typename... Args>
D3DXMATRIX Make(F function, Args... args) {
  D3DXMATRIX m;
  function(&m, args...);
  return m;
}

D3DXMATRIX YawPitchRoll(float yaw, float pitch, float roll) {
  return Make(D3DXMatrixRotationYawPitchRoll, yaw, pitch, roll);
}

// p x m for the point (x, y, z, 1), divided by w.
D3DXVECTOR3 TransformPoint(const D3DXMATRIX& m, D3DXVECTOR3 p) {
  const float w = p.x * m._14 + p.y * m._24 + p.z * m._34 + m._44;
  return {(p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41) / w,
          (p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42) / w,
          (p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43) / w};
}

// Within kTolerance of the expected size.
void ExpectNear(D3DXVECTOR3 actual, D3DXVECTOR3 expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance * (1 + std::fabs(expected.x)));
  EXPECT_NEAR(actual.y, expected.y, kTolerance * (1 + std::fabs(expected.y)));
  EXPECT_NEAR(actual.z, expected.z, kTolerance * (1 + std::fabs(expected.z)));
}

void ExpectNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float tolerance = kTolerance) {
  for (UINT r = 0; r < 4; ++r)
    for (UINT c = 0; c < 4; ++c) EXPECT_NEAR(actual(r, c), expected(r, c), tolerance) << r << c;
}

// Equal as rotations: q and -q are the same rotation.
void ExpectSameRotation(const D3DXQUATERNION& a, const D3DXQUATERNION& b) {
  const float sign = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w < 0 ? -1.0f : 1.0f;
  const float actual[] = {a.x, a.y, a.z, a.w}, expected[] = {b.x, b.y, b.z, b.w};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], sign * expected[i], kTolerance) << i;
}

float Norm2(const D3DXQUATERNION& q) { return q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w; }

// A turn about the Y axis (or another unit axis).
D3DXQUATERNION AxisAngle(float angle, D3DXVECTOR3 axis = {0, 1, 0}) {
  const float s = std::sin(angle / 2);
  return {axis.x * s, axis.y * s, axis.z * s, std::cos(angle / 2)};
}

TEST(D3DXMatrix, TransformsMoveRowVectorsAsTheirClosedFormsSay) {
  const D3DXMATRIX translate = Make(D3DXMatrixTranslation, 1.0f, 0.0f, 0.0f);
  const D3DXMATRIX turn = Make(D3DXMatrixRotationY, kPi / 2);
  const D3DXVECTOR3 eye(0, 0, 800), at(0, 0, 0), up(0, 1, 0);
  const D3DXMATRIX view = Make(D3DXMatrixLookAtLH, &eye, &at, &up);
  const float fov = kPi / 4, zn = 1, zf = 3000, aspect = 2, edge = std::tan(fov / 2), d = 50;
  const D3DXMATRIX projection = Make(D3DXMatrixPerspectiveFovLH, fov, aspect, zn, zf);
  const struct {
    D3DXMATRIX m;
    D3DXVECTOR3 point, expected;
  } cases[] = {
      {Make(D3DXMatrixTranslation, 1.0f, 2.0f, 3.0f), {4, 5, 6}, {5, 7, 9}},
      {Make(D3DXMatrixScaling, 2.0f, 3.0f, 4.0f), {1, 1, 1}, {2, 3, 4}},
      // Left-handed quarter turns: Y toward Z about X, Z toward X about Y,
      // X toward Y about Z.
      {Make(D3DXMatrixRotationX, kPi / 2), {0, 1, 0}, {0, 0, 1}},
      {turn, {0, 0, 1}, {1, 0, 0}},
      {YawPitchRoll(0, 0, kPi / 2), {1, 0, 0}, {0, 1, 0}},
      // Roll, then pitch, then yaw: pitch takes +Y to +Z, yaw +Z to +X ...
      {YawPitchRoll(kPi / 2, kPi / 2, 0), {0, 1, 0}, {1, 0, 0}},
      // ... roll takes +X to +Y, pitch +Y to +Z.
      {YawPitchRoll(0, kPi / 2, kPi / 2), {1, 0, 0}, {0, 0, 1}},
      {YawPitchRoll(0, 0.3f, 0), {0, 1, 0}, {0, std::cos(0.3f), std::sin(0.3f)}},
      {YawPitchRoll(0.3f, 0, 0), {0, 0, 1}, {std::sin(0.3f), 0, std::cos(0.3f)}},
      // In a x b, a applies first: turn about Y, then move by (1, 0, 0);
      // Multiply may write over an operand.
      {turn * translate, {0, 0, 0}, {1, 0, 0}},
      {turn * translate, {1, 0, 0}, {1, 0, -1}},
      {[&] { D3DXMATRIX p = translate; return *D3DXMatrixMultiply(&p, &p, &turn); }(), {0, 0, 0}, {0, 0, -1}},
      // The editor's view: the eye to the origin, the target onto +Z, +X
      // seen on the left.
      {view, eye, {0, 0, 0}},
      {view, at, {0, 0, 800}},
      {view, {10, 20, 0}, {-10, 20, 800}},
      // Perspective: the near plane to depth 0, the far plane to 1, the
      // view's corner at depth d to (1, 1, (d - zn) zf / ((zf - zn) d)).
      {projection, {0, 0, zn}, {0, 0, 0}},
      {projection, {0, 0, zf}, {0, 0, 1}},
      {projection, {aspect * edge * d, edge * d, d}, {1, 1, (d - zn) * zf / ((zf - zn) * d)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    ExpectNear(TransformPoint(c.m, c.point), c.expected);
  }
}

TEST(D3DXMatrix, InverseTimesMatrixIsIdentityAndSingularFails) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> angle(-kPi, kPi), offset(-500, 500), scale(0.2f, 5);
  const D3DXMATRIX identity = Make(D3DXMatrixIdentity);
  for (int i = 0; i < 50; ++i) {
    const D3DXMATRIX s = Make(D3DXMatrixScaling, scale(random), scale(random), scale(random));
    const D3DXMATRIX t = Make(D3DXMatrixTranslation, offset(random), offset(random), offset(random));
    const D3DXMATRIX m = s * YawPitchRoll(angle(random), angle(random), angle(random)) * t;
    D3DXMATRIX inverse;
    float determinant = 0;
    ASSERT_NE(D3DXMatrixInverse(&inverse, &determinant, &m), nullptr);
    EXPECT_NEAR(determinant, s._11 * s._22 * s._33, 1e-3f * std::fabs(determinant));
    ExpectNear(inverse * m, identity, 1e-4f);
  }
  const D3DXMATRIX flat = Make(D3DXMatrixScaling, 1.0f, 0.0f, 1.0f);
  D3DXMATRIX untouched = identity;
  EXPECT_EQ(D3DXMatrixInverse(&untouched, nullptr, &flat), nullptr);
  EXPECT_EQ(untouched, identity);
}

TEST(D3DXQuaternion, MatrixAndQuaternionRoundTrip) {
  D3DXQUATERNION q;
  D3DXMATRIX m;
  D3DXQuaternionRotationMatrix(&q, D3DXMatrixRotationX(&m, 0.8f));
  ExpectSameRotation(q, AxisAngle(0.8f, {1, 0, 0}));
  // Every 15 degrees of yaw and pitch and 45 of roll, half turns (where w
  // is small) included.
  for (int yaw = 0; yaw < 360; yaw += 15)
    for (int pitch = -90; pitch <= 90; pitch += 15)
      for (int roll = 0; roll < 360; roll += 45) {
        const D3DXMATRIX rotation = YawPitchRoll(yaw * kPi / 180, pitch * kPi / 180, roll * kPi / 180);
        D3DXQuaternionRotationMatrix(&q, &rotation);
        ASSERT_NEAR(Norm2(q), 1, kTolerance);
        D3DXMatrixRotationQuaternion(&m, &q);
        for (UINT r = 0; r < 3; ++r)
          for (UINT c = 0; c < 3; ++c)
            ASSERT_NEAR(m(r, c), rotation(r, c), 1e-5f) << yaw << " " << pitch << " " << roll;
      }
}

TEST(D3DXQuaternion, SlerpFollowsTheShorterArcAndExtrapolates) {
  const D3DXQUATERNION identity(0, 0, 0, 1), turn = AxisAngle(1.2f);
  const D3DXQUATERNION negated(-turn.x, -turn.y, -turn.z, -turn.w);
  D3DXQUATERNION q;
  // -turn is the same rotation: the path does not go the long way round.
  for (const D3DXQUATERNION& end : {turn, negated})
    for (float t : {0.0f, 1.0f, 0.25f, 0.5f, -0.5f, -1.0f, 1.5f})
      ExpectSameRotation(*D3DXQuaternionSlerp(&q, &identity, &end, t), AxisAngle(t * 1.2f));
  // Nearly equal rotations still give a unit quaternion between them.
  const D3DXQUATERNION close = AxisAngle(1e-4f);
  D3DXQuaternionSlerp(&q, &identity, &close, 0.5f);
  EXPECT_NEAR(Norm2(q), 1, kTolerance);
  ExpectSameRotation(q, AxisAngle(0.5e-4f));
}

// Every element of a product is the sum a(r, 0) b(0, c) + ... + a(r, 3) b(3, c)
// taken in that order, to the bit, whatever the values (poses and pictures
// that must not change rest on it); a NaN is any NaN.
TEST(D3DXMatrix, ProductsSumEachElementInOrderToTheBit) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
  std::uniform_int_distribution<int> kind(0, 9);
  const float special[] = {0.0f, -0.0f, 1.0f, -1.0f, 1e-30f, 3e38f, std::numeric_limits<float>::infinity(),
                           std::numeric_limits<float>::quiet_NaN()};
  auto element = [&] {
    const int k = kind(random);
    return k < 8 && kind(random) < 3 ? special[k] : value(random);
  };
  auto expectSameBits = [](const D3DXMATRIX& actual, const D3DXMATRIX& expected, int i) {
    for (UINT r = 0; r < 4; ++r)
      for (UINT c = 0; c < 4; ++c) {
        const float x = actual(r, c), y = expected(r, c);
        if (std::isnan(x) && std::isnan(y)) continue;
        ASSERT_EQ(std::memcmp(&x, &y, sizeof x), 0) << "case " << i << " element " << r << c << ": " << x << " " << y;
      }
  };
  for (int i = 0; i < 2000; ++i) {
    D3DXMATRIX a, b, product, expected;
    for (UINT r = 0; r < 4; ++r)
      for (UINT c = 0; c < 4; ++c) a(r, c) = element(), b(r, c) = element();
    for (UINT r = 0; r < 4; ++r)
      for (UINT c = 0; c < 4; ++c) {
        float sum = a(r, 0) * b(0, c);
        for (UINT k = 1; k < 4; ++k) sum += a(r, k) * b(k, c);
        expected(r, c) = sum;
      }
    D3DXMatrixMultiply(&product, &a, &b);
    expectSameBits(product, expected, i);
    D3DXMatrixMultiply(&a, &a, &b);  // out may be an operand
    expectSameBits(a, expected, i);
  }
}
}  // namespace
