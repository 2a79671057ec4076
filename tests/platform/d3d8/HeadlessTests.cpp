// The headless hooks other subsystems' tests rely on: PNG output and
// injected faults.

#include <filesystem>
#include <functional>

#include "TempFiles.h"
#include "TestDevice.h"
#include "d3d8/D3DXTexture.h"
#include "stb/stb_image.h"

using namespace d3d8test;

namespace {

TEST(Headless, PngFilesHoldTheBuffersPixels) {
  TestDevice t(5, 3);
  t.Clear();
  t.Draw({t.AtScreen(0, 0, 0.25f), t.AtScreen(5, 0, 0.25f), t.AtScreen(0, 3, 0.25f)});
  const d3d8::PixelImage colour = t.Pixels();
  const d3d8::DepthImage depth = t.Depths();
  const std::string path = testsupport::UniqueTempPath("d3d8-headless", ".png").string();
  ASSERT_TRUE(d3d8::WritePng(path, colour));
  int width = 0, height = 0, channels = 0;
  unsigned char* rgb = stbi_load(path.c_str(), &width, &height, &channels, 3);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(width, 5);
  EXPECT_EQ(height, 3);
  for (int i = 0; i < 15; ++i)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(rgb[i * 3 + c], (colour.pixels[i] >> (16 - 8 * c)) & 0xFF);
  stbi_image_free(rgb);

  ASSERT_TRUE(d3d8::WritePng(path, depth));
  unsigned short* grey = stbi_load_16(path.c_str(), &width, &height, &channels, 1);
  ASSERT_NE(grey, nullptr);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(grey[i], depth.depths[i]);
  stbi_image_free(grey);
  std::filesystem::remove(path);
  EXPECT_FALSE(d3d8::WritePng("/nonexistent/folder/x.png", colour));
}

// Releases what a creator made; whether it made one.
template <typename T>
bool Made(T* object) {
  if (object) object->Release();
  return object != nullptr;
}

TEST(Headless, FaultsFireAfterTheSkippedCallsForTheirCount) {
  TestDevice t(4, 4);
  IDirect3DDevice8* device = t.device();
  IDirect3DVertexBuffer8* buffer = MakeVertexBuffer(device, t.Quad(0, 0, 4, 4));
  IDirect3DTexture8* texture = t.MakeTexture(1, 1, {0});
  // Each kind of fault with a call that succeeds unless it is injected.
  const std::pair<d3d8::Fault, std::function<bool()>> cases[] = {
      {d3d8::Fault::NoDirect3D, [] { return Made(Direct3DCreate8(D3D_SDK_VERSION)); }},
      {d3d8::Fault::CreateDevice,
       [&] {
         IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
         D3DPRESENT_PARAMETERS params = EditorPresentParameters();
         IDirect3DDevice8* created = nullptr;
         d3d->CreateDevice(0, D3DDEVTYPE_HAL, &t.window(), 0, &params, &created);
         d3d->Release();
         return Made(created);
       }},
      {d3d8::Fault::CreateVertexBuffer,
       [&] {
         IDirect3DVertexBuffer8* created = nullptr;
         device->CreateVertexBuffer(60, 0, kTexVertexFormat, D3DPOOL_MANAGED, &created);
         return Made(created);
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
         return Made(created);
       }},
      {d3d8::Fault::LockTexture,
       [&] {
         D3DLOCKED_RECT locked;
         return SUCCEEDED(texture->LockRect(0, &locked, nullptr, 0)) && SUCCEEDED(texture->UnlockRect(0));
       }},
  };
  for (const auto& [fault, succeeds] : cases) {
    SCOPED_TRACE(testing::Message() << "fault " << static_cast<int>(fault));
    // One call skipped, two fail, then they succeed again.
    d3d8::InjectFault(fault, 2, 1);
    const bool calls[] = {succeeds(), succeeds(), succeeds(), succeeds()};
    EXPECT_TRUE(calls[0] && !calls[1] && !calls[2] && calls[3]);
    {
      d3d8::ScopedFault always(fault);
      EXPECT_FALSE(succeeds() || succeeds());
    }
    EXPECT_TRUE(succeeds());
  }
  buffer->Release();
}

}  // namespace
