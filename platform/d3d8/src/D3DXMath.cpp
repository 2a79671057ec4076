#include "d3d8/D3DXMath.h"

#include <cmath>
#include <cstring>
#include <utility>


namespace {

// Below this |determinant| a matrix counts as singular.
constexpr float kSingularDeterminant = 1e-20f;
// Quaternions closer than this (1 - cos of half the angle) are interpolated
// linearly: the spherical weights would divide by a sine near zero.
constexpr float kSlerpLinearThreshold = 1e-5f;

void SetRows(D3DXMATRIX* m, const float (&e)[16]) {
  static_assert(sizeof e == sizeof(D3DMATRIX));
  std::memcpy(static_cast<D3DMATRIX*>(m), e, sizeof e);  // the elements lie row by row
}

}  // namespace

D3DXMATRIX::D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23,
                       float m24, float m31, float m32, float m33, float m34, float m41, float m42,
                       float m43, float m44)
    : D3DMATRIX{m11, m12, m13, m14, m21, m22, m23, m24, m31, m32, m33, m34, m41, m42, m43, m44} {}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& m) const {
  D3DXMATRIX product;
  D3DXMatrixMultiply(&product, this, &m);
  return product;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& m) const {
  float a[16], b[16];
  std::memcpy(a, static_cast<const D3DMATRIX*>(this), sizeof a);
  std::memcpy(b, static_cast<const D3DMATRIX*>(&m), sizeof b);
  for (int i = 0; i < 16; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
  SetRows(out, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
  SetRows(out, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1});
  return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz) {
  SetRows(out, {sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1});
  return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  SetRows(out, {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1});
  return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  SetRows(out, {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1});
  return out;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll) {
  const float cr = std::cos(roll), sr = std::sin(roll);
  D3DXMATRIX rollZ;
  SetRows(&rollZ, {cr, sr, 0, 0, -sr, cr, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  D3DXMATRIX pitchX, yawY;
  D3DXMatrixRotationX(&pitchX, pitch);
  D3DXMatrixRotationY(&yawY, yaw);
  *out = rollZ * pitchX * yawY;
  return out;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q) {
  const float x = q->x, y = q->y, z = q->z, w = q->w;
  SetRows(out, {1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,  //
                2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,  //
                2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0,  //
                0, 0, 0, 1});
  return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zn,
                                       float zf) {
  const float yScale = 1.0f / std::tan(fovY / 2);
  const float xScale = yScale / aspect;
  const float depthScale = zf / (zf - zn);
  SetRows(out, {xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, depthScale, 1, 0, 0, -zn * depthScale, 0});
  return out;
}

namespace {

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

D3DXVECTOR3 Normalized(const D3DXVECTOR3& v) {
  const float length = std::sqrt(Dot(v, v));
  return length > 0 ? v * (1.0f / length) : v;
}

}  // namespace

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
  const D3DXVECTOR3 zAxis = Normalized(*at - *eye);
  const D3DXVECTOR3 xAxis = Normalized(Cross(*up, zAxis));
  const D3DXVECTOR3 yAxis = Cross(zAxis, xAxis);
  SetRows(out, {xAxis.x, yAxis.x, zAxis.x, 0,  //
                xAxis.y, yAxis.y, zAxis.y, 0,  //
                xAxis.z, yAxis.z, zAxis.z, 0,  //
                -Dot(xAxis, *eye), -Dot(yAxis, *eye), -Dot(zAxis, *eye), 1});
  return out;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m) {
  // Gauss-Jordan elimination with partial pivoting, in double precision.
  double a[4][8];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      a[r][c] = (*m)(r, c);
      a[r][c + 4] = r == c ? 1.0 : 0.0;
    }
  double det = 1.0;
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (a[pivot][col] == 0.0) return nullptr;
    if (pivot != col) {
      for (int c = 0; c < 8; ++c) std::swap(a[pivot][c], a[col][c]);
      det = -det;
    }
    det *= a[col][col];
    const double scale = 1.0 / a[col][col];
    for (int c = 0; c < 8; ++c) a[col][c] *= scale;
    for (int r = 0; r < 4; ++r) {
      if (r == col || a[r][col] == 0.0) continue;
      const double factor = a[r][col];
      for (int c = 0; c < 8; ++c) a[r][c] -= factor * a[col][c];
    }
  }
  if (!(std::fabs(det) > kSingularDeterminant)) return nullptr;
  if (determinant) *determinant = static_cast<float>(det);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) (*out)(r, c) = static_cast<float>(a[r][c + 4]);
  return out;
}

D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m) {
  // Taken from the largest of w, x, y, z so that the square root never sees
  // a value near zero.
  const float trace = m->_11 + m->_22 + m->_33;
  D3DXQUATERNION q;
  if (trace > 0) {
    const float s = std::sqrt(trace + 1) * 2;  // 4w
    q = {(m->_23 - m->_32) / s, (m->_31 - m->_13) / s, (m->_12 - m->_21) / s, s / 4};
  } else if (m->_11 >= m->_22 && m->_11 >= m->_33) {
    const float s = std::sqrt(1 + m->_11 - m->_22 - m->_33) * 2;  // 4x
    q = {s / 4, (m->_12 + m->_21) / s, (m->_13 + m->_31) / s, (m->_23 - m->_32) / s};
  } else if (m->_22 >= m->_33) {
    const float s = std::sqrt(1 + m->_22 - m->_11 - m->_33) * 2;  // 4y
    q = {(m->_12 + m->_21) / s, s / 4, (m->_23 + m->_32) / s, (m->_31 - m->_13) / s};
  } else {
    const float s = std::sqrt(1 + m->_33 - m->_11 - m->_22) * 2;  // 4z
    q = {(m->_13 + m->_31) / s, (m->_23 + m->_32) / s, s / 4, (m->_12 - m->_21) / s};
  }
  *out = q;
  return out;
}

D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* q1,
                                    const D3DXQUATERNION* q2, float t) {
  float cosAngle = q1->x * q2->x + q1->y * q2->y + q1->z * q2->z + q1->w * q2->w;
  float sign = 1;
  if (cosAngle < 0) {  // -q2 is the same rotation, nearer q1
    cosAngle = -cosAngle;
    sign = -1;
  }
  float w1, w2;
  if (1 - cosAngle > kSlerpLinearThreshold) {
    const float angle = std::acos(std::fmin(cosAngle, 1.0f));
    const float sinAngle = std::sin(angle);
    w1 = std::sin((1 - t) * angle) / sinAngle;
    w2 = std::sin(t * angle) / sinAngle;
  } else {
    w1 = 1 - t;
    w2 = t;
  }
  w2 *= sign;
  *out = {w1 * q1->x + w2 * q2->x, w1 * q1->y + w2 * q2->y, w1 * q1->z + w2 * q2->z,
          w1 * q1->w + w2 * q2->w};
  return out;
}
