#include "scene/StatsFont.h"

#include <cstring>

namespace {

constexpr char kStatsFace[] = "Times";
constexpr BYTE kDefaultPitchAnyFamily = 0;

LOGFONT StatsLogFont() {
  LOGFONT font{};
  font.lfHeight = 0;  // the font mapper's default size
  font.lfWidth = 0;
  font.lfEscapement = 0;
  font.lfOrientation = 0;
  font.lfWeight = FW_BOLD;
  font.lfItalic = 0;
  font.lfUnderline = 0;
  font.lfStrikeOut = 0;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = ANTIALIASED_QUALITY;
  font.lfPitchAndFamily = kDefaultPitchAnyFamily;
  static_assert(sizeof kStatsFace <= LF_FACESIZE);
  std::memcpy(font.lfFaceName, kStatsFace, sizeof kStatsFace);
  return font;
}

}  // namespace

StatsFont::~StatsFont() {
  if (statsFont != nullptr) statsFont->Release();
}

void CreateStatsFont(StatsFont& stats, IDirect3DDevice8* device) {
  stats.statsLogFont = StatsLogFont();
  stats.statsRect = RECT{};
  if (stats.statsFont != nullptr) {
    stats.statsFont->Release();
    stats.statsFont = nullptr;
  }
  if (device == nullptr) return;
  if (FAILED(D3DXCreateFontIndirect(device, &stats.statsLogFont, &stats.statsFont)))
    stats.statsFont = nullptr;
}
