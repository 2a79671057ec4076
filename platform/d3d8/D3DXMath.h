#pragma once
// The D3DX 8.1 vector, quaternion and matrix helpers the editor uses. Matrices
// follow the device's row-vector convention: a point p becomes p x M, so in
// A x B the transform A applies first. Angles are in radians; rotations are
// left-handed (a positive angle turns Y toward Z about X, Z toward X about Y,
// X toward Y about Z). Each function returns its out pointer.

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "d3d8/Direct3D8.h"

struct D3DXVECTOR3 : public D3DVECTOR {
  D3DXVECTOR3() = default;
  D3DXVECTOR3(float vx, float vy, float vz) : D3DVECTOR{vx, vy, vz} {}
  explicit D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}

  D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const { return {x + v.x, y + v.y, z + v.z}; }
  D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const { return {x - v.x, y - v.y, z - v.z}; }
  D3DXVECTOR3 operator*(float s) const { return {x * s, y * s, z * s}; }
  bool operator==(const D3DXVECTOR3& v) const { return x == v.x && y == v.y && z == v.z; }
};
static_assert(sizeof(D3DXVECTOR3) == 12);

// x, y, z: the axis times sin(angle / 2); w: cos(angle / 2).
struct D3DXQUATERNION {
  float x, y, z, w;

  D3DXQUATERNION() = default;
  D3DXQUATERNION(float qx, float qy, float qz, float qw) : x(qx), y(qy), z(qz), w(qw) {}
  bool operator==(const D3DXQUATERNION& q) const {
    return x == q.x && y == q.y && z == q.z && w == q.w;
  }
};
static_assert(sizeof(D3DXQUATERNION) == 16);

struct D3DXMATRIX : public D3DMATRIX {
  D3DXMATRIX() = default;  // elements left as they are, like any plain record
  explicit D3DXMATRIX(const D3DMATRIX& m) : D3DMATRIX(m) {}
  D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
             float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44);

  D3DXMATRIX operator*(const D3DXMATRIX& m) const;  // D3DXMatrixMultiply(this, m)
  bool operator==(const D3DXMATRIX& m) const;
};
static_assert(sizeof(D3DXMATRIX) == 64);

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
// out = a x b; out may be a or b.
inline D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
  // Row r of the product is a(r, 0) x row 0 of b + ... + a(r, 3) x row 3 of b,
  // summed in that order: element by element the same sums as written out.
  float x[4][4], y[4][4], product[4][4];
  std::memcpy(x, static_cast<const D3DMATRIX*>(a), sizeof x);
  std::memcpy(y, static_cast<const D3DMATRIX*>(b), sizeof y);
#if defined(__SSE2__)
  const __m128 y0 = _mm_loadu_ps(y[0]), y1 = _mm_loadu_ps(y[1]);
  const __m128 y2 = _mm_loadu_ps(y[2]), y3 = _mm_loadu_ps(y[3]);
  for (int r = 0; r < 4; ++r) {
    __m128 sum = _mm_mul_ps(_mm_set1_ps(x[r][0]), y0);
    sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(x[r][1]), y1));
    sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(x[r][2]), y2));
    _mm_storeu_ps(product[r], _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(x[r][3]), y3)));
  }
#else
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      product[r][c] = x[r][0] * y[0][c] + x[r][1] * y[1][c] + x[r][2] * y[2][c] + x[r][3] * y[3][c];
#endif
  std::memcpy(static_cast<D3DMATRIX*>(out), product, sizeof product);
  return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle);
// Roll about Z, then pitch about X, then yaw about Y.
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll);
// The rotation of a unit quaternion.
D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q);
// Left-handed perspective: view-space depth zn maps to 0 and zf to 1; fovY is
// the vertical field of view, aspect the width over the height.
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zn, float zf);
// Left-handed view from eye looking at at: the eye goes to the origin and at
// onto +Z.
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
// Null (out untouched) when m is singular; determinant may be null.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m);

// The unit quaternion of the rotation part of m.
D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m);
// Spherical interpolation along the shorter arc: t 0 gives q1, t 1 gives q2
// (or -q2), and t outside 0..1 carries on along the same great circle.
D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* q1,
                                    const D3DXQUATERNION* q2, float t);
