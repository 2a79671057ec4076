#include <gtest/gtest.h>

#include <filesystem>

#include "SharedData.h"
#include "scene/TextureInfo.h"

namespace {

std::vector<std::uint8_t> Convert(const std::vector<std::uint8_t>& rgb) {
  std::vector<std::uint8_t> out;
  const std::int32_t written =
      ConvertTextureRgbToBgra(rgb.data(), out, static_cast<std::uint32_t>(rgb.size()));
  EXPECT_EQ(written, static_cast<std::int32_t>(out.size()));
  return out;
}

// Source pixels whose bytes tell their position: pixel i is (i, i >> 8, i >> 16).
std::vector<std::uint8_t> NumberedPixels(std::size_t count) {
  std::vector<std::uint8_t> rgb;
  for (std::size_t i = 0; i < count; ++i) {
    rgb.push_back(static_cast<std::uint8_t>(i));
    rgb.push_back(static_cast<std::uint8_t>(i >> 8));
    rgb.push_back(static_cast<std::uint8_t>((i >> 16) | 0x80));  // never magenta
  }
  return rgb;
}

}  // namespace

TEST(TextureConversion, KeysOutMagentaOnlyAndSwapsRedAndBlue) {
  const auto out = Convert({255, 0, 255, 255, 0, 254, 254, 0, 255, 255, 1, 255});
  const std::vector<std::uint8_t> expected{0x00, 0x00, 0x00, 0x00, 0xFE, 0x00, 0xFF, 0xFF,
                                           0xFF, 0x00, 0xFE, 0xFF, 0xFF, 0x01, 0xFF, 0xFF};
  EXPECT_EQ(out, expected);
}

TEST(TextureConversion, IgnoresATrailingPartialPixelWithoutReadingIt) {
  for (std::size_t extra : {1u, 2u}) {
    std::vector<std::uint8_t> rgb{1, 2, 3, 4, 5, 6};
    rgb.resize(rgb.size() + extra, 7);
    const auto out = Convert(rgb);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{3, 2, 1, 255, 6, 5, 4, 255}));
  }
}

TEST(TextureConversion, AFailedConversionLeavesNoPixels) {
  std::vector<std::uint8_t> out{1, 2, 3};
  EXPECT_EQ(ConvertTextureRgbToBgra(nullptr, out, 3), -1);
  TextureInfo info;
  info.byteCount = 99;
  LoadTextureInfo(info, nullptr, 3);
  EXPECT_EQ(info.byteCount, 0u);
  EXPECT_TRUE(info.pixels.empty());
}

TEST(TextureConversion, OnePageOfSourceFillsOneConvertedPage) {
  TextureInfo info;
  auto rgb = NumberedPixels(256 * 256);
  ASSERT_EQ(rgb.size(), 196608u);
  LoadTextureInfo(info, rgb.data(), static_cast<std::uint32_t>(rgb.size()));
  EXPECT_EQ(info.byteCount, 262144u);
  EXPECT_EQ(info.byteCount >> kTexturePageShift, 1u);
  LoadTextureInfo(info, rgb.data(), static_cast<std::uint32_t>(rgb.size() - 1));
  EXPECT_EQ(info.byteCount >> kTexturePageShift, 0u);
}

TEST(TexturePageDump, WritesThePixelsOfTheFirstPageOnly) {
  TextureInfo info;
  auto rgb = NumberedPixels(2 * 256 * 256);
  LoadTextureInfo(info, rgb.data(), static_cast<std::uint32_t>(rgb.size()));
  const char* name = "dump-two-pages.bbb";
  ASSERT_TRUE(DumpTexturePages(info, name));
  const auto dumped = testsupport::ReadBytes(name);
  ASSERT_EQ(dumped.size(), 262144u);
  EXPECT_TRUE(std::equal(dumped.begin(), dumped.end(), info.pixels.begin()));
  // Row 1, pixel 0 is source pixel 256: blue byte 0x80 | 0, green 1, red 0.
  EXPECT_EQ(dumped[1024 + 0], 0x80);
  EXPECT_EQ(dumped[1024 + 1], 1);
  std::filesystem::remove(name);
}

TEST(TexturePageDump, WritesWhatExistsOfAShortPageAndSkipsAFileItCannotCreate) {
  TextureInfo info;
  auto rgb = NumberedPixels(10);
  LoadTextureInfo(info, rgb.data(), static_cast<std::uint32_t>(rgb.size()));
  const char* name = "dump-short.bbb";
  ASSERT_TRUE(DumpTexturePages(info, name));
  EXPECT_EQ(testsupport::ReadBytes(name), info.pixels);
  std::filesystem::remove(name);

  EXPECT_FALSE(DumpTexturePages(info, "no-such-folder/segundoA.bbb"));
  EXPECT_FALSE(std::filesystem::exists("no-such-folder"));
}
