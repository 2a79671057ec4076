#include "d3d/Polygons.h"

HRESULT dxTrianguloTex::SetTexture(IDirect3DTexture8* newTexture, float u0, float v0, float u1,
                                   float v1, float u2, float v2) {
  if (newTexture == nullptr) return E_FAIL;
  texture = newTexture;
  const float uv[3][2] = {{u0, v0}, {u1, v1}, {u2, v2}};
  for (int i = 0; i < 3; ++i) {
    texVertices[i].u = uv[i][0];
    texVertices[i].v = uv[i][1];
  }
  return S_OK;
}

HRESULT dxCuadradoTex::SetTexture(IDirect3DTexture8* newTexture, float u0, float v0, float u1,
                                  float v1, float u2, float v2, float u3, float v3) {
  if (newTexture == nullptr) return E_FAIL;
  texture = newTexture;
  const float uv[4][2] = {{u0, v0}, {u1, v1}, {u2, v2}, {u3, v3}};
  for (int i = 0; i < 4; ++i) {
    texVertices[i].u = uv[i][0];
    texVertices[i].v = uv[i][1];
  }
  return S_OK;
}

HRESULT dxCuadradoTex::SetTextureRect(IDirect3DTexture8* newTexture, int x, int y, int w, int h) {
  if (newTexture == nullptr) return E_FAIL;
  D3DSURFACE_DESC desc{};
  if (FAILED(newTexture->GetLevelDesc(0, &desc)) || desc.Width == 0 || desc.Height == 0)
    return E_FAIL;
  const int width = static_cast<int>(desc.Width);
  const int height = static_cast<int>(desc.Height);
  const float left = TexelToU(x, width);
  const float right = TexelToU(x + w, width);
  const float top = TexelToV(y, height);
  const float bottom = TexelToV(y + h, height);
  return SetTexture(newTexture, left, top, left, bottom, right, top, right, bottom);
}

float dxCuadradoTex::TexelToU(int texel, int size) {
  return size == 0 ? 0.0f : static_cast<float>(texel * 1.0 / size);
}

float dxCuadradoTex::TexelToV(int texel, int size) { return TexelToU(texel, size); }
