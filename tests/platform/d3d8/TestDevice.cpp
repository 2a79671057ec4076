#include "TestDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

namespace d3d8test {

D3DPRESENT_PARAMETERS EditorPresentParameters() {
  D3DPRESENT_PARAMETERS params{};
  params.BackBufferFormat = D3DFMT_X8R8G8B8;
  params.BackBufferCount = 1;
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params.Windowed = TRUE;
  params.EnableAutoDepthStencil = TRUE;
  params.AutoDepthStencilFormat = D3DFMT_D16;
  return params;
}

TestDevice::TestDevice(int width, int height) : window_(width, height) {
  d3d_ = Direct3DCreate8(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS params = EditorPresentParameters();
  if (d3d_)
    d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window_,
                       D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device_);
  EXPECT_NE(device_, nullptr);
}

TestDevice::~TestDevice() {
  for (IDirect3DTexture8* texture : textures_) texture->Release();
  if (device_) device_->Release();
  if (d3d_) d3d_->Release();
}

void TestDevice::UseEditorCamera() {
  D3DXMATRIX world, view, projection;
  D3DXMatrixIdentity(&world);
  const D3DXVECTOR3 eye(0, 0, 800), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&projection, std::numbers::pi_v<float> / 4, 1.0f, 1.0f, 3000.0f);
  device_->SetTransform(D3DTS_WORLD, &world);
  device_->SetTransform(D3DTS_VIEW, &view);
  device_->SetTransform(D3DTS_PROJECTION, &projection);
}

void TestDevice::UseIdentityTransforms() {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  device_->SetTransform(D3DTS_WORLD, &identity);
  device_->SetTransform(D3DTS_VIEW, &identity);
  device_->SetTransform(D3DTS_PROJECTION, &identity);
}

void TestDevice::Clear() {
  device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColor, 1.0f, 0);
}

HRESULT TestDevice::Draw(const std::vector<TexVertex>& vertices, const DrawOptions& options) {
  const UINT bytes = static_cast<UINT>(vertices.size() * sizeof(TexVertex));
  IDirect3DVertexBuffer8* buffer = nullptr;
  EXPECT_EQ(device_->CreateVertexBuffer(bytes, 0, kTexVertexFormat, D3DPOOL_MANAGED, &buffer), S_OK);
  if (!buffer) return E_FAIL;
  BYTE* data = nullptr;
  EXPECT_EQ(buffer->Lock(0, bytes, &data, 0), S_OK);
  std::memcpy(data, vertices.data(), bytes);
  buffer->Unlock();

  const UINT perPrimitive = options.type == D3DPT_TRIANGLESTRIP ? 1 : 3;
  const UINT count = options.type == D3DPT_TRIANGLESTRIP
                         ? static_cast<UINT>(vertices.size()) - 2
                         : static_cast<UINT>(vertices.size()) / perPrimitive;
  device_->SetStreamSource(0, buffer, sizeof(TexVertex));
  device_->SetVertexShader(kTexVertexFormat);
  device_->SetRenderState(D3DRS_LIGHTING, FALSE);
  device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device_->SetRenderState(D3DRS_FILLMODE, options.fill);
  device_->SetRenderState(D3DRS_CULLMODE, options.cull);
  device_->SetTexture(0, options.texture);
  device_->BeginScene();
  const HRESULT result = device_->DrawPrimitive(options.type, 0, count);
  device_->EndScene();
  device_->SetStreamSource(0, nullptr, 0);
  device_->SetTexture(0, nullptr);
  buffer->Release();
  return result;
}

IDirect3DTexture8* TestDevice::MakeTexture(int width, int height,
                                           const std::vector<std::uint32_t>& texels) {
  IDirect3DTexture8* texture = nullptr;
  EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
            S_OK);
  if (!texture) return nullptr;
  D3DLOCKED_RECT locked;
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
  for (int y = 0; y < height; ++y)
    std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &texels[y * width], width * 4);
  texture->UnlockRect(0);
  textures_.push_back(texture);
  return texture;
}

int CountPixels(const d3d8::PixelImage& image, std::uint32_t color) {
  int count = 0;
  for (std::uint32_t pixel : image.pixels) count += pixel == color;
  return count;
}

}  // namespace d3d8test
