#pragma once
// Angle and matrix helpers of the moveable poses.
//
// Mesh angles are whole degrees about X, Y and Z. A mesh's local rotation is
// the yaw-pitch-roll rotation of (y, -x, -z), its plain rotation that of
// (y, x, z). Matrices use row vectors: in A x B, A applies first.

#include <array>
#include <cstring>

#include "d3d8/D3DXMath.h"
#include "model/AnimationModel.h"

// The single-precision pi of the angle conversions.
constexpr float kPi = 3.1415927f;

// Degrees to radians: d x pi x 2 / 360.
float DegToRad(float d);

inline D3DXMATRIX ToD3DX(const Matrix4& m) {
  static_assert(sizeof(Matrix4) == sizeof(D3DXMATRIX));
  D3DXMATRIX out;
  std::memcpy(static_cast<D3DMATRIX*>(&out), &m, sizeof out);
  return out;
}

inline Matrix4 ToMatrix4(const D3DXMATRIX& m) {
  Matrix4 out;
  std::memcpy(&out, static_cast<const D3DMATRIX*>(&m), sizeof out);
  return out;
}

// D3DXMatrixRotationYawPitchRoll of the angles converted with DegToRad, the
// same values without its three matrices and two products.
D3DXMATRIX YawPitchRollDegrees(float yaw, float pitch, float roll);

D3DXMATRIX LocalRotation(const std::array<float, 3>& angles);
D3DXMATRIX PlainRotation(const std::array<float, 3>& angles);
// Both rotations of one mesh's angles at once, into the pose's matrices.
void MeshRotations(const std::array<float, 3>& angles, Matrix4& local, Matrix4& plain);
