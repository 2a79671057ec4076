#include <cstdint>

#include "SoftDevice.h"
#include "SoftTexture.h"
#include "SoftVertexBuffer.h"

namespace d3d8 {

HRESULT SoftDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
  if (!inScene_) return D3DERR_INVALIDCALL;
  if (type != D3DPT_TRIANGLELIST && type != D3DPT_TRIANGLESTRIP) return D3DERR_INVALIDCALL;
  const VertexLayout& layout = layout_;
  if (!stream_ || stream_->Locked() || fvf_ == 0) return D3DERR_INVALIDCALL;
  if (streamStride_ < layout.size) return D3DERR_INVALIDCALL;
  if (primitiveCount == 0) return S_OK;

  // The last vertex read must end inside the buffer.
  const std::uint64_t vertexCount = type == D3DPT_TRIANGLELIST
                                        ? std::uint64_t{primitiveCount} * 3
                                        : std::uint64_t{primitiveCount} + 2;
  const std::uint64_t end =
      (std::uint64_t{startVertex} + vertexCount - 1) * streamStride_ + layout.size;
  if (end > stream_->Length()) return D3DERR_INVALIDCALL;

  DrawSettings settings;
  settings.transform = CombinedTransform();
  settings.texture = stage0Texture_ ? stage0Texture_->Texels() : TexelImage{};
  settings.depthTest = !depth_.empty() && renderStates_[D3DRS_ZENABLE] != D3DZB_FALSE;
  settings.wireframe = renderStates_[D3DRS_FILLMODE] == D3DFILL_WIREFRAME;
  settings.cullMode = renderStates_[D3DRS_CULLMODE];
  pipeline_.Draw(Target(), settings, stream_->Data() + std::uint64_t{startVertex} * streamStride_,
                 streamStride_, layout, type, primitiveCount);

  ++stats_.draws;
  if (drawSink_)
    drawSink_->push_back(DrawRecord{type, startVertex, primitiveCount,
                                    renderStates_[D3DRS_FILLMODE], settings.cullMode,
                                    textures_[0]});
  return S_OK;
}

}  // namespace d3d8
