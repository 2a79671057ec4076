#pragma once
// Turning a rotation matrix back into the whole-degree angles that keyframes
// store. The matrix convention is D3DXMatrixRotationYawPitchRoll's (yaw about
// Y, pitch about X, roll about Z; row vectors).

#include <cstdint>

#include "d3d8/D3DXMath.h"

// The nearest integer, halves rounded upwards for either sign (2.5 gives 3,
// -2.5 gives -2). NaN gives 0; values beyond the 32-bit range give its ends.
std::int32_t RoundToInt(float a);

// d + 360 when d is negative (once), then 360 becomes 0.
std::int32_t WrapDegrees(std::int32_t d);

// The pitch x, yaw y and roll z of a rotation matrix, in whole degrees from
// 0 to 359, such that the yaw-pitch-roll matrix of (y, x, z) is m. At a pitch
// of plus or minus 90 degrees, where yaw and roll turn about the same axis,
// the whole turn goes to the yaw and the roll is 0.
void MatrixToEuler(D3DXMATRIX m, std::int32_t& x, std::int32_t& y, std::int32_t& z);
