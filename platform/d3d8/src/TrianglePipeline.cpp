#include "TrianglePipeline.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "Rasterizer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace d3d8 {
namespace {

// A vertex in clip space with its texture coordinates.
struct ClipVertex {
  float x, y, z, w;
  float u, v;
};

// Clipping keeps 0 <= z <= w (near and far planes) and |x|, |y| <= kGuardBand
// w. The guard band lies well outside the screen, so only geometry that is
// off screen is cut there; it bounds screen positions for the rasteriser.
constexpr float kGuardBand = 3.0f;
constexpr int kPlaneCount = 6;

// Corners a polygon of n corners can have after one plane. Rounding can leave
// a clipped polygon that is not convex, so a plane may cut it more than once:
// each corner inside is kept and each change between inside and outside adds
// a crossing. Of k corners inside, at most min(k, n - k) runs are inside, each
// with two changes, so at most k + 2 min(k, n - k) <= 3n / 2 corners come out.
constexpr int CornersAfterPlane(int n) { return n * 3 / 2; }

constexpr int CornersAfterAllPlanes() {
  int n = 3;
  for (int plane = 0; plane < kPlaneCount; ++plane) n = CornersAfterPlane(n);
  return n;
}

constexpr int kMaxClippedCorners = CornersAfterAllPlanes();

float PlaneDistance(const ClipVertex& p, int plane) {
  switch (plane) {
    case 0:
      return p.z;
    case 1:
      return p.w - p.z;
    case 2:
      return kGuardBand * p.w - p.x;
    case 3:
      return kGuardBand * p.w + p.x;
    case 4:
      return kGuardBand * p.w - p.y;
    default:
      return kGuardBand * p.w + p.y;
  }
}

// Bit i set when the point is outside plane i (PlaneDistance not >= 0).
unsigned OutsideMask(const ClipVertex& p) {
  const float band = kGuardBand * p.w;
#if defined(__SSE2__)
  // The six distances in two registers, compared at once (NaN is outside).
  const __m128 first = _mm_setr_ps(p.z, p.w - p.z, band - p.x, band + p.x);
  const __m128 second = _mm_setr_ps(band - p.y, band + p.y, 0, 0);
  const __m128 zero = _mm_setzero_ps();
  return static_cast<unsigned>(_mm_movemask_ps(_mm_cmpnge_ps(first, zero)) |
                               _mm_movemask_ps(_mm_cmpnge_ps(second, zero)) << 4);
#else
  return static_cast<unsigned>(!(p.z >= 0)) | static_cast<unsigned>(!(p.w - p.z >= 0)) << 1 |
         static_cast<unsigned>(!(band - p.x >= 0)) << 2 |
         static_cast<unsigned>(!(band + p.x >= 0)) << 3 |
         static_cast<unsigned>(!(band - p.y >= 0)) << 4 |
         static_cast<unsigned>(!(band + p.y >= 0)) << 5;
#endif
}

ClipVertex Lerp(const ClipVertex& p, const ClipVertex& q, float t) {
  return ClipVertex{p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t,
                    p.w + (q.w - p.w) * t, p.u + (q.u - p.u) * t, p.v + (q.v - p.v) * t};
}

// The point where an edge leaves the plane, always computed from its inside
// end so that neighbouring triangles get the same point for a shared edge.
ClipVertex Crossing(const ClipVertex& inside, const ClipVertex& outside, int plane) {
  const float dIn = PlaneDistance(inside, plane), dOut = PlaneDistance(outside, plane);
  return Lerp(inside, outside, dIn / (dIn - dOut));
}

struct Polygon {
  ClipVertex corners[kMaxClippedCorners];
  int count = 0;
};

// Sutherland-Hodgman against every plane the triangle crosses, from one of
// the two polygons into the other and back; returns the one left.
const Polygon& ClipPolygon(Polygon& polygon, Polygon& spare, unsigned planes) {
  Polygon* from = &polygon;
  Polygon* to = &spare;
  for (int plane = 0; plane < kPlaneCount && from->count > 0; ++plane) {
    if (!(planes & (1u << plane))) continue;
    to->count = 0;
    for (int i = 0; i < from->count; ++i) {
      const ClipVertex& p = from->corners[i];
      const ClipVertex& q = from->corners[(i + 1) % from->count];
      const bool pIn = PlaneDistance(p, plane) >= 0, qIn = PlaneDistance(q, plane) >= 0;
      if (pIn) to->corners[to->count++] = p;
      if (pIn && !qIn) to->corners[to->count++] = Crossing(p, q, plane);
      if (!pIn && qIn) to->corners[to->count++] = Crossing(q, p, plane);
    }
    std::swap(from, to);
  }
  return *from;
}

// False when the segment lies wholly outside a plane.
bool ClipSegment(ClipVertex& a, ClipVertex& b) {
  float tIn = 0, tOut = 1;
  for (int plane = 0; plane < kPlaneCount; ++plane) {
    const float da = PlaneDistance(a, plane), db = PlaneDistance(b, plane);
    if (!(da >= 0) && !(db >= 0)) return false;
    if (da < 0) tIn = std::fmax(tIn, da / (da - db));
    if (db < 0) tOut = std::fmin(tOut, da / (da - db));
  }
  if (tIn > tOut) return false;
  const ClipVertex start = Lerp(a, b, tIn), end = Lerp(a, b, tOut);
  a = start;
  b = end;
  return true;
}

// False for a vertex that cannot be placed on the screen.
bool Project(const ClipVertex& p, const RenderTarget& target, ScreenVertex* out) {
  if (!(p.w > 0)) return false;
  const float invW = 1.0f / p.w;
  *out = ScreenVertex{(p.x * invW + 1.0f) * 0.5f * target.width,
                      (1.0f - p.y * invW) * 0.5f * target.height,
                      p.z * invW,
                      invW,
                      p.u * invW,
                      p.v * invW};
  return std::isfinite(out->x) & std::isfinite(out->y) & std::isfinite(out->z) &
         std::isfinite(out->uOverW) & std::isfinite(out->vOverW);
}

// Twice the signed screen area: positive when the corners run clockwise as
// seen on the screen (y grows downwards).
float ScreenArea(const ScreenVertex* corners, int count) {
  float area = 0;
  for (int i = 0; i < count; ++i) {
    const ScreenVertex& p = corners[i];
    const ScreenVertex& q = corners[i + 1 < count ? i + 1 : 0];
    area += p.x * q.y - q.x * p.y;
  }
  return area;
}

bool Culled(DWORD cullMode, float clockwiseArea) {
  switch (cullMode) {
    case D3DCULL_CW:
      return !(clockwiseArea < 0);
    case D3DCULL_CCW:
      return !(clockwiseArea > 0);
    default:
      return false;
  }
}

ClipVertex Transform(const D3DXMATRIX& m, const BYTE* vertex, const VertexLayout& layout) {
  float p[3];
  std::memcpy(p, vertex, sizeof p);
  float uv[2] = {0, 0};
  if (layout.hasTexCoords) std::memcpy(uv, vertex + layout.texCoordOffset, sizeof uv);
  for (float& t : uv) t = std::isfinite(t) ? t : 0.0f;
  return ClipVertex{p[0] * m._11 + p[1] * m._21 + p[2] * m._31 + m._41,
                    p[0] * m._12 + p[1] * m._22 + p[2] * m._32 + m._42,
                    p[0] * m._13 + p[1] * m._23 + p[2] * m._33 + m._43,
                    p[0] * m._14 + p[1] * m._24 + p[2] * m._34 + m._44,
                    uv[0],
                    uv[1]};
}

void DrawEdges(const Fragments& out, const ClipVertex (&corners)[3]) {
  for (int i = 0; i < 3; ++i) {
    ClipVertex a = corners[i], b = corners[(i + 1) % 3];
    ScreenVertex sa, sb;
    if (ClipSegment(a, b) && Project(a, out.target, &sa) && Project(b, out.target, &sb))
      DrawLine(out, sa, sb);
  }
}

// A vertex through the vertex stage: its clip-space position, the planes it
// is outside of, and where it lands on the screen when it needs no clipping.
struct StagedVertex {
  ClipVertex clip;
  unsigned outside;
  bool placed;  // inside every plane and projected
  ScreenVertex screen;
};

void Stage(const D3DXMATRIX& m, const BYTE* vertex, const VertexLayout& layout,
           const RenderTarget& target, StagedVertex& staged) {
  staged.clip = Transform(m, vertex, layout);
  staged.outside = OutsideMask(staged.clip);
  // Projected whether it is needed or not: no branch to mispredict.
  const bool projected = Project(staged.clip, target, &staged.screen);
  staged.placed = projected & (staged.outside == 0);
}

// One triangle; `reversed` marks the odd triangles of a strip, whose corner
// order runs against the strip's winding.
void DrawTriangle(const Fragments& out, const DrawSettings& settings, const StagedVertex* c,
                  bool reversed) {
  const unsigned outside0 = c[0].outside, outside1 = c[1].outside, outside2 = c[2].outside;
  if (outside0 & outside1 & outside2) return;  // wholly beyond one plane
  ScreenVertex screen[kMaxClippedCorners];
  int count = 3;
  if ((outside0 | outside1 | outside2) == 0) {  // nothing to clip
    if (!(c[0].placed & c[1].placed & c[2].placed)) return;
    for (int i = 0; i < 3; ++i) screen[i] = c[i].screen;
  } else {
    Polygon polygon, spare;
    for (int i = 0; i < 3; ++i) polygon.corners[polygon.count++] = c[i].clip;
    const Polygon& clipped = ClipPolygon(polygon, spare, outside0 | outside1 | outside2);
    if (clipped.count < 3) return;
    count = clipped.count;
    for (int i = 0; i < count; ++i)
      if (!Project(clipped.corners[i], out.target, &screen[i])) return;
  }
  const float area = ScreenArea(screen, count);
  if (Culled(settings.cullMode, reversed ? -area : area)) return;

  if (settings.wireframe) {
    const ClipVertex corners[3] = {c[0].clip, c[1].clip, c[2].clip};
    DrawEdges(out, corners);
    return;
  }
  for (int i = 1; i + 1 < count; ++i) FillTriangle(out, screen[0], screen[i], screen[i + 1]);
}

// Vertices staged at a time: the vertex stage runs over many vertices
// before their triangles are drawn, so that independent vertices overlap.
constexpr UINT kStagedVertices = 48;

}  // namespace

bool ParseVertexFormat(DWORD fvf, VertexLayout* layout) {
  constexpr DWORD kKnownBits = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE |
                               D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
  if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ || (fvf & ~kKnownBits)) return false;
  constexpr UINT kMaxTexCoordSets = 8;
  const UINT texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
  if (texCount > kMaxTexCoordSets) return false;
  UINT offset = 3 * sizeof(float);
  if (fvf & D3DFVF_NORMAL) offset += 3 * sizeof(float);
  if (fvf & D3DFVF_PSIZE) offset += sizeof(float);
  if (fvf & D3DFVF_DIFFUSE) offset += sizeof(DWORD);
  if (fvf & D3DFVF_SPECULAR) offset += sizeof(DWORD);
  layout->texCoordOffset = offset;
  layout->hasTexCoords = texCount > 0;
  layout->size = offset + texCount * 2 * sizeof(float);
  return true;
}

void TrianglePipeline::Draw(const RenderTarget& target, const DrawSettings& settings,
                            const BYTE* vertices, UINT stride, const VertexLayout& layout,
                            D3DPRIMITIVETYPE type, UINT primitiveCount) {
  const Fragments out{target, TexelSampler(settings.texture), settings.depthTest && target.depth};
  const bool strip = type == D3DPT_TRIANGLESTRIP;
  // Whole triangles at a time; each vertex is staged once for its chunk (a
  // strip's chunks share the two vertices at their seam, staged again alike).
  const UINT chunkTriangles = strip ? kStagedVertices - 2 : kStagedVertices / 3;
  StagedVertex staged[kStagedVertices];
  for (UINT first = 0; first < primitiveCount; first += chunkTriangles) {
    const UINT triangles = std::min(primitiveCount - first, chunkTriangles);
    const std::size_t firstVertex = strip ? first : std::size_t{first} * 3;
    const UINT count = strip ? triangles + 2 : triangles * 3;
    for (UINT k = 0; k < count; ++k)
      Stage(settings.transform, vertices + (firstVertex + k) * stride, layout, target, staged[k]);
    for (UINT t = 0; t < triangles; ++t) {
      const UINT i = first + t;
      DrawTriangle(out, settings, strip ? &staged[t] : &staged[3 * t], strip && (i % 2 == 1));
    }
  }
}

}  // namespace d3d8
