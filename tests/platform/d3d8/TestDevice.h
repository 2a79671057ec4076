#pragma once
// A small headless device for the tests, with builders for the few things
// every drawing test needs: a camera, a texture, and a draw of some vertices
// with the states the editor sets.

#include <cstdint>
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

class TestDevice {
 public:
  TestDevice(int width, int height);
  ~TestDevice();
  TestDevice(const TestDevice&) = delete;
  TestDevice& operator=(const TestDevice&) = delete;

  IDirect3DDevice8* device() const { return device_; }
  d3d8::OffscreenWindow& window() { return window_; }
  int width() const { return window_.ClientWidth(); }
  int height() const { return window_.ClientHeight(); }

  // Eye (0, 0, 800) looking at the origin; near 1, far 3000, aspect 1, pi/4.
  void UseEditorCamera();
  // World, view and projection identity: x, y are the clip coordinates.
  void UseIdentityTransforms();

  // Clears colour to kClearColor and depth to 1.
  void Clear();
  // Uploads the vertices and draws them in a scene of their own; returns the
  // result of DrawPrimitive.
  HRESULT Draw(const std::vector<TexVertex>& vertices, const DrawOptions& options = {});

  // A managed A8R8G8B8 texture of the given texels (rows top first), owned by
  // this object.
  IDirect3DTexture8* MakeTexture(int width, int height, const std::vector<std::uint32_t>& texels);

  d3d8::PixelImage Pixels() const { return d3d8::ReadColorBuffer(device_); }

  // Clip-space x, y of a screen position under identity transforms.
  float ClipX(float screenX) const { return 2.0f * screenX / width() - 1.0f; }
  float ClipY(float screenY) const { return 1.0f - 2.0f * screenY / height(); }
  // A vertex at a screen position and depth, for identity transforms.
  TexVertex AtScreen(float x, float y, float z = 0.5f, float u = 0, float v = 0) const {
    return TexVertex{ClipX(x), ClipY(y), z, u, v};
  }

 private:
  d3d8::OffscreenWindow window_;
  IDirect3D8* d3d_ = nullptr;
  IDirect3DDevice8* device_ = nullptr;
  std::vector<IDirect3DTexture8*> textures_;
};

// Windowed present parameters with a 16-bit depth buffer, as the editor asks.
D3DPRESENT_PARAMETERS EditorPresentParameters();

// Pixels of an image equal to a colour.
int CountPixels(const d3d8::PixelImage& image, std::uint32_t color);

}  // namespace d3d8test
