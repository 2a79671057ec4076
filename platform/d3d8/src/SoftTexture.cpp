#include "SoftTexture.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "Faults.h"

namespace d3d8 {
namespace {

// Larger textures are refused rather than allocated.
constexpr UINT kMaxTextureSize = 8192;

UINT FullChainLength(UINT width, UINT height) {
  UINT levels = 1;
  for (UINT size = std::max(width, height); size > 1; size >>= 1) ++levels;
  return levels;
}

std::uint32_t Expand5(std::uint32_t v) { return (v << 3) | (v >> 2); }

std::uint32_t DecodeTexel(D3DFORMAT format, const BYTE* p) {
  switch (format) {
    case D3DFMT_R8G8B8:
      return 0xFF000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
    case D3DFMT_A8R8G8B8: {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
    case D3DFMT_X8R8G8B8: {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return 0xFF000000u | v;
    }
    case D3DFMT_X1R5G5B5: {
      const std::uint32_t v = p[0] | (std::uint32_t{p[1]} << 8);
      return 0xFF000000u | (Expand5((v >> 10) & 31) << 16) | (Expand5((v >> 5) & 31) << 8) |
             Expand5(v & 31);
    }
    default:
      return 0;
  }
}

}  // namespace

UINT TextureFormatBytes(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_R8G8B8:
      return 3;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
      return 4;
    case D3DFMT_X1R5G5B5:
      return 2;
    default:
      return 0;
  }
}

HRESULT SoftTexture::Create(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                            D3DPOOL pool, SoftTexture** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  const UINT bytesPerTexel = TextureFormatBytes(format);
  if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize ||
      bytesPerTexel == 0)
    return D3DERR_INVALIDCALL;
  if (FaultDue(Fault::CreateTexture)) return D3DERR_OUTOFVIDEOMEMORY;
  const UINT chain = FullChainLength(width, height);
  if (levels == 0 || levels > chain) levels = chain;

  SoftTexture* created = new (std::nothrow) SoftTexture(format, usage, pool);
  if (!created) return E_OUTOFMEMORY;
  try {
    UINT w = width, h = height;
    for (UINT i = 0; i < levels; ++i) {
      const UINT pitch = w * bytesPerTexel + TexturePitchPadding();
      created->levels_.push_back(Level{w, h, pitch, std::vector<BYTE>(size_t{pitch} * h)});
      w = std::max(1u, w / 2);
      h = std::max(1u, h / 2);
    }
    created->texels_.resize(size_t{width} * height);
  } catch (const std::bad_alloc&) {
    created->Release();
    return E_OUTOFMEMORY;
  }
  *texture = created;
  return S_OK;
}

DWORD SoftTexture::GetLevelCount() { return static_cast<DWORD>(levels_.size()); }

HRESULT SoftTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
  if (level >= levels_.size() || !desc) return D3DERR_INVALIDCALL;
  const Level& l = levels_[level];
  *desc = D3DSURFACE_DESC{format_, D3DRTYPE_SURFACE, usage_, pool_,
                          static_cast<UINT>(l.bytes.size()), D3DMULTISAMPLE_NONE, l.width, l.height};
  return S_OK;
}

HRESULT SoftTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
  if (level >= levels_.size() || !locked) return D3DERR_INVALIDCALL;
  Level& l = levels_[level];
  if (l.locked) return D3DERR_INVALIDCALL;
  RECT area{0, 0, static_cast<LONG>(l.width), static_cast<LONG>(l.height)};
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
        rect->top >= rect->bottom || rect->right > area.right || rect->bottom > area.bottom)
      return D3DERR_INVALIDCALL;
    area = *rect;
  }
  if (FaultDue(Fault::LockTexture)) return D3DERR_INVALIDCALL;
  if (level == 0 && decoded_ == Decoded::Stale) DecodeLevel0();  // the texels before the lock
  l.locked = true;
  locked->Pitch = static_cast<INT>(l.pitch);
  locked->pBits = l.bytes.data() + size_t{l.pitch} * area.top +
                  size_t{TextureFormatBytes(format_)} * area.left;
  return S_OK;
}

HRESULT SoftTexture::UnlockRect(UINT level) {
  if (level >= levels_.size() || !levels_[level].locked) return D3DERR_INVALIDCALL;
  levels_[level].locked = false;
  if (level == 0) decoded_ = Decoded::Stale;
  return S_OK;
}

void SoftTexture::DecodeLevel0() const {
  const Level& l = levels_[0];
  const UINT bytesPerTexel = TextureFormatBytes(format_);
  for (UINT y = 0; y < l.height; ++y) {
    const BYTE* row = l.bytes.data() + size_t{l.pitch} * y;
    std::uint32_t* out = texels_.data() + size_t{l.width} * y;
    if (format_ == D3DFMT_A8R8G8B8) {  // already the texels' own layout
      std::memcpy(out, row, size_t{l.width} * 4);
      continue;
    }
    for (UINT x = 0; x < l.width; ++x) out[x] = DecodeTexel(format_, row + x * bytesPerTexel);
  }
  decoded_ = Decoded::Current;
}

TexelImage SoftTexture::Texels() const {
  if (decoded_ != Decoded::Current) {
    if (!levels_[0].locked) {
      DecodeLevel0();
    } else {  // made and locked ever since: every texel is still all zero bytes
      const BYTE zero[4] = {};
      std::fill(texels_.begin(), texels_.end(), DecodeTexel(format_, zero));
      decoded_ = Decoded::Current;
    }
  }
  return TexelImage{texels_.data(), static_cast<int>(levels_[0].width),
                    static_cast<int>(levels_[0].height)};
}

}  // namespace d3d8
