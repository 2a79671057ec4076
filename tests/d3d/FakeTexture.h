#pragma once
// A texture that only reports a size, for polygon tests that need no device.
// Its level description can be made to fail.

#include "d3d8/Direct3D8.h"

class FakeTexture : public IDirect3DTexture8 {
 public:
  FakeTexture(UINT width, UINT height, bool describes = true)
      : width(width), height(height), describes(describes) {}
  ~FakeTexture() override = default;

  DWORD AddRef() override { return ++references; }
  DWORD Release() override { return --references; }
  DWORD GetLevelCount() override { return 1; }
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override {
    if (!describes || level != 0) return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{};
    desc->Width = width;
    desc->Height = height;
    return S_OK;
  }
  HRESULT LockRect(UINT, D3DLOCKED_RECT*, const RECT*, DWORD) override {
    return D3DERR_INVALIDCALL;
  }
  HRESULT UnlockRect(UINT) override { return D3DERR_INVALIDCALL; }

  // References taken beyond the owner's own; polygons must take none.
  DWORD references = 1;

 private:
  UINT width;
  UINT height;
  bool describes;
};
