// Texture words and samples to coordinates, RGB to keyed BGRA, the page dump
// and the page textures.

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "FileHazards.h"
#include "SceneTestSupport.h"
#include "SharedData.h"
#include "TempFiles.h"
#include "scene/TextureCoords.h"
#include "scene/TexturePages.h"

using namespace scenetest;

namespace {

// Expects the coordinates to be the sample corners P0..P3 listed.
template <std::size_t N>
void ExpectCorners(const std::array<TexCoord, N>& got, const int* corners) {
  // Sample (240, 20) + (20, 40): its right edge, 260, lies past the page and is kept.
  const float us[4] = {240, 260, 260, 240}, vs[4] = {20, 20, 60, 60};
  for (std::size_t i = 0; i < N; ++i) {
    EXPECT_FLOAT_EQ(got[i].u, us[corners[i]] / 255.0f) << "vertex " << i;
    EXPECT_FLOAT_EQ(got[i].v, vs[corners[i]] / 255.0f) << "vertex " << i;
  }
}

// Pixel i of the source is (i, i >> 8, 0x80 | i >> 16): never magenta.
std::vector<std::uint8_t> NumberedRgb(std::size_t count) {
  std::vector<std::uint8_t> rgb;
  for (std::size_t i = 0; i < count; ++i)
    rgb.insert(rgb.end(), {std::uint8_t(i), std::uint8_t(i >> 8), std::uint8_t(0x80 | i >> 16)});
  return rgb;
}

}  // namespace

TEST(TextureCoords, QuadsAndTrianglesTakeTheCornersTheirWordsName) {
  const auto corners = SampleCorners(SampleRect{240, 20, 20, 40});
  const QuadTexture mirrored = DecodeQuadTexture(static_cast<std::uint16_t>(-3));
  EXPECT_EQ(mirrored.sample, 3);
  EXPECT_TRUE(mirrored.mirrored);
  EXPECT_FALSE(DecodeQuadTexture(0x7FFF).mirrored);
  const int quad[2][4] = {{0, 1, 3, 2}, {1, 0, 2, 3}};  // plain, mirrored
  ExpectCorners(QuadTexCoords(corners, false), quad[0]);
  ExpectCorners(QuadTexCoords(corners, true), quad[1]);

  // Plain and mirrored, per corner code / 2; an odd code reads as the even
  // code below it.
  const int triangle[2][4][3] = {{{0, 1, 3}, {1, 2, 0}, {2, 3, 1}, {3, 0, 2}},
                                 {{1, 0, 2}, {0, 3, 1}, {3, 2, 0}, {2, 1, 3}}};
  for (int code = 0; code < 8; ++code)
    for (int m = 0; m < 2; ++m) {
      SCOPED_TRACE(testing::Message() << "code " << code << " mirrored " << m);
      // Bit 11 is not part of the sample.
      const TriangleTexture t = DecodeTriangleTexture(std::uint16_t(0xFA5 | code << 12 | m << 15));
      EXPECT_EQ(t.sample, 0x7A5);
      EXPECT_EQ(t.mirrored, m == 1);
      ExpectCorners(TriangleTexCoords(corners, t.cornerCode, t.mirrored), triangle[m][code / 2]);
    }
}

TEST(TextureConversion, KeysOutExactMagentaSwapsToBgraAndDropsAPartialPixel) {
  const std::uint8_t rgb[12] = {255, 0, 255, 255, 0, 254, 254, 0, 255, 255, 1, 255};
  const std::vector<std::uint8_t> bgra{0,    0, 0,    0,    0xFE, 0, 0xFF, 0xFF,
                                       0xFF, 0, 0xFE, 0xFF, 0xFF, 1, 0xFF, 0xFF};
  for (std::uint32_t extra : {0u, 1u, 2u}) {
    std::vector<std::uint8_t> src(12 + extra, 7);  // exactly sized: reads past it are caught
    std::copy(rgb, rgb + 12, src.begin());
    std::vector<std::uint8_t> out;
    EXPECT_EQ(ConvertTextureRgbToBgra(src.data(), out, 12 + extra), 16);
    EXPECT_EQ(out, bgra);
  }
  std::vector<std::uint8_t> out{1, 2, 3};
  EXPECT_EQ(ConvertTextureRgbToBgra(nullptr, out, 3), -1);
  TextureInfo info;
  info.byteCount = 99;
  LoadTextureInfo(info, nullptr, 3);
  EXPECT_EQ(info.byteCount, 0u);
  EXPECT_TRUE(info.pixels.empty());
}

namespace {

std::uint32_t Texel(IDirect3DTexture8* texture, int x, int y) {
  D3DLOCKED_RECT locked{};
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
  std::uint32_t texel;
  std::memcpy(&texel, static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch + 4 * x, 4);
  texture->UnlockRect(0);
  return texel;
}

}  // namespace

TEST(TexturePages, EachWholePageHoldsItsOwnPixelsAndTheDumpTheFirst) {
  SceneDevice device;
  TextureInfo info;
  const auto rgb = NumberedRgb(2 * 256 * 256 + 100);  // a partial third page
  LoadTextureInfo(info, rgb.data(), static_cast<std::uint32_t>(rgb.size()));
  trTextura pages(info);
  EXPECT_EQ(pages.PageCount(), 2);
  ASSERT_EQ(pages.CreateTextures(&*device), S_OK);
  d3d8::SetTexturePitchPadding(12);
  ASSERT_EQ(pages.CreateTextures(&*device), S_OK);  // replaces and frees the old ones
  d3d8::SetTexturePitchPadding(0);
  for (std::size_t p : {0u, 1u})
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {7, 200}, {255, 255}}) {
      std::uint32_t want;
      std::memcpy(&want, &info.pixels[p * kTexturePageBytes + (256 * y + x) * 4], 4);
      EXPECT_EQ(Texel(pages.GetTexture(int(p)), x, y), want) << p << ": " << x << ", " << y;
    }
  EXPECT_EQ(pages.GetTexture(2), nullptr);
  EXPECT_EQ(pages.GetTexture(-1), nullptr);

  // The dump holds the first page, or what exists of it.
  for (std::uint32_t bytes : {info.byteCount, 40u}) {
    info.byteCount = bytes;
    ASSERT_TRUE(DumpTexturePages(info, "dump.bbb"));
    const auto dumped = testsupport::ReadBytes("dump.bbb");
    ASSERT_EQ(dumped.size(), std::min(bytes, kTexturePageBytes));
    EXPECT_TRUE(std::equal(dumped.begin(), dumped.end(), info.pixels.begin()));
  }
  std::filesystem::remove("dump.bbb");
  EXPECT_FALSE(DumpTexturePages(info, "no-such-folder/segundoA.bbb"));
  info.byteCount = 5 * kTexturePageBytes;  // a count the pixels do not back
  EXPECT_EQ(trTextura(info).PageCount(), 2);
}

// The dump is scratch in the working folder: what a symbolic or hard link of
// its name shares is never written, and a FIFO of its name is neither waited
// on nor replaced.
TEST(TexturePages, TheDumpReplacesALinkOfItsNameAndRefusesWhatIsNoFile) {
  namespace fs = std::filesystem;
  const testsupport::TempFolder folder("texture-dump");
  const fs::path dump = folder.path / kTextureDumpFile, victim = folder.path / "precious";
  std::ofstream(victim) << "precious";
  fs::create_symlink(victim, dump);
  TextureInfo info;
  const auto rgb = NumberedRgb(256 * 256);
  LoadTextureInfo(info, rgb.data(), static_cast<std::uint32_t>(rgb.size()));
  ASSERT_TRUE(DumpTexturePages(info, dump.c_str()));
  EXPECT_EQ(fs::file_size(victim), 8u);
  EXPECT_EQ(testsupport::ReadBytes(dump), std::vector(info.pixels.begin(), info.pixels.begin() + kTexturePageBytes));

  fs::remove(dump);
  fs::create_hard_link(victim, dump);
  ASSERT_TRUE(DumpTexturePages(info, dump.c_str()));
  EXPECT_EQ(testsupport::ReadBytes(victim), std::vector<unsigned char>({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
  EXPECT_EQ(testsupport::ReadBytes(dump), std::vector(info.pixels.begin(), info.pixels.begin() + kTexturePageBytes));

  fs::remove(dump);
  ASSERT_EQ(mkfifo(dump.c_str(), 0600), 0);
  EXPECT_FALSE(testsupport::WaitedOnFifo(dump.string(), [&] { EXPECT_FALSE(DumpTexturePages(info, dump.c_str())); }));
  EXPECT_TRUE(fs::is_fifo(dump));
}
