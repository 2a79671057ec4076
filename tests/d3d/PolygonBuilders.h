#pragma once
// Polygons for buffer, drawing and picking tests.

#include "d3d/Polygons.h"

namespace testpoly {

// A polygon whose corner k is (base + 3k, base + 3k + 1, base + 3k + 2).
template <typename Polygon>
Polygon* Numbered(float base, DWORD flags = 0, DWORD group = 0) {
  auto* p = new Polygon(flags, group);
  for (int k = 0; k < p->GetVertexCount(); ++k)
    p->AddVertex(base + 3.0f * k, base + 3.0f * k + 1, base + 3.0f * k + 2);
  return p;
}

// An axis-aligned rectangle facing -Z at depth z, from (x0, y0) to (x1, y1),
// corners in strip order: top-left, bottom-left, top-right, bottom-right.
inline dxCuadradoTex* Rectangle(float x0, float y0, float x1, float y1, float z, DWORD flags = 0,
                                DWORD group = 0) {
  auto* q = new dxCuadradoTex(flags, group);
  q->AddVertex(x0, y1, z);
  q->AddVertex(x0, y0, z);
  q->AddVertex(x1, y1, z);
  q->AddVertex(x1, y0, z);
  return q;
}

}  // namespace testpoly
