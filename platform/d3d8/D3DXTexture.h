#pragma once
// D3DX texture creation.

#include "d3d8/Direct3D8.h"

// The D3DX failure for a file it cannot read or decode.
constexpr HRESULT D3DXERR_INVALIDDATA = MakeD3DError(2905);

// A texture of width x height with mipLevels levels (0: the full chain down
// to 1 x 1). Every level is allocated; the caller fills them (drawing samples
// level 0 only).
HRESULT D3DXCreateTexture(IDirect3DDevice8* device, UINT width, UINT height, UINT mipLevels,
                          DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture);

// A managed A8R8G8B8 texture of the image in a file (BMP and the other
// formats stb_image reads), at the image's own size, full mip chain with
// level 0 filled. The name is wide text; relative names start at the working
// directory. *texture stays null on failure.
HRESULT D3DXCreateTextureFromFileW(IDirect3DDevice8* device, const WCHAR* fileName,
                                   IDirect3DTexture8** texture);
