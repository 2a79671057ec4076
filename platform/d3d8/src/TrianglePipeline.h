#pragma once
// From vertices in a vertex buffer to pixels: transform to clip space, clip,
// project, cull, and rasterise solid or as wireframe.

#include <cstdint>
#include <vector>

#include "SoftTexture.h"
#include "TouchedArea.h"
#include "d3d8/D3DXMath.h"

namespace d3d8 {

struct RenderTarget {
  std::uint32_t* color;  // width x height, rows packed
  std::uint16_t* depth;  // null without a depth buffer
  int width;
  int height;
  // Every writer adds what it may have changed.
  TouchedArea* colorTouched;
  TouchedArea* depthTouched;
};

// Where a flexible vertex format puts what the pipeline reads.
struct VertexLayout {
  UINT size;  // bytes of one vertex
  UINT texCoordOffset;
  bool hasTexCoords;
};

// False for a format the device cannot draw (no plain XYZ position).
bool ParseVertexFormat(DWORD fvf, VertexLayout* layout);

struct DrawSettings {
  D3DXMATRIX transform;  // world x view x projection
  TexelImage texture;    // texels null: untextured, drawn white
  bool depthTest;        // less-or-equal test and depth write
  bool wireframe;
  DWORD cullMode;
};

class TrianglePipeline {
 public:
  // Draws primitiveCount triangles of a list or strip whose first vertex is at
  // `vertices`, consecutive vertices `stride` bytes apart.
  void Draw(const RenderTarget& target, const DrawSettings& settings, const BYTE* vertices,
            UINT stride, const VertexLayout& layout, D3DPRIMITIVETYPE type, UINT primitiveCount);
};

}  // namespace d3d8
