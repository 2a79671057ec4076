#pragma once
// The two vertex layouts that polygons store and polygon buffers upload, and
// the polygon flag word that tells the renderer how to draw a polygon.

#include "d3d8/Direct3D8.h"

// Untextured vertex: position and a 32-bit ARGB colour.
struct dxVertexColor8 {
  float x, y, z;
  DWORD color;
};
static_assert(sizeof(dxVertexColor8) == 16);

// Textured vertex: position and texture coordinates.
struct dxVertexTextura {
  float x, y, z;
  float u, v;
};
static_assert(sizeof(dxVertexTextura) == 20);

constexpr DWORD FVF_VERTEX_COLOR8 = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr DWORD FVF_VERTEX_TEXTURA = D3DFVF_XYZ | D3DFVF_TEX1;
static_assert(FVF_VERTEX_COLOR8 == 0x42);
static_assert(FVF_VERTEX_TEXTURA == 0x102);

// Polygon flags; bits combine. A buffer adds POLY_QUAD and POLY_TEXTURED to
// its built copy of the flags; callers choose the others.
constexpr DWORD POLY_QUAD = 1;       // four vertices, drawn as a two-triangle strip
constexpr DWORD POLY_WIREFRAME = 2;  // wireframe fill, else solid
constexpr DWORD POLY_CULL_CW = 4;    // cull clockwise faces
constexpr DWORD POLY_CULL_CCW = 8;   // cull counter-clockwise faces; wins over CW
constexpr DWORD POLY_TEXTURED = 16;  // draw with the polygon's texture
