#pragma once
// Owner of the process's Direct3D interface; creates the one device.

#include "d3d/Device8.h"

class dxMain {
 public:
  dxMain() = default;
  ~dxMain();
  dxMain(const dxMain&) = delete;
  dxMain& operator=(const dxMain&) = delete;

  HRESULT CreateD3D();
  // Windowed or full-screen parameters for the desktop's display mode, the
  // back buffer taking the size of the window's client area. Zeroed while
  // there is no Direct3D. Also kept as the last parameters built.
  D3DPRESENT_PARAMETERS GetPresentParameters(bool windowed);
  // Stores a new wrapper through out (the caller owns it) and gives it a
  // device presenting into window. On E_FAIL after the wrapper was made, it
  // stays stored without a device.
  HRESULT CreateDevice(HWND window, bool windowed, dxDevice8** out, DWORD behaviourFlags);

 private:
  IDirect3D8* d3d = nullptr;  // owned reference
  D3DPRESENT_PARAMETERS presentParameters{};
  D3DDISPLAYMODE displayMode{};
};
