// Text drawn by the D3DX font as the statistics lines use it: bold "Times"
// at the default height, opaque black, from a rectangle's top left corner.

#include <gtest/gtest.h>

#include <cstring>

#include "TestDevice.h"
#include "d3d8/D3DXFont.h"

using d3d8test::kClearColor;
using d3d8test::TestDevice;

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;

LOGFONT StatsLogFont(LONG weight = FW_BOLD) {
  LOGFONT logFont{};
  logFont.lfWeight = weight;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfQuality = ANTIALIASED_QUALITY;
  std::strcpy(logFont.lfFaceName, "Times");
  return logFont;
}

struct Ink {
  int pixels = 0;
  long weight = 0;  // summed darkness, 0..255 per pixel
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive box
};

// Where a text drawn black on the clear colour left its marks.
Ink InkOf(const d3d8::PixelImage& image) {
  Ink ink;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t pixel = image.At(x, y);
      if (pixel == kClearColor) continue;
      ++ink.pixels;
      ink.weight += 255 - (pixel & 0xFF);
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  return ink;
}

class FontTest : public ::testing::Test {
 protected:
  FontTest() : t_(240, 60) {}
  ~FontTest() override {
    if (font_) font_->Release();
  }

  ID3DXFont* Font(LONG weight = FW_BOLD) {
    if (font_) font_->Release();
    font_ = nullptr;
    const LOGFONT logFont = StatsLogFont(weight);
    EXPECT_EQ(D3DXCreateFontIndirect(t_.device(), &logFont, &font_), S_OK);
    return font_;
  }

  // Clears, draws one text in `rect`, returns the ink.
  Ink Draw(ID3DXFont* font, const char* text, RECT rect = {0, 0, 200, 20}) {
    t_.Clear();
    font->Begin();
    lastHeight_ = font->DrawTextA(text, -1, &rect, DT_TOP | DT_LEFT, kBlack);
    font->End();
    return InkOf(t_.Pixels());
  }

  TestDevice t_;
  ID3DXFont* font_ = nullptr;
  INT lastHeight_ = 0;
};

TEST_F(FontTest, DrawsBlackAntialiasedGlyphsInsideTheRectangleOnly) {
  ID3DXFont* font = Font();
  ASSERT_NE(font, nullptr);
  const Ink ink = Draw(font, "Numero de Vertices: 1234", {0, 20, 200, 40});
  EXPECT_GT(lastHeight_, 0);
  EXPECT_LE(lastHeight_, 20);
  ASSERT_GT(ink.pixels, 100);
  EXPECT_GE(ink.top, 20);
  EXPECT_LT(ink.bottom, 40);
  EXPECT_LT(ink.left, 4);
  EXPECT_GT(ink.right, 100);
  // Every touched pixel lies between the background and black: red stays 0,
  // green and blue fall together.
  const d3d8::PixelImage image = t_.Pixels();
  int solid = 0;
  for (std::uint32_t pixel : image.pixels) {
    EXPECT_EQ(pixel & 0xFFFF0000u, 0xFF000000u);
    EXPECT_EQ((pixel >> 8) & 0xFF, pixel & 0xFF);
    solid += pixel == kBlack;
  }
  EXPECT_GT(solid, 20);
  // A narrow rectangle cuts the line off at its right edge.
  const Ink clipped = Draw(font, "Numero de Vertices: 1234", {10, 0, 50, 20});
  EXPECT_GE(clipped.left, 10);
  EXPECT_LT(clipped.right, 50);
  EXPECT_GT(clipped.pixels, 20);
}

TEST_F(FontTest, OrdinalIndicatorOfWindows1252IsARaisedSmallO) {
  ID3DXFont* font = Font();
  const Ink capital = Draw(font, "N");
  const Ink ordinal = Draw(font, "\xBA");  // the "º" of "Nº VertexBuffers"
  const Ink small = Draw(font, "o");
  ASSERT_GT(ordinal.pixels, 5);
  const int capitalHeight = capital.bottom - capital.top + 1;
  // It sits in the upper half of a capital's height and is smaller than "o".
  EXPECT_LE(ordinal.top, capital.top + capitalHeight / 4);
  EXPECT_LT(ordinal.bottom, capital.top + capitalHeight * 3 / 4);
  EXPECT_LT(ordinal.bottom, small.bottom);
  EXPECT_LT(ordinal.weight, small.weight * 2);
  // In a line it takes its place after the N.
  const Ink line = Draw(font, "N\xBA VertexBuffers: 3");
  EXPECT_EQ(line.top, std::min(capital.top, ordinal.top));
}

TEST_F(FontTest, BoldWeightDrawsHeavierStrokes) {
  const Ink bold = Draw(Font(FW_BOLD), "Numero de Tris: 88");
  const Ink regular = Draw(Font(FW_NORMAL), "Numero de Tris: 88");
  EXPECT_GT(bold.weight, regular.weight * 11 / 10);
}

TEST_F(FontTest, KeepsDrawingIntoTheNewBackBufferAfterAReset) {
  ID3DXFont* font = Font();
  t_.window().Resize(300, 40);
  D3DPRESENT_PARAMETERS params = d3d8test::EditorPresentParameters();
  ASSERT_EQ(t_.device()->Reset(&params), S_OK);
  const Ink ink = Draw(font, "Frames por segundo: 60.00", {0, 0, 300, 20});
  EXPECT_GT(ink.right, 120);
  EXPECT_EQ(t_.Pixels().width, 300);
}

}  // namespace
