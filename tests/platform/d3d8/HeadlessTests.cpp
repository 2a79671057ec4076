// The headless hooks other subsystems' tests rely on: PNG output, injected
// faults and the record of draws.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "TestDevice.h"
#include "d3d8/D3DXTexture.h"
#include "stb/stb_image.h"

using d3d8test::TestDevice;

namespace {

TEST(Headless, PngFilesHoldTheBuffersPixels) {
  TestDevice t(5, 3);
  t.UseIdentityTransforms();
  t.Clear();
  t.Draw({t.AtScreen(0, 0, 0.25f), t.AtScreen(5, 0, 0.25f), t.AtScreen(0, 3, 0.25f)});
  const d3d8::PixelImage colour = t.Pixels();
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "d3d8-headless.png";
  ASSERT_TRUE(d3d8::WritePng(path.string(), colour));
  int width = 0, height = 0, channels = 0;
  unsigned char* rgb = stbi_load(path.c_str(), &width, &height, &channels, 3);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(width, 5);
  EXPECT_EQ(height, 3);
  for (int i = 0; i < 15; ++i) {
    const std::uint32_t expected = colour.pixels[i];
    EXPECT_EQ(rgb[i * 3], (expected >> 16) & 0xFF);
    EXPECT_EQ(rgb[i * 3 + 1], (expected >> 8) & 0xFF);
    EXPECT_EQ(rgb[i * 3 + 2], expected & 0xFF);
  }
  stbi_image_free(rgb);

  const d3d8::DepthImage depth = d3d8::ReadDepthBuffer(t.device());
  ASSERT_TRUE(d3d8::WritePng(path.string(), depth));
  unsigned short* grey = stbi_load_16(path.c_str(), &width, &height, &channels, 1);
  ASSERT_NE(grey, nullptr);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(grey[i], depth.depths[i]);
  stbi_image_free(grey);
  std::filesystem::remove(path);
  EXPECT_FALSE(d3d8::WritePng("/nonexistent/folder/x.png", colour));
}

TEST(Headless, FaultsFireAfterTheSkippedCallsForTheirCount) {
  TestDevice t(4, 4);
  IDirect3DDevice8* device = t.device();
  IDirect3DVertexBuffer8* buffer = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(60, 0, 0x102, D3DPOOL_MANAGED, &buffer), S_OK);
  IDirect3DTexture8* texture = t.MakeTexture(1, 1, {0});
  // Each kind of fault with a call that succeeds unless it is injected.
  struct Case {
    d3d8::Fault fault;
    std::function<bool()> succeeds;
  };
  auto released = [](auto* object) {
    if (object) object->Release();
    return object != nullptr;
  };
  const Case cases[] = {
      {d3d8::Fault::NoDirect3D, [&] { return released(Direct3DCreate8(D3D_SDK_VERSION)); }},
      {d3d8::Fault::CreateDevice,
       [&] {
         IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
         D3DPRESENT_PARAMETERS params = d3d8test::EditorPresentParameters();
         IDirect3DDevice8* created = nullptr;
         d3d->CreateDevice(0, D3DDEVTYPE_HAL, &t.window(), 0, &params, &created);
         d3d->Release();
         return released(created);
       }},
      {d3d8::Fault::CreateVertexBuffer,
       [&] {
         IDirect3DVertexBuffer8* created = nullptr;
         device->CreateVertexBuffer(60, 0, 0x102, D3DPOOL_MANAGED, &created);
         return released(created);
       }},
      {d3d8::Fault::LockVertexBuffer,
       [&] {
         BYTE* data = nullptr;
         return SUCCEEDED(buffer->Lock(0, 0, &data, 0)) && SUCCEEDED(buffer->Unlock());
       }},
      {d3d8::Fault::CreateTexture,
       [&] {
         IDirect3DTexture8* created = nullptr;
         D3DXCreateTexture(device, 4, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &created);
         return released(created);
       }},
      {d3d8::Fault::LockTexture,
       [&] {
         D3DLOCKED_RECT locked;
         return SUCCEEDED(texture->LockRect(0, &locked, nullptr, 0)) && SUCCEEDED(texture->UnlockRect(0));
       }},
  };
  for (const Case& c : cases) {
    d3d8::InjectFault(c.fault, 2, 1);
    EXPECT_TRUE(c.succeeds()) << "skipped call of fault " << static_cast<int>(c.fault);
    EXPECT_FALSE(c.succeeds());
    EXPECT_FALSE(c.succeeds());
    EXPECT_TRUE(c.succeeds()) << "after the count of fault " << static_cast<int>(c.fault);
    {
      d3d8::ScopedFault always(c.fault);
      EXPECT_FALSE(c.succeeds());
      EXPECT_FALSE(c.succeeds());
    }
    EXPECT_TRUE(c.succeeds());
  }
  buffer->Release();
}

TEST(Headless, RecordsEachDrawWithItsStates) {
  TestDevice t(8, 8);
  IDirect3DTexture8* texture = t.MakeTexture(1, 1, {0xFF000000u});
  std::vector<d3d8::DrawRecord> draws;
  d3d8::RecordDraws(t.device(), &draws);
  t.UseIdentityTransforms();
  t.Draw({t.AtScreen(0, 0), t.AtScreen(8, 0), t.AtScreen(0, 8), t.AtScreen(8, 8)},
         {.type = D3DPT_TRIANGLESTRIP, .cull = D3DCULL_CW, .fill = D3DFILL_WIREFRAME, .texture = texture});
  t.Draw({t.AtScreen(0, 0), t.AtScreen(8, 0), t.AtScreen(0, 8)});
  d3d8::RecordDraws(t.device(), nullptr);
  t.Draw({t.AtScreen(0, 0), t.AtScreen(8, 0), t.AtScreen(0, 8)});
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].type, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(draws[0].primitiveCount, 2u);
  EXPECT_EQ(draws[0].fillMode, static_cast<DWORD>(D3DFILL_WIREFRAME));
  EXPECT_EQ(draws[0].cullMode, static_cast<DWORD>(D3DCULL_CW));
  EXPECT_EQ(draws[0].texture, texture);
  EXPECT_EQ(draws[1].type, D3DPT_TRIANGLELIST);
  EXPECT_EQ(draws[1].texture, nullptr);
  EXPECT_EQ(d3d8::GetDeviceStats(t.device()).draws, 3u);
}

}  // namespace
