#include "d3d/Direct3DMain.h"

namespace {

constexpr UINT kD3DSdkVersion = 220;
constexpr UINT kDefaultAdapter = 0;

}  // namespace

dxMain::~dxMain() {
  if (d3d != nullptr) d3d->Release();
}

HRESULT dxMain::CreateD3D() {
  if (d3d != nullptr) d3d->Release();
  d3d = Direct3DCreate8(kD3DSdkVersion);
  return d3d == nullptr ? E_FAIL : S_OK;
}

D3DPRESENT_PARAMETERS dxMain::GetPresentParameters(bool windowed) {
  presentParameters = D3DPRESENT_PARAMETERS{};
  if (d3d == nullptr) return presentParameters;
  d3d->GetAdapterDisplayMode(kDefaultAdapter, &displayMode);
  presentParameters.BackBufferFormat = displayMode.Format;
  presentParameters.BackBufferCount = 1;
  presentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  presentParameters.hDeviceWindow = nullptr;
  presentParameters.Windowed = windowed;
  presentParameters.EnableAutoDepthStencil = TRUE;
  presentParameters.AutoDepthStencilFormat = D3DFMT_D16;
  return presentParameters;
}

HRESULT dxMain::CreateDevice(HWND window, bool windowed, dxDevice8** out, DWORD behaviourFlags) {
  if (d3d == nullptr || out == nullptr) return E_FAIL;
  *out = new dxDevice8();
  GetPresentParameters(windowed);
  IDirect3DDevice8* device = nullptr;
  if (FAILED(d3d->CreateDevice(kDefaultAdapter, D3DDEVTYPE_HAL, window, behaviourFlags,
                               &presentParameters, &device)) ||
      device == nullptr)
    return E_FAIL;
  (*out)->SetDevice(device);
  return S_OK;
}
