#include "scene/PoseMath.h"

#include <cstring>

float DegToRad(float d) { return d * kPi * 2.0f / 360.0f; }

D3DXMATRIX ToD3DX(const Matrix4& m) {
  static_assert(sizeof(Matrix4) == sizeof(D3DXMATRIX));
  D3DXMATRIX out;
  std::memcpy(&out, &m, sizeof out);
  return out;
}

Matrix4 ToMatrix4(const D3DXMATRIX& m) {
  Matrix4 out;
  std::memcpy(&out, &m, sizeof out);
  return out;
}

D3DXMATRIX LocalRotation(const std::array<float, 3>& angles) {
  D3DXMATRIX r;
  D3DXMatrixRotationYawPitchRoll(&r, DegToRad(angles[1]), DegToRad(-angles[0]),
                                 DegToRad(-angles[2]));
  return r;
}

D3DXMATRIX PlainRotation(const std::array<float, 3>& angles) {
  D3DXMATRIX r;
  D3DXMatrixRotationYawPitchRoll(&r, DegToRad(angles[1]), DegToRad(angles[0]),
                                 DegToRad(angles[2]));
  return r;
}
