#include "d3d8/D3DXTexture.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "win32/TextConversion.h"
#include "stb/stb_image.h"

HRESULT D3DXCreateTexture(IDirect3DDevice8* device, UINT width, UINT height, UINT mipLevels,
                          DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture8** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  return device->CreateTexture(width, height, mipLevels, usage, format, pool, texture);
}

namespace {

// Copies stb_image's RGBA rows into a locked A8R8G8B8 level.
void CopyRgbaRows(const unsigned char* rgba, int width, int height, const D3DLOCKED_RECT& locked) {
  for (int y = 0; y < height; ++y) {
    BYTE* row = static_cast<BYTE*>(locked.pBits) + static_cast<std::ptrdiff_t>(locked.Pitch) * y;
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = rgba + (static_cast<size_t>(y) * width + x) * 4;
      const std::uint32_t argb = (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[0]} << 16) |
                                 (std::uint32_t{p[1]} << 8) | p[2];
      std::memcpy(row + static_cast<size_t>(x) * 4, &argb, 4);
    }
  }
}

}  // namespace

HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice8* device, const WCHAR* fileName,
                                   IDirect3DTexture8** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (!device || !fileName) return D3DERR_INVALIDCALL;
  const std::string path = Utf8FromWide(fileName);
  int width = 0, height = 0, channels = 0;
  unsigned char* rgba = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (!rgba) return D3DXERR_INVALIDDATA;

  IDirect3DTexture8* created = nullptr;
  HRESULT hr = device->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 0, 0,
                                     D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &created);
  D3DLOCKED_RECT locked;
  if (SUCCEEDED(hr)) hr = created->LockRect(0, &locked, nullptr, 0);
  if (SUCCEEDED(hr)) {
    CopyRgbaRows(rgba, width, height, locked);
    created->UnlockRect(0);
    *texture = created;
  } else if (created) {
    created->Release();
  }
  stbi_image_free(rgba);
  return hr;
}
