#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "HeadlessDevice.h"
#include "PolygonBuilders.h"

using d3d8::Fault;
using d3d8::ScopedFault;
using testpoly::Numbered;

namespace {

class DeviceFaults : public ::testing::Test {
 protected:
  void TearDown() override { d3d8::ClearAllFaults(); }
};

UINT VertexBufferSize(const dxBufferColor8& buffer) {
  D3DVERTEXBUFFER_DESC desc{};
  EXPECT_EQ(buffer.GetVertexBuffer()->GetDesc(&desc), S_OK);
  return desc.Size;
}

// Level 0 of the texture, row by row, each row bytesPerRow long.
std::vector<unsigned char> ReadRows(IDirect3DTexture8* texture, UINT rows, UINT bytesPerRow) {
  D3DLOCKED_RECT locked{};
  std::vector<unsigned char> out;
  if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) return out;
  for (UINT r = 0; r < rows; ++r) {
    const auto* row = static_cast<const unsigned char*>(locked.pBits) + r * locked.Pitch;
    out.insert(out.end(), row, row + bytesPerRow);
  }
  texture->UnlockRect(0);
  return out;
}

// Pixel bytes that differ along and across rows, so a misplaced row shows.
std::vector<unsigned char> CountingBytes(std::size_t n) {
  std::vector<unsigned char> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + i / 251);
  return bytes;
}

}  // namespace

// A wrapper whose device could not be created refuses everything.
TEST_F(DeviceFaults, WrapperWithoutADeviceFailsEveryCall) {
  dxMain main;
  d3d8::OffscreenWindow window(8, 8);
  dxDevice8* created = nullptr;
  {
    ScopedFault fault(Fault::NoDirect3D);
    EXPECT_EQ(main.CreateD3D(), E_FAIL);
    EXPECT_EQ(main.CreateDevice(&window, true, &created, 0), E_FAIL);
    EXPECT_EQ(created, nullptr);
  }
  ASSERT_EQ(main.CreateD3D(), S_OK);
  {
    ScopedFault fault(Fault::CreateDevice);
    EXPECT_EQ(main.CreateDevice(&window, true, &created, 0), E_FAIL);
  }
  ASSERT_NE(created, nullptr);
  std::unique_ptr<dxDevice8> device(created);
  EXPECT_EQ(device->GetDevice(), nullptr);
  EXPECT_EQ(device->Clear(true), E_FAIL);
  EXPECT_EQ(device->Present(), E_FAIL);
  EXPECT_EQ(device->Reset(main.GetPresentParameters(true)), E_FAIL);
  EXPECT_EQ(device->SetProjection(1, 3000, 1, 0.78f, 8, 8), E_FAIL);
  EXPECT_EQ(device->SetEye(0, 0, 800), E_FAIL);
  EXPECT_EQ(device->SetLookAt(0, 0, 0), E_FAIL);
  const unsigned char pixel[4] = {};
  EXPECT_EQ(device->CreateTextureFromPixels(1, 1, D3DFMT_A8R8G8B8, pixel), nullptr);

  dxBufferTextura buffer;
  buffer.AddPolygon(Numbered<dxTrianguloTex>(0));
  EXPECT_EQ(device->AddBuffer(&buffer), E_FAIL);
  EXPECT_TRUE(buffer.IsDirty());
  EXPECT_EQ(device->Render(&buffer, 0, 0), E_FAIL);
  dxBufferColor8* list[] = {&buffer};
  EXPECT_FALSE(device->Pick(4, 4, &window, 8, 8, 1, list));
}

TEST(Device, ClearsColourToItsLowBytesAndDepthOnlyWhenAsked) {
  HeadlessDevice device(16, 16);
  OwnedTexture red(device.SolidTexture(0xFFFF0000));
  dxBufferTextura buffer;
  auto* quad = testpoly::Rectangle(-400, -400, 400, 400, 0);
  quad->SetTexture(red.get(), 0, 0, 0, 1, 1, 0, 1, 1);
  buffer.AddPolygon(quad);
  ASSERT_EQ(device->AddBuffer(&buffer), S_OK);
  device->SetClearColor(256, 255, 255 + 512);
  ASSERT_EQ(device->Clear(true), S_OK);
  for (std::uint32_t pixel : device.Pixels().pixels) ASSERT_EQ(pixel, kClearColor);
  for (std::uint16_t depth : device.Depths().depths) ASSERT_EQ(depth, 65535);

  ASSERT_EQ(device->Render(&buffer, 0, 0), S_OK);
  const std::uint16_t drawnDepth = device.Depths().At(8, 8);
  ASSERT_LT(drawnDepth, 65535);
  device->Clear(false);
  EXPECT_EQ(device.Pixels().At(8, 8), kClearColor);
  EXPECT_EQ(device.Depths().At(8, 8), drawnDepth);
}

TEST_F(DeviceFaults, PresentReportsALostDeviceUntilReset) {
  HeadlessDevice device(8, 8);
  device->Clear(true);
  ASSERT_EQ(device->Present(), S_OK);
  EXPECT_EQ(device.window.FramesShown(), 1);
  {
    ScopedFault lost(Fault::PresentDeviceLost, 1);
    EXPECT_EQ(device->Present(), E_FAIL);
  }
  EXPECT_EQ(device->Present(), E_FAIL);  // lost until reset
  EXPECT_EQ(device->Reset(device.main.GetPresentParameters(true)), S_OK);
  device->Clear(true);
  EXPECT_EQ(device->Present(), S_OK);
  EXPECT_EQ(device.window.FramesShown(), 2);
}

TEST_F(DeviceFaults, AddBufferUploadsWhatIsNewAndNeverLeavesAStaleVertexBufferDrawn) {
  for (Fault fault : {Fault::CreateVertexBuffer, Fault::LockVertexBuffer}) {
    HeadlessDevice device;
    dxBufferTextura buffer;
    EXPECT_EQ(device->AddBuffer(&buffer), E_FAIL);  // nothing added
    EXPECT_EQ(device->GetBufferCount(), 0);
    buffer.AddPolygon(Numbered<dxTrianguloTex>(1));
    ASSERT_EQ(device->AddBuffer(&buffer), S_OK);
    EXPECT_FALSE(buffer.IsDirty());
    EXPECT_EQ(VertexBufferSize(buffer), 3u * 20u);
    IDirect3DVertexBuffer8* first = buffer.GetVertexBuffer();
    EXPECT_EQ(device->AddBuffer(&buffer), E_FAIL);  // nothing new
    EXPECT_EQ(buffer.GetVertexBuffer(), first);

    buffer.AddPolygon(Numbered<dxCuadradoTex>(2));
    {
      ScopedFault failing(fault);
      EXPECT_EQ(device->AddBuffer(&buffer), E_FAIL);
    }
    // The old vertex buffer holds 3 vertices; the rebuilt arrays describe 7.
    EXPECT_EQ(buffer.GetUploadedPolygonCount(), 0);
    EXPECT_TRUE(buffer.IsDirty());

    ASSERT_EQ(device->AddBuffer(&buffer), S_OK);
    EXPECT_EQ(buffer.GetUploadedPolygonCount(), 2);
    EXPECT_EQ(device->GetBufferCount(), 1);
    ASSERT_EQ(VertexBufferSize(buffer), 7u * 20u);
    BYTE* data = nullptr;
    ASSERT_EQ(buffer.GetVertexBuffer()->Lock(0, 0, &data, D3DLOCK_READONLY), S_OK);
    EXPECT_EQ(std::memcmp(data, buffer.GetVertexData(), 7 * 20), 0);
    buffer.GetVertexBuffer()->Unlock();
  }
}

// Every cage rebuild registers a buffer of its own.
TEST(Device, RegistryHoldsManyMoreThanAThousandBuffers) {
  HeadlessDevice device(8, 8);
  std::vector<std::unique_ptr<dxBufferTextura>> kept;
  for (int i = 0; i < 1200; ++i) {
    kept.push_back(std::make_unique<dxBufferTextura>());
    kept.back()->AddPolygon(Numbered<dxTrianguloTex>(0));
    ASSERT_EQ(device->AddBuffer(kept.back().get()), S_OK) << i;
  }
  EXPECT_EQ(device->GetBufferCount(), 1200);
}

TEST(Device, TexturesFromPixelsPlaceEveryRowAtTheStartOfItsLine) {
  d3d8::SetTexturePitchPadding(40);
  HeadlessDevice device(8, 8);
  struct Case {
    D3DFORMAT format;
    UINT bytesPerPixel;
  };
  for (Case c : {Case{D3DFMT_A8R8G8B8, 4}, Case{D3DFMT_R8G8B8, 3}, Case{D3DFMT_X1R5G5B5, 2}}) {
    const UINT width = 256, height = 64;
    const auto pixels = CountingBytes(std::size_t{width} * height * c.bytesPerPixel);
    OwnedTexture texture(device->CreateTextureFromPixels(width, height, c.format, pixels.data()));
    ASSERT_NE(texture, nullptr) << c.format;
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, width);
    EXPECT_EQ(desc.Height, height);
    EXPECT_EQ(desc.Format, c.format);
    EXPECT_EQ(ReadRows(texture.get(), height, width * c.bytesPerPixel), pixels) << c.format;
  }
  d3d8::SetTexturePitchPadding(0);
}

TEST_F(DeviceFaults, TexturesFromPixelsRefuseWhatTheyCannotMake) {
  HeadlessDevice device(8, 8);
  const std::vector<unsigned char> pixels(16 * 16 * 4, 0x55);
  EXPECT_EQ(device->CreateTextureFromPixels(16, 16, D3DFMT_A8R8G8B8, nullptr), nullptr);
  EXPECT_EQ(device->CreateTextureFromPixels(16, 16, D3DFMT_X8R8G8B8, pixels.data()), nullptr);
  EXPECT_EQ(device->CreateTextureFromPixels(16, 16, D3DFMT_D16, pixels.data()), nullptr);
  {
    ScopedFault fault(Fault::CreateTexture);
    EXPECT_EQ(device->CreateTextureFromPixels(16, 16, D3DFMT_A8R8G8B8, pixels.data()), nullptr);
  }
  {
    // The texture made before the lock failed is released (no leak).
    ScopedFault fault(Fault::LockTexture);
    EXPECT_EQ(device->CreateTextureFromPixels(16, 16, D3DFMT_A8R8G8B8, pixels.data()), nullptr);
  }
  OwnedTexture made(device->CreateTextureFromPixels(16, 16, D3DFMT_A8R8G8B8, pixels.data()));
  EXPECT_NE(made, nullptr);
}
