#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "d3d/Device8.h"
#include "scene/TexturePages.h"

using namespace scenetest;

namespace {

// Converted pixels whose every texel of page p has the colour 0xFF0000pp + 1.
TextureInfo PagesOfColour(std::uint32_t pages, std::uint32_t extraBytes = 0) {
  TextureInfo info;
  info.pixels.resize(pages * kTexturePageBytes + extraBytes);
  for (std::size_t i = 0; i < info.pixels.size(); i += 4) {
    info.pixels[i] = static_cast<std::uint8_t>(i / kTexturePageBytes + 1);
    info.pixels[i + 3] = 0xFF;
  }
  info.byteCount = static_cast<std::uint32_t>(info.pixels.size());
  return info;
}

std::uint32_t Texel(IDirect3DTexture8* texture, int x, int y) {
  D3DLOCKED_RECT locked{};
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
  const auto* row = static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch;
  const std::uint32_t texel = reinterpret_cast<const std::uint32_t*>(row)[x];
  texture->UnlockRect(0);
  return texel;
}

}  // namespace

TEST(TexturePages, EachPageTextureHoldsItsOwnPixels) {
  SceneDevice device;
  d3d8::SetTexturePitchPadding(12);
  const TextureInfo info = PagesOfColour(2, kTexturePageBytes - 4);  // a partial third page
  trTextura pages(info);
  EXPECT_EQ(pages.PageCount(), 2);
  ASSERT_EQ(pages.CreateTextures(&*device), S_OK);
  d3d8::SetTexturePitchPadding(0);
  ASSERT_NE(pages.GetTexture(1), nullptr);
  EXPECT_EQ(Texel(pages.GetTexture(0), 255, 255), 0xFF000001u);
  EXPECT_EQ(Texel(pages.GetTexture(1), 0, 0), 0xFF000002u);
  EXPECT_EQ(Texel(pages.GetTexture(1), 255, 255), 0xFF000002u);
  EXPECT_EQ(pages.GetTexture(2), nullptr);
  EXPECT_EQ(pages.GetTexture(-1), nullptr);
}

TEST(TexturePages, FailedCreationsLeavePagesWithoutTextures) {
  SceneDevice device;
  const TextureInfo info = PagesOfColour(3);
  trTextura pages(info);
  EXPECT_EQ(pages.CreateTextures(nullptr), E_FAIL);
  EXPECT_EQ(pages.GetTexture(0), nullptr);
  {
    d3d8::ScopedFault fault(d3d8::Fault::CreateTexture, 1, 1);
    ASSERT_EQ(pages.CreateTextures(&*device), S_OK);
  }
  EXPECT_NE(pages.GetTexture(0), nullptr);
  EXPECT_EQ(pages.GetTexture(1), nullptr);
  EXPECT_NE(pages.GetTexture(2), nullptr);
  // Creating again replaces (and releases) the textures made before.
  ASSERT_EQ(pages.CreateTextures(&*device), S_OK);
  EXPECT_NE(pages.GetTexture(1), nullptr);
}

TEST(TexturePages, ByteCountBeyondThePixelsHeldMakesNoPage) {
  TextureInfo info;
  info.byteCount = 5 * kTexturePageBytes;  // a count the pixels do not back
  info.pixels.resize(kTexturePageBytes);
  EXPECT_EQ(trTextura(info).PageCount(), 1);
}
