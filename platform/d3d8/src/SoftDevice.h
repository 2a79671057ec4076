#pragma once
// The software device: its buffers, states, bindings and scene bookkeeping.
// Drawing itself is in DeviceDraw.cpp and the pipeline it feeds.

#include <array>
#include <cstdint>
#include <vector>

#include "RefCounted.h"
#include "TrianglePipeline.h"
#include "d3d8/D3DXMath.h"
#include "d3d8/Headless.h"

namespace d3d8 {

class SoftTexture;
class SoftVertexBuffer;

// What a set of present parameters asks for, once checked.
struct BackBufferSetup {
  NativeWindow* window;
  UINT width;
  UINT height;
  bool depth;
};

HRESULT ResolveBackBufferSetup(HWND focusWindow, const D3DPRESENT_PARAMETERS* params,
                               BackBufferSetup* setup);

class SoftDevice final : public RefCounted<IDirect3DDevice8> {
 public:
  static HRESULT Create(HWND focusWindow, D3DPRESENT_PARAMETERS* params, SoftDevice** device);

  HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                DWORD stencil) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                  const void* dirtyRegion) override;
  HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;

  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
  HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) override;
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                        D3DPOOL pool, IDirect3DTexture8** texture) override;
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer8** buffer) override;
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
  HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) override;
  HRESULT SetVertexShader(DWORD fvf) override;
  HRESULT GetVertexShader(DWORD* fvf) override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;

  // For the headless API and the font.
  RenderTarget Target();
  const std::vector<std::uint32_t>& ColorBuffer() const { return color_; }
  const std::vector<std::uint16_t>& DepthBuffer() const { return depth_; }
  int Width() const { return static_cast<int>(width_); }
  int Height() const { return static_cast<int>(height_); }
  void SetDrawSink(std::vector<DrawRecord>* sink) { drawSink_ = sink; }
  DeviceStats Stats() const { return stats_; }

 private:
  SoftDevice(HWND focusWindow) : focusWindow_(focusWindow) {}
  ~SoftDevice() override;

  HRESULT ApplySetup(const BackBufferSetup& setup);
  // The whole buffer, or only what was touched when it already holds value.
  template <class T>
  static void Refill(std::vector<T>& buffer, int width, T value, T& filledWith,
                     TouchedArea& touched);
  const D3DXMATRIX& CombinedTransform();
  void RestoreDefaultStates();
  void UnbindAll();
  D3DXMATRIX* TransformSlot(D3DTRANSFORMSTATETYPE state);

  HWND focusWindow_;
  NativeWindow* window_ = nullptr;
  UINT width_ = 0;
  UINT height_ = 0;
  std::vector<std::uint32_t> color_;
  std::vector<std::uint16_t> depth_;  // empty without a depth buffer

  // Each buffer holds its fill value outside what drawing touched since the
  // last fill, so a clear to the same value refills only that rectangle.
  std::uint32_t colorFill_ = 0;
  std::uint16_t depthFill_ = 0;
  TouchedArea colorTouched_;
  TouchedArea depthTouched_;

  std::array<DWORD, D3DRS_STATE_COUNT> renderStates_{};
  std::array<std::array<DWORD, D3DTSS_STATE_COUNT>, D3DTSS_STAGE_COUNT> stageStates_{};
  D3DXMATRIX world_, view_, projection_;
  // world x view x projection, made again at the first draw after a transform changes.
  D3DXMATRIX combined_;
  bool combinedCurrent_ = false;

  std::array<IDirect3DBaseTexture8*, D3DTSS_STAGE_COUNT> textures_{};
  SoftTexture* stage0Texture_ = nullptr;  // textures_[0] as our own type
  SoftVertexBuffer* stream_ = nullptr;
  UINT streamStride_ = 0;
  DWORD fvf_ = 0;
  VertexLayout layout_{};  // of fvf_

  bool inScene_ = false;
  bool lost_ = false;
  TrianglePipeline pipeline_;
  std::vector<DrawRecord>* drawSink_ = nullptr;
  DeviceStats stats_;
};

}  // namespace d3d8
