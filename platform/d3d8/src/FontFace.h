#pragma once
// An installed font chosen by fontconfig from a LOGFONT and rasterised by
// FreeType into anti-aliased glyphs, each rendered once and kept.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "win32/Win32Types.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace d3d8 {

struct Glyph {
  int left;     // from the pen position to the bitmap's first column
  int top;      // from the baseline up to the bitmap's first row
  int width;
  int height;
  int advance;  // pen step in pixels
  std::vector<std::uint8_t> coverage;  // width x height, 0..255
};

class FontFace {
 public:
  // Null when no installed font can be opened at the asked size.
  static std::unique_ptr<FontFace> Open(const LOGFONT& logFont);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // The glyph of a code point (the font's missing-glyph shape when it has none).
  const Glyph& GlyphFor(char32_t codePoint);
  int Ascent() const { return ascent_; }
  int LineHeight() const { return lineHeight_; }

 private:
  FontFace(FT_LibraryRec_* library, FT_FaceRec_* face) : library_(library), face_(face) {}

  FT_LibraryRec_* library_;
  FT_FaceRec_* face_;
  int ascent_ = 0;
  int lineHeight_ = 0;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

}  // namespace d3d8
