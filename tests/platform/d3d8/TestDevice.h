#pragma once
// A small headless device for the tests: a camera, textures, and draws of
// some vertices with the states the editor sets, each in a scene of its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "d3d8/D3DXMath.h"
#include "d3d8/Headless.h"

namespace d3d8test {

constexpr std::uint32_t kClearColor = 0xFF00FFFFu;  // the editor's cyan
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

// x, y, z, u, v: the editor's textured vertex (format XYZ | TEX1).
struct TexVertex {
  float x, y, z, u, v;
};
constexpr DWORD kTexVertexFormat = D3DFVF_XYZ | D3DFVF_TEX1;

struct DrawOptions {
  D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
  DWORD cull = D3DCULL_NONE;
  DWORD fill = D3DFILL_SOLID;
  IDirect3DTexture8* texture = nullptr;
};

// Windowed present parameters with a 16-bit depth buffer, as the editor asks.
inline D3DPRESENT_PARAMETERS EditorPresentParameters() {
  D3DPRESENT_PARAMETERS params{};
  params.BackBufferFormat = D3DFMT_X8R8G8B8;
  params.BackBufferCount = 1;
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params.Windowed = params.EnableAutoDepthStencil = TRUE;
  params.AutoDepthStencilFormat = D3DFMT_D16;
  return params;
}

inline int CountPixels(const d3d8::PixelImage& image, std::uint32_t color) {
  return static_cast<int>(std::count(image.pixels.begin(), image.pixels.end(), color));
}

// A vertex buffer holding these vertices, unlocked unless asked otherwise.
inline IDirect3DVertexBuffer8* MakeVertexBuffer(IDirect3DDevice8* device,
                                                const std::vector<TexVertex>& vertices, bool unlock = true) {
  const UINT bytes = static_cast<UINT>(vertices.size() * sizeof(TexVertex));
  IDirect3DVertexBuffer8* buffer = nullptr;
  EXPECT_EQ(device->CreateVertexBuffer(bytes, 0, kTexVertexFormat, D3DPOOL_MANAGED, &buffer), S_OK);
  BYTE* data = nullptr;
  if (buffer && SUCCEEDED(buffer->Lock(0, 0, &data, 0))) std::memcpy(data, vertices.data(), bytes);
  if (buffer && unlock) buffer->Unlock();
  return buffer;
}

class TestDevice {
 public:
  // With editorCamera, eye (0, 0, 800) looks at the origin (near 1, far 3000,
  // aspect 1, pi/4); otherwise all transforms are identity, so that x, y are
  // clip coordinates.
  TestDevice(int width, int height, bool editorCamera = false) : window_(width, height) {
    d3d_ = Direct3DCreate8(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS params = EditorPresentParameters();
    if (d3d_)
      d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &window_, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                         &params, &device_);
    EXPECT_NE(device_, nullptr);
    if (!device_) return;
    D3DXMATRIX world, view, projection;
    view = projection = *D3DXMatrixIdentity(&world);
    if (editorCamera) {
      const D3DXVECTOR3 eye(0, 0, 800), at(0, 0, 0), up(0, 1, 0);
      D3DXMatrixLookAtLH(&view, &eye, &at, &up);
      D3DXMatrixPerspectiveFovLH(&projection, std::numbers::pi_v<float> / 4, 1.0f, 1.0f, 3000.0f);
    }
    device_->SetTransform(D3DTS_WORLD, &world);
    device_->SetTransform(D3DTS_VIEW, &view);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
  }
  ~TestDevice() {
    for (IDirect3DTexture8* texture : textures_) texture->Release();
    if (device_) device_->Release();
    if (d3d_) d3d_->Release();
  }
  TestDevice(const TestDevice&) = delete;
  TestDevice& operator=(const TestDevice&) = delete;

  IDirect3DDevice8* device() const { return device_; }
  d3d8::OffscreenWindow& window() { return window_; }
  d3d8::PixelImage Pixels() const { return d3d8::ReadColorBuffer(device_); }
  d3d8::DepthImage Depths() const { return d3d8::ReadDepthBuffer(device_); }

  // Clears colour to kClearColor and depth to 1.
  void Clear() { device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColor, 1.0f, 0); }

  // Uploads the vertices and draws them in a scene; returns DrawPrimitive's result.
  HRESULT Draw(const std::vector<TexVertex>& vertices, DrawOptions options = {}) {
    IDirect3DVertexBuffer8* buffer = MakeVertexBuffer(device_, vertices);
    if (!buffer) return E_FAIL;
    const bool strip = options.type == D3DPT_TRIANGLESTRIP;
    device_->SetStreamSource(0, buffer, sizeof(TexVertex));
    device_->SetVertexShader(kTexVertexFormat);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device_->SetRenderState(D3DRS_FILLMODE, options.fill);
    device_->SetRenderState(D3DRS_CULLMODE, options.cull);
    device_->SetTexture(0, options.texture);
    device_->BeginScene();
    const HRESULT result =
        device_->DrawPrimitive(options.type, 0, static_cast<UINT>(strip ? vertices.size() - 2 : vertices.size() / 3));
    device_->EndScene();
    device_->SetStreamSource(0, nullptr, 0);
    device_->SetTexture(0, nullptr);
    buffer->Release();
    return result;
  }
  HRESULT DrawStrip(const std::vector<TexVertex>& vertices, DrawOptions options = {}) {
    options.type = D3DPT_TRIANGLESTRIP;
    return Draw(vertices, options);
  }

  // A managed A8R8G8B8 texture of the given texels (rows top first), owned here.
  IDirect3DTexture8* MakeTexture(int width, int height, const std::vector<std::uint32_t>& texels) {
    IDirect3DTexture8* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), S_OK);
    D3DLOCKED_RECT locked;
    if (!texture) return nullptr;
    textures_.push_back(texture);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    for (int y = 0; y < height; ++y)
      std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &texels[y * width], width * 4);
    texture->UnlockRect(0);
    return texture;
  }

  // Under identity transforms: a vertex at a screen position, and a strip
  // quad (top-left, top-right, bottom-left, bottom-right) over a screen box.
  TexVertex AtScreen(float x, float y, float z = 0.5f, float u = 0, float v = 0) const {
    return TexVertex{2.0f * x / window_.ClientWidth() - 1.0f, 1.0f - 2.0f * y / window_.ClientHeight(), z, u, v};
  }
  std::vector<TexVertex> Quad(float x0, float y0, float x1, float y1, float z = 0.5f, float u0 = 0,
                              float v0 = 0, float u1 = 1, float v1 = 1) const {
    return {AtScreen(x0, y0, z, u0, v0), AtScreen(x1, y0, z, u1, v0), AtScreen(x0, y1, z, u0, v1),
            AtScreen(x1, y1, z, u1, v1)};
  }

 private:
  d3d8::OffscreenWindow window_;
  IDirect3D8* d3d_ = nullptr;
  IDirect3DDevice8* device_ = nullptr;
  std::vector<IDirect3DTexture8*> textures_;
};

}  // namespace d3d8test
