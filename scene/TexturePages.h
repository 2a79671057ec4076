#pragma once
// One device texture per 256 x 256 page of the open WAD's converted pixels.

#include <cstdint>
#include <vector>

#include "d3d8/Direct3D8.h"
#include "scene/TextureInfo.h"

class dxDevice8;

class trTextura {
 public:
  // Whole pages of info's pixels; a partial page at the end is not a page.
  // info must outlive the pages (its pixels are read by CreateTextures).
  explicit trTextura(const TextureInfo& info);
  ~trTextura();
  trTextura(const trTextura&) = delete;
  trTextura& operator=(const trTextura&) = delete;

  // Creates each page's texture on the device (textures created before are
  // released first). E_FAIL without a device. A page whose texture cannot be
  // made has none.
  HRESULT CreateTextures(dxDevice8* device);

  // The texture of a page; null for a page that does not exist or has none.
  IDirect3DTexture8* GetTexture(std::int32_t page) const;

  std::int32_t PageCount() const { return pageCount; }

 private:
  void ReleaseTextures();

  std::vector<IDirect3DTexture8*> pageTextures;  // owned references
  std::int32_t pageCount;
  const TextureInfo& info;
};
