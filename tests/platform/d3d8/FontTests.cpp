// Text drawn by the D3DX font as the statistics lines use it: bold "Times"
// at the default height, opaque black, from a rectangle's top left corner.

#include <cstring>
#include <memory>

#include "TestDevice.h"
#include "d3d8/D3DXFont.h"

using namespace d3d8test;

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;

struct Release {
  void operator()(ID3DXFont* font) const { font->Release(); }
};
using Font = std::unique_ptr<ID3DXFont, Release>;

Font MakeFont(IDirect3DDevice8* device, LONG weight = FW_BOLD) {
  LOGFONT logFont{};
  logFont.lfWeight = weight;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfQuality = ANTIALIASED_QUALITY;
  std::strcpy(logFont.lfFaceName, "Times");
  ID3DXFont* font = nullptr;
  EXPECT_EQ(D3DXCreateFontIndirect(device, &logFont, &font), S_OK);
  return Font(font);
}

// Where a text drawn black on the clear colour left its marks.
struct Ink {
  int pixels = 0;
  long weight = 0;  // summed darkness, 0..255 per pixel
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive box
  INT height = 0;  // what DrawTextA returned
};

// Clears, draws one text in `rect`, returns its ink.
Ink DrawText(TestDevice& t, const Font& font, const char* text, RECT rect = {0, 0, 200, 20}) {
  t.Clear();
  Ink ink;
  font->Begin();
  ink.height = font->DrawTextA(text, -1, &rect, DT_TOP | DT_LEFT, kBlack);
  font->End();
  const d3d8::PixelImage image = t.Pixels();
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

TEST(Font, DrawsBlackAntialiasedGlyphsOfItsWeightInsideTheRectangleOnly) {
  TestDevice t(240, 60);
  const Font font = MakeFont(t.device());
  ASSERT_NE(font, nullptr);
  constexpr const char* kText = "Numero de Vertices: 1234";
  const Ink ink = DrawText(t, font, kText, {0, 20, 200, 40});
  EXPECT_TRUE(ink.height > 0 && ink.height <= 20) << ink.height;
  ASSERT_GT(ink.pixels, 100);
  // One line from the top left corner, within the rectangle's rows.
  EXPECT_TRUE(ink.top >= 20 && ink.bottom < 40 && ink.left < 4 && ink.right > 100)
      << ink.left << " " << ink.top << " " << ink.right << " " << ink.bottom;
  // Every touched pixel lies between the background and black: red stays 0,
  // green and blue fall together; some are fully black.
  const d3d8::PixelImage image = t.Pixels();
  for (std::uint32_t pixel : image.pixels)
    ASSERT_TRUE((pixel & 0xFFFF0000u) == kBlack && ((pixel >> 8) & 0xFF) == (pixel & 0xFF)) << std::hex << pixel;
  EXPECT_GT(CountPixels(image, kBlack), 20);
  // A narrow rectangle cuts the line off at its right edge.
  const Ink clipped = DrawText(t, font, kText, {10, 0, 50, 20});
  EXPECT_TRUE(clipped.left >= 10 && clipped.right < 50 && clipped.pixels > 20);
  // The weight chooses the face: bold draws heavier strokes than regular.
  EXPECT_GT(ink.weight, DrawText(t, MakeFont(t.device(), FW_NORMAL), kText, {0, 20, 200, 40}).weight * 11 / 10);
}

TEST(Font, OrdinalIndicatorOfWindows1252IsARaisedSmallOAlsoAfterAReset) {
  TestDevice t(240, 60);
  const Font font = MakeFont(t.device());
  for (int width : {240, 300}) {
    // The font keeps drawing into the back buffer a reset makes anew.
    t.window().Resize(width, 40);
    D3DPRESENT_PARAMETERS params = EditorPresentParameters();
    ASSERT_EQ(t.device()->Reset(&params), S_OK);
    const Ink capital = DrawText(t, font, "N");
    const Ink ordinal = DrawText(t, font, "\xBA");  // the "º" of "Nº VertexBuffers"
    const Ink small = DrawText(t, font, "o");
    ASSERT_GT(ordinal.pixels, 5);
    const int capitalHeight = capital.bottom - capital.top + 1;
    // It sits in the upper half of a capital's height and is smaller than "o".
    EXPECT_LE(ordinal.top, capital.top + capitalHeight / 4);
    EXPECT_LT(ordinal.bottom, capital.top + capitalHeight * 3 / 4);
    EXPECT_LT(ordinal.bottom, small.bottom);
    EXPECT_LT(ordinal.weight, small.weight * 2);
    // In a line it takes its place after the N, which reaches past 240 here.
    const Ink line = DrawText(t, font, "N\xBA VertexBuffers: 3, N\xBA Vertices: 1234, N\xBA Tris: 88",
                              {0, 0, width, 20});
    EXPECT_EQ(line.top, std::min(capital.top, ordinal.top));
    EXPECT_EQ(line.right >= 240, width > 240);
  }
}

}  // namespace
