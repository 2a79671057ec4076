#include <new>

#include "Faults.h"
#include "RefCounted.h"
#include "SoftDevice.h"

namespace d3d8 {
namespace {

// The one adapter's desktop mode.
constexpr D3DDISPLAYMODE kDesktopMode{1920, 1080, 60, D3DFMT_X8R8G8B8};

class SoftDirect3D final : public RefCounted<IDirect3D8> {
 public:
  UINT GetAdapterCount() override { return 1; }

  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    *mode = kDesktopMode;
    return S_OK;
  }

  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD,
                       D3DPRESENT_PARAMETERS* params, IDirect3DDevice8** device) override {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF))
      return D3DERR_INVALIDCALL;
    if (FaultDue(Fault::CreateDevice)) return D3DERR_NOTAVAILABLE;
    SoftDevice* created = nullptr;
    const HRESULT hr = SoftDevice::Create(focusWindow, params, &created);
    *device = created;
    return hr;
  }
};

}  // namespace
}  // namespace d3d8

IDirect3D8* Direct3DCreate8(UINT sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION || d3d8::FaultDue(d3d8::Fault::NoDirect3D)) return nullptr;
  return new (std::nothrow) d3d8::SoftDirect3D();
}
