#include "d3d/Device8.h"

namespace {

D3DCULL CullMode(DWORD flags) {
  D3DCULL cull = D3DCULL_NONE;
  if (flags & POLY_CULL_CW) cull = D3DCULL_CW;
  if (flags & POLY_CULL_CCW) cull = D3DCULL_CCW;
  return cull;
}

}  // namespace

HRESULT dxDevice8::Render(dxBufferColor8* buffer, int mode, DWORD group) {
  if (device == nullptr || buffer == nullptr) return E_FAIL;
  if (FAILED(device->SetStreamSource(0, buffer->GetVertexBuffer(), buffer->GetStride())))
    return E_FAIL;
  if (FAILED(device->SetVertexShader(buffer->GetFVF()))) return E_FAIL;
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  const D3DXMATRIX world = buffer->GetWorldMatrix();
  device->SetTransform(D3DTS_WORLD, &world);
  if (FAILED(device->BeginScene())) return E_FAIL;

  // Only what the vertex buffer holds is drawn: nothing before the first
  // upload, nor after a rebuild whose upload failed.
  UINT start = 0;
  const int count = buffer->GetUploadedPolygonCount();
  for (int i = 0; i < count; ++i) DrawPolygon(*buffer, i, mode, group, start);

  return FAILED(device->EndScene()) ? E_FAIL : S_OK;
}

// Sets the whole state block for polygon i and draws it when it belongs to
// the group; start moves past its vertices either way.
void dxDevice8::DrawPolygon(const dxBufferColor8& buffer, int i, int mode, DWORD group,
                            UINT& start) {
  const DWORD flags = buffer.GetPolygonFlags(i);
  device->SetRenderState(D3DRS_FILLMODE,
                         (flags & POLY_WIREFRAME) ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
  device->SetRenderState(D3DRS_CULLMODE, CullMode(flags));
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
  device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
  device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  device->SetTexture(0, (flags & POLY_TEXTURED) ? buffer.GetPolygonTexture(i) : nullptr);
  if (mode == RENDER_MODE_WIREFRAME) {
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
  }
  const bool quad = (flags & POLY_QUAD) != 0;
  if (buffer.GetPolygonGroup(i) == group) {
    if (quad)
      device->DrawPrimitive(D3DPT_TRIANGLESTRIP, start, 2);
    else
      device->DrawPrimitive(D3DPT_TRIANGLELIST, start, 1);
  }
  start += quad ? 4 : 3;
}
