#pragma once
// Ray and point helpers behind dxDevice8::Pick.

#include "d3d8/D3DXMath.h"

// Ray-triangle test; both faces count, and so does a hit exactly on an edge.
// On a hit, t is the distance along dir in units of its length (negative
// behind the origin) and (u, v) the barycentric position.
bool IntersectTriangle(const float origin[3], const float dir[3], const float a[3],
                       const float b[3], const float c[3], float* t, float* u, float* v);

// One coordinate of the point (x, y, z, 1) times the matrix, as a row vector,
// without the division by w.
float TransformCoordX(const D3DXMATRIX& m, float x, float y, float z);
float TransformCoordY(const D3DXMATRIX& m, float x, float y, float z);
float TransformCoordZ(const D3DXMATRIX& m, float x, float y, float z);
