#include "d3d/Picking.h"

namespace {

// Below this determinant the ray runs along the triangle's plane or the
// triangle has no area.
constexpr float kSmallestDeterminant = 0.0001f;

struct Vec {
  float x, y, z;
};

Vec Load(const float p[3]) { return Vec{p[0], p[1], p[2]}; }
Vec operator-(Vec a, Vec b) { return Vec{a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) {
  return Vec{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

bool IntersectTriangle(const float origin[3], const float dir[3], const float a[3],
                       const float b[3], const float c[3], float* t, float* u, float* v) {
  const Vec o = Load(origin), d = Load(dir), p0 = Load(a);
  const Vec e1 = Load(b) - p0;
  const Vec e2 = Load(c) - p0;
  const Vec p = Cross(d, e2);
  float det = Dot(e1, p);
  Vec toOrigin = o - p0;
  if (det <= 0.0f) {  // seen from the back: mirror so det is positive
    toOrigin = p0 - o;
    det = -det;
  }
  if (det < kSmallestDeterminant) return false;
  const float hitU = Dot(toOrigin, p);
  if (hitU < 0.0f || hitU > det) return false;
  const Vec q = Cross(toOrigin, e1);
  const float hitV = Dot(d, q);
  if (hitV < 0.0f || hitU + hitV > det) return false;
  const float inverse = 1.0f / det;
  *t = Dot(e2, q) * inverse;
  *u = hitU * inverse;
  *v = hitV * inverse;
  return true;
}

float TransformCoordX(const D3DXMATRIX& m, float x, float y, float z) {
  return x * m._11 + y * m._21 + z * m._31 + m._41;
}

float TransformCoordY(const D3DXMATRIX& m, float x, float y, float z) {
  return x * m._12 + y * m._22 + z * m._32 + m._42;
}

float TransformCoordZ(const D3DXMATRIX& m, float x, float y, float z) {
  return x * m._13 + y * m._23 + z * m._33 + m._43;
}
