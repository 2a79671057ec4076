#pragma once
// A device wrapper drawing into an offscreen window, with the editor's camera:
// eye (0, 0, 800) looking at the origin, near 1, far 3000, a quarter-pi field
// of view. Looking down -Z, world +X shows on the left of the picture.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

#include "d3d/Direct3DMain.h"
#include "d3d8/Headless.h"

constexpr float kEyeZ = 800.0f;
constexpr DWORD kClearColor = 0xFF00FFFF;  // what SetClearColor(0, 255, 255) clears to

class HeadlessDevice {
 public:
  explicit HeadlessDevice(int width = 64, int height = 64) : window(width, height) {
    EXPECT_EQ(main.CreateD3D(), S_OK);
    dxDevice8* created = nullptr;
    EXPECT_EQ(main.CreateDevice(&window, true, &created, D3DCREATE_HARDWARE_VERTEXPROCESSING),
              S_OK);
    wrapper.reset(created);
    if (!wrapper) return;
    wrapper->SetProjection(1.0f, 3000.0f, static_cast<float>(width) / static_cast<float>(height),
                           std::numbers::pi_v<float> / 4, width, height);
    wrapper->SetClearColor(0, 255, 255);
    wrapper->SetEye(0.0f, 0.0f, kEyeZ);
    wrapper->SetLookAt(0.0f, 0.0f, 0.0f);
  }

  dxDevice8& operator*() { return *wrapper; }
  dxDevice8* operator->() { return wrapper.get(); }
  int Width() const { return window.ClientWidth(); }
  int Height() const { return window.ClientHeight(); }

  // What the back buffer holds now.
  d3d8::PixelImage Pixels() { return d3d8::ReadColorBuffer(wrapper->GetDevice()); }
  d3d8::DepthImage Depths() { return d3d8::ReadDepthBuffer(wrapper->GetDevice()); }

  // A texture of one colour, made through the wrapper.
  IDirect3DTexture8* SolidTexture(DWORD argb, UINT size = 4) {
    std::vector<std::uint32_t> pixels(size * size, argb);
    return wrapper->CreateTextureFromPixels(size, size, D3DFMT_A8R8G8B8, pixels.data());
  }

  d3d8::OffscreenWindow window;
  dxMain main;
  std::unique_ptr<dxDevice8> wrapper;
};

// Releases a texture at the end of a test.
struct TextureReleaser {
  void operator()(IDirect3DTexture8* t) const {
    if (t != nullptr) t->Release();
  }
};
using OwnedTexture = std::unique_ptr<IDirect3DTexture8, TextureReleaser>;
