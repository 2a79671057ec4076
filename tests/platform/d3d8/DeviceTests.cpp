// The device's contract with the editor: clearing, scenes, presenting into
// the window, losing and resetting the device, reference counts, and draws
// refused before they read outside a vertex buffer.

#include "TestDevice.h"

using namespace d3d8test;

namespace {

HRESULT Present(IDirect3DDevice8* device, HWND window = nullptr) {
  return device->Present(nullptr, nullptr, window, nullptr);
}

TEST(Device, ClearsOutsideScenesAndPresentsEachFrameOfSeveralScenes) {
  TestDevice t(16, 8);
  IDirect3DDevice8* device = t.device();
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF123456u, 0.5f, 0), S_OK);
  EXPECT_EQ(CountPixels(t.Pixels(), 0xFF123456u), 128);
  EXPECT_EQ(t.Depths().At(15, 7), 32768);  // 0.5 of 65535, rounded
  // Colour only, alpha 0: the depth stays as it was, and the back buffer
  // has no alpha, so the pixels are opaque.
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, kClearColor & 0xFFFFFF, 1.0f, 0), S_OK);
  EXPECT_EQ(CountPixels(t.Pixels(), kClearColor), 128);
  EXPECT_EQ(t.Depths().At(0, 0), 32768);

  t.Draw({t.AtScreen(0, 0, 0.25f), t.AtScreen(8, 0, 0.25f), t.AtScreen(0, 8, 0.25f)});
  t.Draw({t.AtScreen(8, 0, 0.25f), t.AtScreen(16, 0, 0.25f), t.AtScreen(8, 8, 0.25f)});
  ASSERT_EQ(device->BeginScene(), S_OK);
  EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(Present(device), D3DERR_INVALIDCALL);
  ASSERT_EQ(device->EndScene(), S_OK);
  EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(t.window().FramesShown(), 0);

  ASSERT_EQ(Present(device), S_OK);
  ASSERT_EQ(t.window().FramesShown(), 1);
  const d3d8::PixelImage& frame = t.window().LastFrame();
  EXPECT_EQ(frame.width, 16);
  EXPECT_EQ(frame.pixels, t.Pixels().pixels);
  // Both scenes' triangles are in it.
  EXPECT_EQ(frame.At(1, 1), kWhite);
  EXPECT_EQ(frame.At(9, 1), kWhite);
  EXPECT_EQ(frame.At(15, 7), kClearColor);
  // Another window can take the frame instead.
  d3d8::OffscreenWindow other(16, 8);
  ASSERT_EQ(Present(device, &other), S_OK);
  EXPECT_EQ(other.LastFrame().pixels, frame.pixels);
}

TEST(Device, ALostDeviceFailsEveryPresentUntilResetWhichKeepsManagedResources) {
  TestDevice t(16, 16);
  IDirect3DDevice8* device = t.device();
  IDirect3DTexture8* texture = t.MakeTexture(1, 1, {0xFF445566u});
  IDirect3DVertexBuffer8* buffer = MakeVertexBuffer(device, t.Quad(0, 0, 8, 8));
  {
    d3d8::ScopedFault lost(d3d8::Fault::PresentDeviceLost, 1);
    EXPECT_EQ(Present(device), D3DERR_DEVICELOST);
  }
  EXPECT_EQ(Present(device), D3DERR_DEVICELOST);
  EXPECT_EQ(t.window().FramesShown(), 0);

  // The window grew meanwhile; non-default states were set.
  t.window().Resize(24, 20);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetTexture(0, texture);
  device->SetStreamSource(0, buffer, sizeof(TexVertex));
  D3DPRESENT_PARAMETERS params = EditorPresentParameters();
  ASSERT_EQ(device->Reset(&params), S_OK);
  EXPECT_EQ(params.BackBufferWidth, 24u);
  EXPECT_EQ(params.BackBufferHeight, 20u);
  DWORD cull = 0;
  device->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, static_cast<DWORD>(D3DCULL_CCW));
  // Reset dropped the bindings and their references: ours are the last.
  IDirect3DBaseTexture8* bound = texture;
  device->GetTexture(0, &bound);
  EXPECT_EQ(bound, nullptr);
  EXPECT_EQ(buffer->Release(), 0u);

  ASSERT_EQ(Present(device), S_OK);
  EXPECT_EQ(t.window().LastFrame().width, 24);
  EXPECT_EQ(t.Depths().width, 24);
  // The texture made before the reset still draws.
  t.Clear();
  t.DrawStrip(t.Quad(0, 0, 24, 20), {.texture = texture});
  EXPECT_EQ(CountPixels(t.Pixels(), 0xFF445566u), 24 * 20);
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
  // Stage 1 takes a reference of its own; unbinding stage 0 drops one, and
  // the device's release the other (the leak checker watches both).
  device->SetTexture(1, texture);
  ASSERT_EQ(device->SetTexture(0, nullptr), S_OK);
  EXPECT_EQ(texture->AddRef(), 2u);
  EXPECT_EQ(texture->Release(), 1u);
}

TEST(Device, DrawsThatWouldReadPastTheVertexBufferFailAndDrawNothing) {
  TestDevice t(16, 16);
  IDirect3DDevice8* device = t.device();
  t.Clear();
  // Four vertices: one list triangle or two strip triangles fit.
  IDirect3DVertexBuffer8* buffer = MakeVertexBuffer(device, t.Quad(0, 0, 16, 16), false);
  device->SetStreamSource(0, buffer, sizeof(TexVertex));
  device->SetVertexShader(kTexVertexFormat);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  ASSERT_EQ(device->BeginScene(), S_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);  // still locked
  buffer->Unlock();
  const struct {
    D3DPRIMITIVETYPE type;
    UINT start, count;
  } tooFar[] = {{D3DPT_TRIANGLELIST, 0, 2}, {D3DPT_TRIANGLELIST, 2, 1}, {D3DPT_TRIANGLESTRIP, 0, 3},
                {D3DPT_TRIANGLESTRIP, 1, 2}, {D3DPT_TRIANGLESTRIP, 0xFFFFFFFFu, 1}};
  for (const auto& d : tooFar) EXPECT_EQ(device->DrawPrimitive(d.type, d.start, d.count), D3DERR_INVALIDCALL);
  // A stride shorter than the vertex format would read past a vertex too.
  device->SetStreamSource(0, buffer, 12);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(CountPixels(t.Pixels(), kClearColor), 256);
  // What fits draws.
  device->SetStreamSource(0, buffer, sizeof(TexVertex));
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), S_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1), S_OK);
  device->EndScene();
  EXPECT_EQ(CountPixels(t.Pixels(), kWhite), 256);
  // Outside a scene nothing draws.
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
  buffer->Release();
}

}  // namespace
