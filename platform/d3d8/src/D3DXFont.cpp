#include "d3d8/D3DXFont.h"

HRESULT D3DXCreateFontIndirect(IDirect3DDevice8* device, const LOGFONT* logFont, ID3DXFont** font) {
  if (font) *font = nullptr;
  if (!device || !logFont || !font) return D3DERR_INVALIDCALL;
  return E_FAIL;
}
