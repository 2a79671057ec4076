// Textures: the mip chain, locking at the reported pitch, the formats the
// editor creates, and images loaded from files.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "TempFiles.h"
#include "TestDevice.h"
#include "d3d8/D3DXTexture.h"

using namespace d3d8test;

namespace {

// Draws `texture` over the whole 16 x 16 screen, u and v 0..1, and expects
// the 2 x 2 texels (rows top first) in its four quarters.
void ExpectShows(TestDevice& t, IDirect3DTexture8* texture, const std::vector<std::uint32_t>& texels) {
  t.Clear();
  t.DrawStrip(t.Quad(0, 0, 16, 16), {.texture = texture});
  const d3d8::PixelImage image = t.Pixels();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(image.At(3 + i % 2 * 9, 3 + i / 2 * 9), texels[i]) << "texel " << i;
}

TEST(Texture, CreatesTheWholeMipChainDownToOneTexel) {
  TestDevice t(4, 4);
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(D3DXCreateTexture(t.device(), 64, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), S_OK);
  ASSERT_EQ(texture->GetLevelCount(), 7u);
  const UINT widths[] = {64, 32, 16, 8, 4, 2, 1}, heights[] = {16, 8, 4, 2, 1, 1, 1};
  D3DSURFACE_DESC desc;
  for (UINT level = 0; level < 7; ++level) {
    ASSERT_EQ(texture->GetLevelDesc(level, &desc), S_OK);
    EXPECT_EQ(desc.Width, widths[level]);
    EXPECT_EQ(desc.Height, heights[level]);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), S_OK);
    EXPECT_GE(locked.Pitch, static_cast<INT>(widths[level] * 4));
    std::memset(locked.pBits, 0xAB, locked.Pitch * heights[level]);  // all of it is writable
    EXPECT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->UnlockRect(level), S_OK);
  }
  EXPECT_EQ(texture->GetLevelDesc(7, &desc), D3DERR_INVALIDCALL);
  texture->Release();
}

TEST(Texture, RowsWrittenAtAWiderPitchAreSampledInPlace) {
  TestDevice t(16, 16);
  d3d8::SetTexturePitchPadding(12);
  const std::vector<std::uint32_t> texels = {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u};
  IDirect3DTexture8* texture = t.MakeTexture(2, 2, texels);  // copies rows at the locked pitch
  d3d8::SetTexturePitchPadding(0);
  D3DLOCKED_RECT locked;
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
  EXPECT_EQ(locked.Pitch, 2 * 4 + 12);
  texture->UnlockRect(0);
  ExpectShows(t, texture, texels);
}

TEST(Texture, TwentyFourAndSixteenBitFormatsDrawTheirColours) {
  TestDevice t(16, 16);
  const struct {
    D3DFORMAT format;
    std::vector<BYTE> texel;
    std::uint32_t drawn;
  } cases[] = {
      {D3DFMT_R8G8B8, {0x33, 0x22, 0x11}, 0xFF112233u},  // blue, green, red in memory
      // 0 11111 00000 10000: red 31, green 0, blue 16 widened to 8 bits.
      {D3DFMT_X1R5G5B5, {0x10, 0x7C}, 0xFFFF0084u},
      {D3DFMT_X8R8G8B8, {0x33, 0x22, 0x11, 0x00}, 0xFF112233u},
  };
  // Black texels but the bottom-right one, which must be found at its pitch
  // and texel size.
  for (const auto& c : cases) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(t.device(), 2, 2, 1, 0, c.format, D3DPOOL_MANAGED, &texture), S_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    BYTE* bits = static_cast<BYTE*>(locked.pBits);
    std::memset(bits, 0, 2 * locked.Pitch);
    std::memcpy(bits + locked.Pitch + c.texel.size(), c.texel.data(), c.texel.size());
    texture->UnlockRect(0);
    ExpectShows(t, texture, {0xFF000000u, 0xFF000000u, 0xFF000000u, c.drawn});
    texture->Release();
  }
}

// Level 0 is decoded for drawing only when first drawn after a change; what
// is drawn is what it held when last unlocked, however writes and draws
// interleave with locks.
TEST(Texture, DrawsWhatLevelZeroHeldWhenLastUnlocked) {
  TestDevice t(16, 16);
  const std::vector<std::uint32_t> black(4, 0xFF000000u), first = {0xFF010203u, 0xFF040506u,
                                                                  0xFF070809u, 0xFF0A0B0Cu};
  const std::vector<std::uint32_t> second = {0xFF111111u, 0xFF222222u, 0xFF333333u, 0xFF444444u};
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(D3DXCreateTexture(t.device(), 2, 2, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture), S_OK);
  auto write = [&](const std::vector<std::uint32_t>& texels) {
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    for (int y = 0; y < 2; ++y)
      std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, &texels[y * 2], 8);
  };
  write(first);
  ExpectShows(t, texture, black);  // as made: zero bytes
  texture->UnlockRect(0);
  ExpectShows(t, texture, first);
  write(second);
  ExpectShows(t, texture, first);
  texture->UnlockRect(0);
  ExpectShows(t, texture, second);
  ExpectShows(t, texture, second);
  texture->Release();
}

// A 24-bit bottom-up BMP: 14-byte file header, 40-byte info header, rows of
// blue, green, red padded to four bytes. `texels` are top row first, 0x..RRGGBB.
std::vector<BYTE> MakeBmp(int width, int height, const std::vector<std::uint32_t>& texels) {
  const int stride = (width * 3 + 3) / 4 * 4, size = 54 + stride * height;
  std::vector<BYTE> file(size, 0);
  auto put = [&](int at, int value, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = (value >> (8 * i)) & 0xFF;
  };
  put(0, 'B' | 'M' << 8, 2);
  put(2, size, 4);
  put(10, 54, 4);  // where the pixels start
  put(14, 40, 4);
  put(18, width, 4);
  put(22, height, 4);
  put(26, 1, 2);   // planes
  put(28, 24, 2);  // bits per pixel
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) put(54 + y * stride + x * 3, texels[(height - 1 - y) * width + x], 3);
  return file;
}

// Loads a texture from these file bytes; null when refused.
IDirect3DTexture8* Load(IDirect3DDevice8* device, const std::vector<BYTE>& bytes) {
  const std::filesystem::path path = testsupport::UniqueTempPath("d3d8-texture-test", ".bmp");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  IDirect3DTexture8* texture = nullptr;
  const HRESULT hr = D3DXCreateTextureFromFileW(device, path.wstring().c_str(), &texture);
  EXPECT_EQ(SUCCEEDED(hr), texture != nullptr);
  std::filesystem::remove(path);
  return texture;
}

TEST(TextureFile, LoadsBitmapsTexelForTexel) {
  TestDevice t(16, 16);
  const std::vector<std::uint32_t> texels = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0};
  IDirect3DTexture8* texture = Load(t.device(), MakeBmp(2, 2, texels));
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->GetLevelCount(), 2u);  // 2 x 2, then 1 x 1
  ExpectShows(t, texture, texels);
  texture->Release();
  // The editor's floor texture.
  const std::filesystem::path solid = std::filesystem::path(D3D8_TEST_DATA_DIR) / "solid.bmp";
  ASSERT_EQ(D3DXCreateTextureFromFileW(t.device(), solid.wstring().c_str(), &texture), S_OK);
  D3DSURFACE_DESC desc;
  texture->GetLevelDesc(0, &desc);
  EXPECT_TRUE(desc.Width == 64 && desc.Height == 64 && desc.Pool == D3DPOOL_MANAGED);
  texture->Release();
}

TEST(TextureFile, MissingOrTruncatedFilesAreRefusedCleanly) {
  TestDevice t(4, 4);
  IDirect3DTexture8* texture = nullptr;
  EXPECT_LT(D3DXCreateTextureFromFileW(t.device(), L"/nonexistent/solid.bmp", &texture), 0);
  EXPECT_EQ(texture, nullptr);
  // A cut before the info header leaves no image and is refused; any later
  // cut either is refused or gives an image of the header's size, and never
  // reads past the file (the address checker watches).
  const std::vector<BYTE> whole = MakeBmp(5, 3, std::vector<std::uint32_t>(15, 0x123456));
  for (size_t length = 0; length < whole.size(); ++length) {
    IDirect3DTexture8* loaded = Load(t.device(), {whole.begin(), whole.begin() + length});
    if (!loaded) continue;
    EXPECT_GE(length, 14u);
    D3DSURFACE_DESC desc;
    loaded->GetLevelDesc(0, &desc);
    EXPECT_TRUE(desc.Width == 5 && desc.Height == 3) << length << " bytes";
    loaded->Release();
  }
}

}  // namespace
