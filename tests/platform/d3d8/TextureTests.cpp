// Textures: the mip chain, locking at the reported pitch, the formats the
// editor creates, and images loaded from files.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "TestDevice.h"
#include "d3d8/D3DXTexture.h"

using d3d8test::TestDevice;
using d3d8test::TexVertex;

namespace {

// Draws `texture` over the whole 16 x 16 screen, u and v 0..1.
d3d8::PixelImage Show(TestDevice& t, IDirect3DTexture8* texture) {
  t.UseIdentityTransforms();
  t.Clear();
  t.Draw({t.AtScreen(0, 0, 0.5f, 0, 0), t.AtScreen(16, 0, 0.5f, 1, 0), t.AtScreen(0, 16, 0.5f, 0, 1),
          t.AtScreen(16, 16, 0.5f, 1, 1)},
         {.type = D3DPT_TRIANGLESTRIP, .texture = texture});
  return t.Pixels();
}

TEST(Texture, CreatesTheWholeMipChainDownToOneTexel) {
  TestDevice t(4, 4);
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(D3DXCreateTexture(t.device(), 64, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), S_OK);
  ASSERT_EQ(texture->GetLevelCount(), 7u);
  const UINT widths[] = {64, 32, 16, 8, 4, 2, 1}, heights[] = {16, 8, 4, 2, 1, 1, 1};
  for (UINT level = 0; level < 7; ++level) {
    D3DSURFACE_DESC desc;
    ASSERT_EQ(texture->GetLevelDesc(level, &desc), S_OK);
    EXPECT_EQ(desc.Width, widths[level]);
    EXPECT_EQ(desc.Height, heights[level]);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), S_OK);
    EXPECT_GE(locked.Pitch, static_cast<INT>(widths[level] * 4));
    std::memset(locked.pBits, 0xAB, locked.Pitch * heights[level]);  // all of it is writable
    EXPECT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->UnlockRect(level), S_OK);
  }
  D3DSURFACE_DESC desc;
  EXPECT_EQ(texture->GetLevelDesc(7, &desc), D3DERR_INVALIDCALL);
  texture->Release();
}

TEST(Texture, RowsWrittenAtAWiderPitchAreSampledInPlace) {
  TestDevice t(16, 16);
  d3d8::SetTexturePitchPadding(12);
  IDirect3DTexture8* texture = nullptr;
  const HRESULT created = t.device()->CreateTexture(2, 2, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture);
  d3d8::SetTexturePitchPadding(0);
  ASSERT_EQ(created, S_OK);
  D3DLOCKED_RECT locked;
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
  ASSERT_EQ(locked.Pitch, 2 * 4 + 12);
  const std::uint32_t rows[2][2] = {{0xFF000001u, 0xFF000002u}, {0xFF000003u, 0xFF000004u}};
  for (int y = 0; y < 2; ++y) std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, rows[y], 8);
  texture->UnlockRect(0);
  // A sub-rectangle lock points at its own first texel.
  const RECT corner{1, 1, 2, 2};
  ASSERT_EQ(texture->LockRect(0, &locked, &corner, 0), S_OK);
  std::uint32_t value;
  std::memcpy(&value, locked.pBits, 4);
  EXPECT_EQ(value, 0xFF000004u);
  texture->UnlockRect(0);
  const d3d8::PixelImage image = Show(t, texture);
  EXPECT_EQ(image.At(3, 3), 0xFF000001u);
  EXPECT_EQ(image.At(12, 3), 0xFF000002u);
  EXPECT_EQ(image.At(3, 12), 0xFF000003u);
  EXPECT_EQ(image.At(12, 12), 0xFF000004u);
  texture->Release();
}

TEST(Texture, TwentyFourAndSixteenBitFormatsDrawTheirColours) {
  TestDevice t(16, 16);
  struct Case {
    D3DFORMAT format;
    std::vector<BYTE> texel;
    std::uint32_t drawn;
  };
  const Case cases[] = {
      {D3DFMT_R8G8B8, {0x33, 0x22, 0x11}, 0xFF112233u},  // blue, green, red in memory
      // 0 11111 00000 10000: red 31, green 0, blue 16 widened to 8 bits.
      {D3DFMT_X1R5G5B5, {0x10, 0x7C}, 0xFFFF0084u},
      {D3DFMT_X8R8G8B8, {0x33, 0x22, 0x11, 0x00}, 0xFF112233u},
  };
  for (const Case& c : cases) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(t.device(), 1, 1, 1, 0, c.format, D3DPOOL_MANAGED, &texture), S_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    std::memcpy(locked.pBits, c.texel.data(), c.texel.size());
    texture->UnlockRect(0);
    EXPECT_EQ(Show(t, texture).At(8, 8), c.drawn) << "format " << c.format;
    texture->Release();
  }
}

// A 24-bit bottom-up BMP: 14-byte file header, 40-byte info header, rows
// padded to four bytes. `rows` are top first, 0xRRGGBB.
std::vector<BYTE> MakeBmp(int width, int height, const std::vector<std::uint32_t>& rows) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const int dataOffset = 54, fileSize = dataOffset + stride * height;
  std::vector<BYTE> file(fileSize, 0);
  auto put16 = [&](int at, int v) { file[at] = v & 0xFF; file[at + 1] = (v >> 8) & 0xFF; };
  auto put32 = [&](int at, int v) { put16(at, v & 0xFFFF); put16(at + 2, (v >> 16) & 0xFFFF); };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, fileSize);
  put32(10, dataOffset);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  put16(26, 1);
  put16(28, 24);
  put32(34, stride * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t rgb = rows[(height - 1 - y) * width + x];
      BYTE* p = &file[dataOffset + y * stride + x * 3];
      p[0] = rgb & 0xFF;
      p[1] = (rgb >> 8) & 0xFF;
      p[2] = (rgb >> 16) & 0xFF;
    }
  return file;
}

std::wstring WriteTempFile(const std::string& name, const std::vector<BYTE>& bytes) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path.wstring();
}

TEST(TextureFile, LoadsABitmapTexelForTexel) {
  TestDevice t(4, 4);
  const std::vector<std::uint32_t> texels = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0xFF00FF};
  const std::wstring path = WriteTempFile("d3d8-texture-3x2.bmp", MakeBmp(3, 2, texels));
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(D3DXCreateTextureFromFileW(t.device(), path.c_str(), &texture), S_OK);
  D3DSURFACE_DESC desc;
  texture->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 3u);
  EXPECT_EQ(desc.Height, 2u);
  EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(texture->GetLevelCount(), 2u);
  D3DLOCKED_RECT locked;
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      std::uint32_t texel;
      std::memcpy(&texel, static_cast<BYTE*>(locked.pBits) + y * locked.Pitch + x * 4, 4);
      EXPECT_EQ(texel, 0xFF000000u | texels[y * 3 + x]) << x << ", " << y;
    }
  texture->UnlockRect(0);
  texture->Release();
  std::filesystem::remove(path);
}

TEST(TextureFile, MissingOrBrokenFilesGiveNoTexture) {
  TestDevice t(4, 4);
  IDirect3DTexture8* texture = nullptr;
  EXPECT_LT(D3DXCreateTextureFromFileW(t.device(), L"/nonexistent/solid.bmp", &texture), 0);
  EXPECT_EQ(texture, nullptr);
  std::vector<BYTE> truncated = MakeBmp(8, 8, std::vector<std::uint32_t>(64, 0x123456));
  truncated.resize(40);
  const std::wstring path = WriteTempFile("d3d8-broken.bmp", truncated);
  EXPECT_LT(D3DXCreateTextureFromFileW(t.device(), path.c_str(), &texture), 0);
  EXPECT_EQ(texture, nullptr);
  std::filesystem::remove(path);
}

TEST(TextureFile, LoadsTheEditorsFloorTexture) {
  TestDevice t(4, 4);
  const std::filesystem::path solid = std::filesystem::path(D3D8_TEST_DATA_DIR) / "solid.bmp";
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(D3DXCreateTextureFromFileW(t.device(), solid.wstring().c_str(), &texture), S_OK);
  D3DSURFACE_DESC desc;
  texture->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 64u);
  EXPECT_EQ(desc.Height, 64u);
  texture->Release();
}

}  // namespace
