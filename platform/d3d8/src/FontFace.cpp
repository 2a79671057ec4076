#include "FontFace.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <string>

namespace d3d8 {
namespace {

// The font mapper's cell height for lfHeight 0.
constexpr int kDefaultCellHeight = 16;

struct FontFile {
  std::string path;
  int index = 0;
};

// The installed scalable font nearest to the description, by fontconfig's
// matching (family, weight, slant); empty when there is none.
FontFile MatchFontFile(const LOGFONT& logFont) {
  FontFile found;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return found;
  FcPattern* pattern = FcPatternCreate();
  const std::string family(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
  if (!family.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  const int weight = logFont.lfWeight > 0 ? static_cast<int>(logFont.lfWeight) : FW_NORMAL;
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, logFont.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
      found.path = reinterpret_cast<const char*>(file);
      FcPatternGetInteger(match, FC_INDEX, 0, &found.index);
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return found;
}

// Pixels per em for the LOGFONT height: negative heights give the character
// height, positive ones the cell height (ascender plus descender).
FT_UInt PixelsPerEm(const LOGFONT& logFont, FT_Face face) {
  if (logFont.lfHeight < 0) return static_cast<FT_UInt>(-static_cast<long>(logFont.lfHeight));
  const long cell = logFont.lfHeight > 0 ? logFont.lfHeight : kDefaultCellHeight;
  const long fontUnits = face->ascender - face->descender;
  if (fontUnits <= 0) return static_cast<FT_UInt>(cell);
  return static_cast<FT_UInt>(std::max(1L, cell * face->units_per_EM / fontUnits));
}

// 26.6 fixed point to whole pixels, rounding up (ascent) or to nearest.
int CeilPixels(FT_Pos value) { return static_cast<int>((value + 63) >> 6); }
int RoundPixels(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }

}  // namespace

std::unique_ptr<FontFace> FontFace::Open(const LOGFONT& logFont) {
  const FontFile file = MatchFontFile(logFont);
  if (file.path.empty()) return nullptr;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0 ||
      FT_Set_Pixel_Sizes(face, 0, PixelsPerEm(logFont, face)) != 0) {
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(library);
    return nullptr;
  }
  std::unique_ptr<FontFace> opened(new FontFace(library, face));
  opened->ascent_ = CeilPixels(face->size->metrics.ascender);
  opened->lineHeight_ = std::max(1, RoundPixels(face->size->metrics.height));
  return opened;
}

FontFace::~FontFace() {
  FT_Done_Face(face_);
  FT_Done_FreeType(library_);
}

const Glyph& FontFace::GlyphFor(char32_t codePoint) {
  if (auto it = glyphs_.find(codePoint); it != glyphs_.end()) return it->second;
  Glyph glyph{0, 0, 0, 0, 0, {}};
  if (FT_Load_Char(face_, codePoint, FT_LOAD_RENDER) == 0) {
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = RoundPixels(slot->advance.x);
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.buffer) {
      glyph.width = static_cast<int>(bitmap.width);
      glyph.height = static_cast<int>(bitmap.rows);
      glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
      // A negative pitch stores the rows bottom first.
      const std::ptrdiff_t pitch = bitmap.pitch;
      const unsigned char* top =
          pitch >= 0 ? bitmap.buffer : bitmap.buffer - pitch * (glyph.height - 1);
      for (int y = 0; y < glyph.height; ++y)
        std::memcpy(glyph.coverage.data() + static_cast<size_t>(y) * glyph.width, top + y * pitch,
                    glyph.width);
    }
  }
  return glyphs_.emplace(codePoint, std::move(glyph)).first->second;
}

}  // namespace d3d8
