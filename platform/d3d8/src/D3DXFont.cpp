#include "d3d8/D3DXFont.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "FontFace.h"
#include "RefCounted.h"
#include "SoftDevice.h"

namespace d3d8 {
namespace {

// Code points of the Windows-1252 bytes 0x80..0x9F; the five bytes it leaves
// undefined keep their own value. Every other byte is its own code point.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FromCp1252(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
}

std::uint32_t Blend(std::uint32_t dst, std::uint32_t src, std::uint32_t weight) {
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t d = (dst >> shift) & 0xFF, s = (src >> shift) & 0xFF;
    out |= ((d * (255 - weight) + s * weight + 127) / 255) << shift;
  }
  return out;
}

class SoftFont final : public RefCounted<ID3DXFont> {
 public:
  SoftFont(SoftDevice* device, const LOGFONT& logFont, std::unique_ptr<FontFace> face)
      : device_(device), logFont_(logFont), face_(std::move(face)) {
    device_->AddRef();
  }

  HRESULT Begin() override {
    if (begun_) return D3DERR_INVALIDCALL;
    begun_ = true;
    return S_OK;
  }

  HRESULT End() override {
    if (!begun_) return D3DERR_INVALIDCALL;
    begun_ = false;
    return S_OK;
  }

  INT DrawTextA(const char* text, INT count, RECT* rect, DWORD, D3DCOLOR color) override;

  HRESULT GetLogFont(LOGFONT* logFont) override {
    if (!logFont) return D3DERR_INVALIDCALL;
    *logFont = logFont_;
    return S_OK;
  }

 private:
  ~SoftFont() override { device_->Release(); }
  void DrawGlyph(const RenderTarget& target, const RECT& clip, const Glyph& glyph, int penX,
                 int baseline, D3DCOLOR color);

  SoftDevice* device_;
  LOGFONT logFont_;
  std::unique_ptr<FontFace> face_;
  bool begun_ = false;
};

INT SoftFont::DrawTextA(const char* text, INT count, RECT* rect, DWORD, D3DCOLOR color) {
  if (!text || !rect) return 0;
  const size_t length = count < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(count));
  const RenderTarget target = device_->Target();
  int penX = rect->left, lineTop = rect->top, lines = 1;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte == '\r') continue;
    if (byte == '\n') {
      penX = rect->left;
      lineTop += face_->LineHeight();
      ++lines;
      continue;
    }
    const Glyph& glyph = face_->GlyphFor(FromCp1252(byte));
    DrawGlyph(target, *rect, glyph, penX, lineTop + face_->Ascent(), color);
    penX += glyph.advance;
  }
  return lines * face_->LineHeight();
}

void SoftFont::DrawGlyph(const RenderTarget& target, const RECT& clip, const Glyph& glyph,
                         int penX, int baseline, D3DCOLOR color) {
  const std::uint32_t alpha = color >> 24;
  const int left = std::max<int>(0, clip.left), right = std::min<int>(target.width, clip.right);
  const int top = std::max<int>(0, clip.top), bottom = std::min<int>(target.height, clip.bottom);
  const int x0 = penX + glyph.left, y0 = baseline - glyph.top;
  target.colorTouched->Add(std::max(left, x0), std::max(top, y0),
                           std::min(right, x0 + glyph.width) - 1, std::min(bottom, y0 + glyph.height) - 1);
  for (int gy = 0; gy < glyph.height; ++gy) {
    const int y = y0 + gy;
    if (y < top || y >= bottom) continue;
    for (int gx = 0; gx < glyph.width; ++gx) {
      const int x = x0 + gx;
      const std::uint32_t coverage = glyph.coverage[static_cast<size_t>(gy) * glyph.width + gx];
      if (x < left || x >= right || coverage == 0) continue;
      std::uint32_t& pixel = target.color[static_cast<size_t>(y) * target.width + x];
      pixel = Blend(pixel, color, (coverage * alpha + 127) / 255);
    }
  }
}

}  // namespace
}  // namespace d3d8

HRESULT D3DXCreateFontIndirect(IDirect3DDevice8* device, const LOGFONT* logFont, ID3DXFont** font) {
  if (!font) return D3DERR_INVALIDCALL;
  *font = nullptr;
  d3d8::SoftDevice* ours = dynamic_cast<d3d8::SoftDevice*>(device);
  if (!ours || !logFont) return D3DERR_INVALIDCALL;
  std::unique_ptr<d3d8::FontFace> face = d3d8::FontFace::Open(*logFont);
  if (!face) return E_FAIL;
  *font = new (std::nothrow) d3d8::SoftFont(ours, *logFont, std::move(face));
  return *font ? S_OK : E_OUTOFMEMORY;
}
