#pragma once
// D3DX text: a font chosen from a LOGFONT that draws anti-aliased glyphs into
// the device's back buffer.

#include "d3d8/Direct3D8.h"

// DrawTextA format flags. The text is always laid out from the rectangle's top
// left corner, one line per '\n', and clipped to the rectangle.
constexpr DWORD DT_TOP = 0x0;
constexpr DWORD DT_LEFT = 0x0;

class ID3DXFont : public ID3DUnknown {
 public:
  // Bracket a group of DrawTextA calls; drawing also works outside them.
  virtual HRESULT Begin() = 0;
  virtual HRESULT End() = 0;
  // Draws narrow text (Windows-1252; count -1: up to the terminator) in the
  // colour's red, green and blue, each pixel blended by the glyph's coverage
  // times the colour's alpha. Returns the height of the text drawn in pixels,
  // 0 on failure.
  virtual INT DrawTextA(const char* text, INT count, RECT* rect, DWORD format, D3DCOLOR color) = 0;
  virtual HRESULT GetLogFont(LOGFONT* logFont) = 0;
};

// The face is the installed font that best matches lfFaceName, lfWeight and
// lfItalic. lfHeight > 0 is the cell height, < 0 the character height, 0 the
// default of 16 pixels of cell height. The font holds a reference to the device.
HRESULT D3DXCreateFontIndirect(IDirect3DDevice8* device, const LOGFONT* logFont, ID3DXFont** font);
