#include "scene/TexturePages.h"

#include <algorithm>

#include "d3d/Device8.h"

trTextura::trTextura(const TextureInfo& info)
    : pageCount(static_cast<std::int32_t>(
          std::min<std::size_t>(info.byteCount, info.pixels.size()) >> kTexturePageShift)),
      info(info) {}

trTextura::~trTextura() { ReleaseTextures(); }

void trTextura::ReleaseTextures() {
  for (IDirect3DTexture8*& texture : pageTextures) {
    if (texture != nullptr) texture->Release();
    texture = nullptr;
  }
  pageTextures.clear();
}

HRESULT trTextura::CreateTextures(dxDevice8* device) {
  if (device == nullptr) return E_FAIL;
  ReleaseTextures();
  pageTextures.assign(static_cast<std::size_t>(pageCount), nullptr);
  for (std::int32_t page = 0; page < pageCount; ++page) {
    const std::uint8_t* pixels = info.pixels.data() + std::size_t{kTexturePageBytes} * page;
    pageTextures[static_cast<std::size_t>(page)] = device->CreateTextureFromPixels(
        kTexturePageSide, kTexturePageSide, D3DFMT_A8R8G8B8, pixels);
  }
  return S_OK;
}

IDirect3DTexture8* trTextura::GetTexture(std::int32_t page) const {
  if (page < 0 || static_cast<std::size_t>(page) >= pageTextures.size()) return nullptr;
  return pageTextures[static_cast<std::size_t>(page)];
}
