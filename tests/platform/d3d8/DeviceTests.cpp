// The device's contract with the editor: clearing, scenes, presenting into
// the window, losing and resetting the device, reference counts, and draws
// refused before they read outside a vertex buffer.

#include <gtest/gtest.h>

#include <cstring>

#include "TestDevice.h"

using d3d8test::kClearColor;
using d3d8test::kWhite;
using d3d8test::TestDevice;
using d3d8test::TexVertex;

namespace {

TEST(Device, ClearFillsColourAndDepthAsAsked) {
  TestDevice t(8, 4);
  IDirect3DDevice8* device = t.device();
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF00FFFFu, 0.5f, 0), S_OK);
  d3d8::DepthImage depth = d3d8::ReadDepthBuffer(device);
  EXPECT_EQ(d3d8test::CountPixels(t.Pixels(), 0xFF00FFFFu), 32);
  EXPECT_EQ(depth.At(7, 3), 32768);
  // Colour only: the depth stays as it was.
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF123456u, 1.0f, 0), S_OK);
  EXPECT_EQ(d3d8test::CountPixels(t.Pixels(), 0xFF123456u), 32);
  EXPECT_EQ(d3d8::ReadDepthBuffer(device).At(0, 0), 32768);
  // The back buffer has no alpha: cleared pixels are opaque.
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00123456u, 1.0f, 0);
  EXPECT_EQ(t.Pixels().At(0, 0), 0xFF123456u);
  // Rectangles are not offered.
  const D3DRECT rect{0, 0, 1, 1};
  EXPECT_EQ(device->Clear(1, &rect, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST(Device, PresentHandsEachFrameToTheWindowOutsideScenes) {
  TestDevice t(16, 8);
  IDirect3DDevice8* device = t.device();
  t.UseIdentityTransforms();
  t.Clear();
  // Several scenes make up one frame.
  t.Draw({t.AtScreen(0, 0), t.AtScreen(8, 0), t.AtScreen(0, 8)});
  t.Draw({t.AtScreen(8, 0), t.AtScreen(16, 0), t.AtScreen(8, 8)});
  ASSERT_EQ(device->BeginScene(), S_OK);
  EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
  ASSERT_EQ(device->EndScene(), S_OK);
  EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(t.window().FramesShown(), 0);

  ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(t.window().FramesShown(), 1);
  const d3d8::PixelImage& frame = t.window().LastFrame();
  EXPECT_EQ(frame.width, 16);
  EXPECT_EQ(frame.height, 8);
  EXPECT_EQ(frame.pixels, t.Pixels().pixels);
  EXPECT_EQ(frame.At(1, 1), kWhite);
  EXPECT_EQ(frame.At(9, 1), kWhite);
  EXPECT_EQ(frame.At(15, 7), kClearColor);
  // Another window can take the frame instead.
  d3d8::OffscreenWindow other(16, 8);
  ASSERT_EQ(device->Present(nullptr, nullptr, &other, nullptr), S_OK);
  EXPECT_EQ(other.LastFrame().pixels, frame.pixels);
  EXPECT_EQ(d3d8::GetDeviceStats(device).scenes, 3u);
}

TEST(Device, ALostDeviceFailsEveryPresentUntilResetWhichKeepsManagedResources) {
  TestDevice t(16, 16);
  IDirect3DDevice8* device = t.device();
  IDirect3DTexture8* texture = t.MakeTexture(1, 1, {0xFF445566u});
  IDirect3DVertexBuffer8* buffer = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(3 * sizeof(TexVertex), 0, d3d8test::kTexVertexFormat,
                                       D3DPOOL_MANAGED, &buffer), S_OK);
  {
    d3d8::ScopedFault lost(d3d8::Fault::PresentDeviceLost, 1);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  }
  EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  EXPECT_EQ(t.window().FramesShown(), 0);

  // The window grew meanwhile; non-default states were set.
  t.window().Resize(24, 20);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetTexture(0, texture);
  device->SetStreamSource(0, buffer, sizeof(TexVertex));
  D3DPRESENT_PARAMETERS params = d3d8test::EditorPresentParameters();
  ASSERT_EQ(device->Reset(&params), S_OK);
  EXPECT_EQ(params.BackBufferWidth, 24u);
  EXPECT_EQ(params.BackBufferHeight, 20u);
  DWORD cull = 0;
  device->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, static_cast<DWORD>(D3DCULL_CCW));
  IDirect3DBaseTexture8* bound = texture;
  device->GetTexture(0, &bound);
  EXPECT_EQ(bound, nullptr);
  // Reset dropped the binding's reference: ours is the last.
  EXPECT_EQ(buffer->AddRef(), 2u);
  EXPECT_EQ(buffer->Release(), 1u);

  ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(t.window().LastFrame().width, 24);
  // The texture made before the reset still draws.
  t.UseIdentityTransforms();
  t.Clear();
  t.Draw({t.AtScreen(0, 0), t.AtScreen(48, 0), t.AtScreen(0, 40)}, {.texture = texture});
  EXPECT_EQ(t.Pixels().At(2, 2), 0xFF445566u);
  buffer->Release();
}

TEST(Device, BindingATextureHoldsAReferenceUntilReplaced) {
  TestDevice t(4, 4);
  IDirect3DDevice8* device = t.device();
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), S_OK);
  ASSERT_EQ(device->SetTexture(0, texture), S_OK);
  EXPECT_EQ(texture->Release(), 1u);  // the device's reference keeps it alive
  D3DSURFACE_DESC desc;
  EXPECT_EQ(texture->GetLevelDesc(0, &desc), S_OK);
  IDirect3DBaseTexture8* bound = nullptr;
  ASSERT_EQ(device->GetTexture(0, &bound), S_OK);
  EXPECT_EQ(bound, texture);
  EXPECT_EQ(bound->Release(), 1u);
  // Stage 1 takes a reference of its own; unbinding stage 0 leaves it, and
  // the device's release drops it (the leak checker watches both).
  device->SetTexture(1, texture);
  ASSERT_EQ(device->SetTexture(0, nullptr), S_OK);
}

TEST(Device, DrawsThatWouldReadPastTheVertexBufferFailAndDrawNothing) {
  TestDevice t(16, 16);
  IDirect3DDevice8* device = t.device();
  t.UseIdentityTransforms();
  t.Clear();
  // Four vertices: one list triangle or two strip triangles fit.
  const std::vector<TexVertex> vertices = {t.AtScreen(0, 0), t.AtScreen(16, 0), t.AtScreen(0, 16),
                                          t.AtScreen(16, 16)};
  IDirect3DVertexBuffer8* buffer = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(4 * sizeof(TexVertex), 0, d3d8test::kTexVertexFormat,
                                       D3DPOOL_MANAGED, &buffer), S_OK);
  BYTE* data = nullptr;
  ASSERT_EQ(buffer->Lock(0, 0, &data, 0), S_OK);
  std::memcpy(data, vertices.data(), 4 * sizeof(TexVertex));
  device->SetStreamSource(0, buffer, sizeof(TexVertex));
  device->SetVertexShader(d3d8test::kTexVertexFormat);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  ASSERT_EQ(device->BeginScene(), S_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);  // still locked
  buffer->Unlock();
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 2, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 3), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0xFFFFFFFFu, 1), D3DERR_INVALIDCALL);
  // A stride shorter than the vertex format would read past a vertex too.
  device->SetStreamSource(0, buffer, 12);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(d3d8test::CountPixels(t.Pixels(), kClearColor), 256);
  // What fits draws.
  device->SetStreamSource(0, buffer, sizeof(TexVertex));
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), S_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1), S_OK);
  device->EndScene();
  EXPECT_EQ(d3d8test::CountPixels(t.Pixels(), kWhite), 256);
  // Outside a scene nothing draws.
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
  buffer->Release();
}

}  // namespace
