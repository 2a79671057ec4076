#pragma once
// Shared pieces of the Direct3D layer tests: a wrapper drawing offscreen with
// the editor's camera, a texture of any size, and polygons.

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <type_traits>
#include <vector>

#include "d3d/Direct3DMain.h"
#include "d3d8/Headless.h"

// The camera: eye (0, 0, 800) looking at the origin, near 1, far 3000, a
// quarter-pi field of view. Looking down -Z, world +X shows on the left.
constexpr float kEyeZ = 800.0f;
// Only the low 8 bits of each clear component count: (256, 511, 511) is cyan.
constexpr DWORD kClearColor = 0xFF00FFFF;

struct TextureReleaser {
  void operator()(IDirect3DTexture8* t) const { t->Release(); }
};
using OwnedTexture = std::unique_ptr<IDirect3DTexture8, TextureReleaser>;

struct HeadlessDevice {
  explicit HeadlessDevice(int size = 64) : window(size, size) {
    EXPECT_EQ(main.CreateD3D(), S_OK);
    dxDevice8* created = nullptr;
    EXPECT_EQ(main.CreateDevice(&window, true, &created, 0), S_OK);
    wrapper.reset(created);
    wrapper->SetProjection(1.0f, 3000.0f, 1.0f, std::numbers::pi_v<float> / 4, size, size);
    wrapper->SetClearColor(256, 511, 511);
    wrapper->SetEye(0.0f, 0.0f, kEyeZ);
    wrapper->SetLookAt(0.0f, 0.0f, 0.0f);
    d3d8::RecordDraws(wrapper->GetDevice(), &draws);
  }
  dxDevice8* operator->() { return wrapper.get(); }
  d3d8::PixelImage Pixels() { return d3d8::ReadColorBuffer(wrapper->GetDevice()); }
  // The buffer picked under pixel (x, y), null when Pick reports no hit.
  dxBufferColor8* PickAt(int x, int y, std::vector<dxBufferColor8*> list, int* polygon = nullptr) {
    const int size = window.ClientWidth();
    dxBufferColor8* picked = nullptr;
    if (!wrapper->Pick(x, y, &window, size, size, static_cast<int>(list.size()), list.data()))
      return nullptr;
    const int index = wrapper->GetPickResult(&picked);
    if (polygon != nullptr) *polygon = index;
    return picked;
  }

  std::vector<d3d8::DrawRecord> draws;  // every draw; outlives the device
  d3d8::OffscreenWindow window;
  dxMain main;
  std::unique_ptr<dxDevice8> wrapper;
};

// A texture of 4-byte texels whose size can be made unreadable.
struct FakeTexture : IDirect3DTexture8 {
  FakeTexture(UINT width, UINT height, bool describes = true)
      : width(width), height(height), describes(describes), texels(width * height * 4) {}
  DWORD AddRef() override { return ++references; }
  DWORD Release() override { return --references; }
  DWORD GetLevelCount() override { return 1; }
  HRESULT GetLevelDesc(UINT, D3DSURFACE_DESC* desc) override {
    *desc = D3DSURFACE_DESC{};
    desc->Width = width, desc->Height = height;
    return describes ? S_OK : D3DERR_INVALIDCALL;
  }
  HRESULT LockRect(UINT, D3DLOCKED_RECT* locked, const RECT*, DWORD) override {
    *locked = D3DLOCKED_RECT{static_cast<INT>(width * 4), texels.data()};
    return S_OK;
  }
  HRESULT UnlockRect(UINT) override { return S_OK; }
  UINT width, height;
  bool describes;
  std::vector<unsigned char> texels;
  DWORD references = 1;  // the creator's own
};

namespace testpoly {

using Corner = std::array<float, 3>;

// A polygon whose corner k is (base + 3k, base + 3k + 1, base + 3k + 2),
// mapping the texture, if any, with coordinates 0.
template <typename Polygon>
Polygon* Numbered(float base, DWORD flags = 0, DWORD group = 0,
                  IDirect3DTexture8* texture = nullptr) {
  auto* p = new Polygon(flags, group);
  for (int k = 0; k < p->GetVertexCount(); ++k)
    p->AddVertex(base + 3.0f * k, base + 3.0f * k + 1, base + 3.0f * k + 2);
  if constexpr (std::is_same_v<Polygon, dxTrianguloTex>) p->SetTexture(texture, 0, 0, 0, 0, 0, 0);
  if constexpr (std::is_same_v<Polygon, dxCuadradoTex>)
    p->SetTexture(texture, 0, 0, 0, 0, 0, 0, 0, 0);
  return p;
}

// A quad from its corners in strip order, mapping the whole texture.
inline dxCuadradoTex* Quad(std::initializer_list<Corner> corners, IDirect3DTexture8* texture,
                           DWORD flags = 0) {
  auto* q = new dxCuadradoTex(flags, 0);
  for (const Corner& c : corners) q->AddVertex(c[0], c[1], c[2]);
  q->SetTexture(texture, 0, 0, 0, 1, 1, 0, 1, 1);
  return q;
}

// An axis-aligned rectangle at depth z, from (x0, y0) to (x1, y1).
inline dxCuadradoTex* Rectangle(float x0, float y0, float x1, float y1, float z,
                                IDirect3DTexture8* texture = nullptr, DWORD flags = 0) {
  return Quad({{x0, y1, z}, {x0, y0, z}, {x1, y1, z}, {x1, y0, z}}, texture, flags);
}

}  // namespace testpoly
