#pragma once
// Angle and matrix helpers of the moveable poses.
//
// Mesh angles are whole degrees about X, Y and Z. A mesh's local rotation is
// the yaw-pitch-roll rotation of (y, -x, -z), its plain rotation that of
// (y, x, z). Matrices use row vectors: in A x B, A applies first.

#include <array>

#include "d3d8/D3DXMath.h"
#include "model/AnimationModel.h"

// The single-precision pi of the angle conversions.
constexpr float kPi = 3.1415927f;

// Degrees to radians: d x pi x 2 / 360.
float DegToRad(float d);

D3DXMATRIX ToD3DX(const Matrix4& m);
Matrix4 ToMatrix4(const D3DXMATRIX& m);

D3DXMATRIX LocalRotation(const std::array<float, 3>& angles);
D3DXMATRIX PlainRotation(const std::array<float, 3>& angles);
