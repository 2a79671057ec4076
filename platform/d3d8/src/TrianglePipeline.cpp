#include "TrianglePipeline.h"

namespace d3d8 {

bool ParseVertexFormat(DWORD fvf, VertexLayout* layout) {
  constexpr DWORD kKnownBits = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE |
                               D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
  if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ || (fvf & ~kKnownBits)) return false;
  const UINT texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
  if (texCount > 8) return false;
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

void TrianglePipeline::Draw(const RenderTarget&, const DrawSettings&, const BYTE*, UINT,
                            const VertexLayout&, D3DPRIMITIVETYPE, UINT) {}

}  // namespace d3d8
