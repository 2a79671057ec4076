#include "scene/PoseMath.h"

#include <cmath>
#include <cstring>

namespace {

struct SinCos {
  float sin, cos;
};

SinCos SinCosOfDegrees(float d) {
  const float radians = DegToRad(d);
  return SinCos{std::sin(radians), std::cos(radians)};
}

// Angles are whole degrees almost always, and mostly within a turn or two:
// their sines and cosines are looked up, computed once exactly as for any
// other angle.
constexpr int kTabledDegrees = 720;

using SinCosTable = std::array<SinCos, 2 * kTabledDegrees + 1>;

SinCosTable MakeSinCosTable() {
  SinCosTable table{};
  for (int i = -kTabledDegrees; i <= kTabledDegrees; ++i)
    table[static_cast<std::size_t>(i + kTabledDegrees)] = SinCosOfDegrees(static_cast<float>(i));
  return table;
}

const SinCosTable kWholeDegrees = MakeSinCosTable();

SinCos SinCosDegrees(const SinCosTable& table, float d) {
  if (std::fabs(d) <= kTabledDegrees) {
    const int whole = static_cast<int>(d);
    if (static_cast<float>(whole) == d) return table[static_cast<std::size_t>(whole + kTabledDegrees)];
  }
  return SinCosOfDegrees(d);
}

// Roll about Z, then pitch about X, then yaw about Y, multiplied out: each
// element is the one non-zero product (or sum of two) of the three matrices'
// product, computed alike, so the values are the same. Written element by
// element straight into the matrix.
inline void YawPitchRoll(const SinCos& y, const SinCos& p, const SinCos& r, float (&m)[4][4]) {
  // Roll x pitch.
  const float a00 = r.cos, a01 = r.sin * p.cos, a02 = r.sin * p.sin;
  const float a10 = -r.sin, a11 = r.cos * p.cos, a12 = r.cos * p.sin;
  const float a21 = -p.sin, a22 = p.cos;
  // Then x yaw.
  m[0][0] = a00 * y.cos + a02 * y.sin, m[0][1] = a01, m[0][2] = a00 * -y.sin + a02 * y.cos;
  m[1][0] = a10 * y.cos + a12 * y.sin, m[1][1] = a11, m[1][2] = a10 * -y.sin + a12 * y.cos;
  m[2][0] = a22 * y.sin, m[2][1] = a21, m[2][2] = a22 * y.cos;
  m[0][3] = m[1][3] = m[2][3] = m[3][0] = m[3][1] = m[3][2] = 0;
  m[3][3] = 1;
}

}  // namespace

float DegToRad(float d) { return d * kPi * 2.0f / 360.0f; }

// Angles that are not finite take the three matrices' products, whose NaNs
// spread differently.
D3DXMATRIX YawPitchRollDegrees(float yaw, float pitch, float roll) {
  D3DXMATRIX m;
  if (!std::isfinite(yaw) || !std::isfinite(pitch) || !std::isfinite(roll)) {
    D3DXMatrixRotationYawPitchRoll(&m, DegToRad(yaw), DegToRad(pitch), DegToRad(roll));
    return m;
  }
  const SinCosTable& table = kWholeDegrees;
  Matrix4 rows;
  YawPitchRoll(SinCosDegrees(table, yaw), SinCosDegrees(table, pitch), SinCosDegrees(table, roll),
               rows.m);
  m = ToD3DX(rows);
  return m;
}

D3DXMATRIX LocalRotation(const std::array<float, 3>& angles) {
  return YawPitchRollDegrees(angles[1], -angles[0], -angles[2]);
}

D3DXMATRIX PlainRotation(const std::array<float, 3>& angles) {
  return YawPitchRollDegrees(angles[1], angles[0], angles[2]);
}

void MeshRotations(const std::array<float, 3>& angles, Matrix4& local, Matrix4& plain) {
  const float x = angles[0], y = angles[1], z = angles[2];
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
    local = ToMatrix4(LocalRotation(angles));
    plain = ToMatrix4(PlainRotation(angles));
    return;
  }
  const SinCosTable& table = kWholeDegrees;
  const SinCos yaw = SinCosDegrees(table, y);
  YawPitchRoll(yaw, SinCosDegrees(table, -x), SinCosDegrees(table, -z), local.m);
  YawPitchRoll(yaw, SinCosDegrees(table, x), SinCosDegrees(table, z), plain.m);
}
