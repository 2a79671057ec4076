#pragma once
// A texture held in memory: every mip level in its own format, plus level 0
// decoded to 32-bit ARGB texels for the rasteriser.

#include <cstdint>
#include <vector>

#include "RefCounted.h"

namespace d3d8 {

// Level 0 as the rasteriser samples it.
struct TexelImage {
  const std::uint32_t* texels = nullptr;  // 0xAARRGGBB, rows packed
  int width = 0;
  int height = 0;
};

class SoftTexture final : public RefCounted<IDirect3DTexture8> {
 public:
  static HRESULT Create(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, SoftTexture** texture);

  DWORD GetLevelCount() override;
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;

  TexelImage Texels() const;

 private:
  struct Level {
    UINT width;
    UINT height;
    UINT pitch;  // bytes per row, padding included
    std::vector<BYTE> bytes;
    bool locked = false;
  };

  SoftTexture(D3DFORMAT format, DWORD usage, D3DPOOL pool) : format_(format), usage_(usage), pool_(pool) {}
  void DecodeLevel0() const;

  D3DFORMAT format_;
  DWORD usage_;
  D3DPOOL pool_;
  std::vector<Level> levels_;
  // Level 0 is decoded when first sampled after it was made or unlocked, as
  // it stood before any lock that is still open.
  enum class Decoded { Fresh, Current, Stale };  // Fresh: made, never unlocked
  mutable std::vector<std::uint32_t> texels_;
  mutable Decoded decoded_ = Decoded::Fresh;
};

// Bytes per texel of a texture format the device samples; 0 for any other.
UINT TextureFormatBytes(D3DFORMAT format);

}  // namespace d3d8
