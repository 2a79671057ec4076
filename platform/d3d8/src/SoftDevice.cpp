#include "SoftDevice.h"

#include <algorithm>
#include <new>

#include "Faults.h"
#include "SoftTexture.h"
#include "SoftVertexBuffer.h"

namespace d3d8 {
namespace {

// Back buffers larger than this are refused rather than allocated.
constexpr UINT kMaxBackBufferSize = 8192;
constexpr std::uint16_t kFarDepth = 0xFFFF;
constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint16_t DepthValue(float z) {
  const float clamped = std::clamp(z, 0.0f, 1.0f);  // NaN stays: handled below
  if (!(clamped >= 0.0f)) return kFarDepth;
  return static_cast<std::uint16_t>(clamped * kFarDepth + 0.5f);
}

}  // namespace

HRESULT ResolveBackBufferSetup(HWND focusWindow, const D3DPRESENT_PARAMETERS* params,
                               BackBufferSetup* setup) {
  if (!params) return D3DERR_INVALIDCALL;
  if (!params->Windowed) return D3DERR_NOTAVAILABLE;
  const D3DFORMAT format = params->BackBufferFormat;
  if (format != D3DFMT_UNKNOWN && format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8)
    return D3DERR_NOTAVAILABLE;
  if (params->EnableAutoDepthStencil && params->AutoDepthStencilFormat != D3DFMT_D16)
    return D3DERR_NOTAVAILABLE;
  NativeWindow* window = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
  if (!window) return D3DERR_INVALIDCALL;
  // A window with no client area yet still gets a one-pixel back buffer.
  UINT width = params->BackBufferWidth;
  UINT height = params->BackBufferHeight;
  if (width == 0) width = static_cast<UINT>(std::max(1, window->ClientWidth()));
  if (height == 0) height = static_cast<UINT>(std::max(1, window->ClientHeight()));
  if (width > kMaxBackBufferSize || height > kMaxBackBufferSize) return D3DERR_INVALIDCALL;
  *setup = BackBufferSetup{window, width, height, params->EnableAutoDepthStencil != FALSE};
  return S_OK;
}

HRESULT SoftDevice::Create(HWND focusWindow, D3DPRESENT_PARAMETERS* params, SoftDevice** device) {
  if (!device) return D3DERR_INVALIDCALL;
  *device = nullptr;
  BackBufferSetup setup;
  if (HRESULT hr = ResolveBackBufferSetup(focusWindow, params, &setup); FAILED(hr)) return hr;
  SoftDevice* created = new (std::nothrow) SoftDevice(focusWindow);
  if (!created) return E_OUTOFMEMORY;
  if (HRESULT hr = created->ApplySetup(setup); FAILED(hr)) {
    created->Release();
    return hr;
  }
  created->RestoreDefaultStates();
  params->BackBufferWidth = setup.width;
  params->BackBufferHeight = setup.height;
  params->BackBufferFormat = D3DFMT_X8R8G8B8;
  *device = created;
  return S_OK;
}

SoftDevice::~SoftDevice() { UnbindAll(); }

HRESULT SoftDevice::ApplySetup(const BackBufferSetup& setup) {
  try {
    const size_t pixels = size_t{setup.width} * setup.height;
    std::vector<std::uint32_t> color(pixels, kOpaque);
    std::vector<std::uint16_t> depth(setup.depth ? pixels : 0, kFarDepth);
    color_.swap(color);
    depth_.swap(depth);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  colorFill_ = kOpaque;
  depthFill_ = kFarDepth;
  colorTouched_.Forget();
  depthTouched_.Forget();
  window_ = setup.window;
  width_ = setup.width;
  height_ = setup.height;
  return S_OK;
}

void SoftDevice::RestoreDefaultStates() {
  renderStates_.fill(0);
  renderStates_[D3DRS_ZENABLE] = depth_.empty() ? D3DZB_FALSE : D3DZB_TRUE;
  renderStates_[D3DRS_FILLMODE] = D3DFILL_SOLID;
  renderStates_[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
  renderStates_[D3DRS_LIGHTING] = TRUE;
  for (auto& stage : stageStates_) {
    stage.fill(0);
    stage[D3DTSS_COLOROP] = D3DTOP_DISABLE;
    stage[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    stage[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    stage[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
    stage[D3DTSS_MINFILTER] = D3DTEXF_POINT;
  }
  stageStates_[0][D3DTSS_COLOROP] = D3DTOP_MODULATE;
  D3DXMatrixIdentity(&world_);
  D3DXMatrixIdentity(&view_);
  D3DXMatrixIdentity(&projection_);
  combinedCurrent_ = false;
  UnbindAll();
  fvf_ = 0;
  layout_ = VertexLayout{};
}

void SoftDevice::UnbindAll() {
  for (auto& texture : textures_) ReplaceReference<IDirect3DBaseTexture8>(texture, nullptr);
  stage0Texture_ = nullptr;
  IDirect3DVertexBuffer8* stream = stream_;
  ReplaceReference<IDirect3DVertexBuffer8>(stream, nullptr);
  stream_ = nullptr;
  streamStride_ = 0;
}

RenderTarget SoftDevice::Target() {
  return RenderTarget{color_.data(), depth_.empty() ? nullptr : depth_.data(), Width(), Height(),
                      &colorTouched_, &depthTouched_};
}

template <class T>
void SoftDevice::Refill(std::vector<T>& buffer, int width, T value, T& filledWith,
                        TouchedArea& touched) {
  if (value != filledWith) {
    std::fill(buffer.begin(), buffer.end(), value);
  } else if (!touched.Empty()) {
    const std::size_t span = static_cast<std::size_t>(touched.Right() - touched.Left()) + 1;
    for (int y = touched.Top(); y <= touched.Bottom(); ++y) {
      const auto row = buffer.begin() + static_cast<std::ptrdiff_t>(y) * width + touched.Left();
      std::fill(row, row + static_cast<std::ptrdiff_t>(span), value);
    }
  }
  filledWith = value;
  touched.Forget();
}

HRESULT SoftDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                          DWORD) {
  if (count != 0 || rects) return D3DERR_INVALIDCALL;  // whole targets only
  if (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER)) return D3DERR_INVALIDCALL;
  if ((flags & D3DCLEAR_ZBUFFER) && depth_.empty()) return D3DERR_INVALIDCALL;
  if (flags & D3DCLEAR_TARGET) Refill(color_, Width(), color | kOpaque, colorFill_, colorTouched_);
  if (flags & D3DCLEAR_ZBUFFER) Refill(depth_, Width(), DepthValue(z), depthFill_, depthTouched_);
  return S_OK;
}

HRESULT SoftDevice::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  return S_OK;
}

HRESULT SoftDevice::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  inScene_ = false;
  ++stats_.scenes;
  return S_OK;
}

HRESULT SoftDevice::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                            const void* dirtyRegion) {
  if (sourceRect || destRect || dirtyRegion || inScene_) return D3DERR_INVALIDCALL;
  if (lost_) return D3DERR_DEVICELOST;
  if (FaultDue(Fault::PresentDeviceLost)) {
    lost_ = true;
    return D3DERR_DEVICELOST;
  }
  NativeWindow* window = destWindowOverride ? destWindowOverride : window_;
  window->ShowFrame(color_.data(), Width(), Height(), Width() * 4);
  ++stats_.presents;
  return S_OK;
}

HRESULT SoftDevice::Reset(D3DPRESENT_PARAMETERS* params) {
  if (inScene_) return D3DERR_INVALIDCALL;
  BackBufferSetup setup;
  if (HRESULT hr = ResolveBackBufferSetup(focusWindow_, params, &setup); FAILED(hr)) return hr;
  if (HRESULT hr = ApplySetup(setup); FAILED(hr)) return hr;
  RestoreDefaultStates();
  params->BackBufferWidth = setup.width;
  params->BackBufferHeight = setup.height;
  params->BackBufferFormat = D3DFMT_X8R8G8B8;
  lost_ = false;
  ++stats_.resets;
  return S_OK;
}

D3DXMATRIX* SoftDevice::TransformSlot(D3DTRANSFORMSTATETYPE state) {
  switch (state) {
    case D3DTS_WORLD:
      return &world_;
    case D3DTS_VIEW:
      return &view_;
    case D3DTS_PROJECTION:
      return &projection_;
    default:
      return nullptr;
  }
}

HRESULT SoftDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  D3DXMATRIX* slot = TransformSlot(state);
  if (!slot || !matrix) return D3DERR_INVALIDCALL;
  *slot = D3DXMATRIX(*matrix);
  combinedCurrent_ = false;
  return S_OK;
}

const D3DXMATRIX& SoftDevice::CombinedTransform() {
  if (!combinedCurrent_) {
    combined_ = world_ * view_ * projection_;
    combinedCurrent_ = true;
  }
  return combined_;
}

HRESULT SoftDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  D3DXMATRIX* slot = TransformSlot(state);
  if (!slot || !matrix) return D3DERR_INVALIDCALL;
  *matrix = *slot;
  return S_OK;
}

HRESULT SoftDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (state >= D3DRS_STATE_COUNT) return D3DERR_INVALIDCALL;
  renderStates_[state] = value;
  return S_OK;
}

HRESULT SoftDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  if (state >= D3DRS_STATE_COUNT || !value) return D3DERR_INVALIDCALL;
  *value = renderStates_[state];
  return S_OK;
}

HRESULT SoftDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage >= D3DTSS_STAGE_COUNT || type >= D3DTSS_STATE_COUNT) return D3DERR_INVALIDCALL;
  stageStates_[stage][type] = value;
  return S_OK;
}

HRESULT SoftDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                         DWORD* value) {
  if (stage >= D3DTSS_STAGE_COUNT || type >= D3DTSS_STATE_COUNT || !value)
    return D3DERR_INVALIDCALL;
  *value = stageStates_[stage][type];
  return S_OK;
}

HRESULT SoftDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
  if (stage >= D3DTSS_STAGE_COUNT) return D3DERR_INVALIDCALL;
  if (texture == textures_[stage]) return S_OK;  // bound already, checked when bound
  SoftTexture* ours = dynamic_cast<SoftTexture*>(texture);
  if (texture && !ours) return D3DERR_INVALIDCALL;
  ReplaceReference(textures_[stage], texture);
  if (stage == 0) stage0Texture_ = ours;
  return S_OK;
}

HRESULT SoftDevice::GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) {
  if (stage >= D3DTSS_STAGE_COUNT || !texture) return D3DERR_INVALIDCALL;
  *texture = textures_[stage];
  if (*texture) (*texture)->AddRef();
  return S_OK;
}

HRESULT SoftDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                  D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  SoftTexture* created = nullptr;
  const HRESULT hr = SoftTexture::Create(width, height, levels, usage, format, pool, &created);
  *texture = created;
  return hr;
}

HRESULT SoftDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer8** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  SoftVertexBuffer* created = nullptr;
  const HRESULT hr = SoftVertexBuffer::Create(length, usage, fvf, pool, &created);
  *buffer = created;
  return hr;
}

HRESULT SoftDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
  if (stream != 0) return D3DERR_INVALIDCALL;
  SoftVertexBuffer* ours = dynamic_cast<SoftVertexBuffer*>(buffer);
  if (buffer && !ours) return D3DERR_INVALIDCALL;
  IDirect3DVertexBuffer8* slot = stream_;
  ReplaceReference(slot, buffer);
  stream_ = ours;
  streamStride_ = stride;
  return S_OK;
}

HRESULT SoftDevice::GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) {
  if (stream != 0 || !buffer || !stride) return D3DERR_INVALIDCALL;
  *buffer = stream_;
  if (stream_) stream_->AddRef();
  *stride = streamStride_;
  return S_OK;
}

HRESULT SoftDevice::SetVertexShader(DWORD fvf) {
  VertexLayout layout;
  if (!ParseVertexFormat(fvf, &layout)) return D3DERR_INVALIDCALL;
  fvf_ = fvf;
  layout_ = layout;
  return S_OK;
}

HRESULT SoftDevice::GetVertexShader(DWORD* fvf) {
  if (!fvf) return D3DERR_INVALIDCALL;
  *fvf = fvf_;
  return S_OK;
}

}  // namespace d3d8
