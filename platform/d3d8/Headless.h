#pragma once
// Running the device without a display, for tests and benchmarks: a window
// that keeps what is presented into it, copies of the device's colour and
// depth buffers, PNG output, and hooks that make the platform fail on purpose.

#include <cstdint>
#include <string>
#include <vector>

#include "d3d8/Direct3D8.h"

namespace d3d8 {

// 32-bit pixels, 0xAARRGGBB, rows top to bottom without padding.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool Empty() const { return pixels.empty(); }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// 16-bit depths: 0 at the near plane, 65535 at the far plane (the cleared value).
struct DepthImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> depths;

  bool Empty() const { return depths.empty(); }
  std::uint16_t At(int x, int y) const { return depths[static_cast<size_t>(y) * width + x]; }
};

// A window of a fixed client size with no screen behind it. Pass its address
// as the HWND of CreateDevice; every Present copies the frame into it.
class OffscreenWindow : public NativeWindow {
 public:
  OffscreenWindow(int width, int height);

  int ClientWidth() const override { return width_; }
  int ClientHeight() const override { return height_; }
  void ShowFrame(const std::uint32_t* pixels, int width, int height, int pitchBytes) override;

  // A new client size; the device takes it up at its next Reset.
  void Resize(int width, int height);

  // The last frame presented (empty before the first) and how many there were.
  const PixelImage& LastFrame() const { return lastFrame_; }
  int FramesShown() const { return framesShown_; }

 private:
  int width_;
  int height_;
  PixelImage lastFrame_;
  int framesShown_ = 0;
};

// Copies of a device's back buffer and depth buffer as drawn so far (empty for
// a device that is not ours, or no depth buffer).
PixelImage ReadColorBuffer(IDirect3DDevice8* device);
DepthImage ReadDepthBuffer(IDirect3DDevice8* device);

// PNG files: colour as 8-bit RGB (alpha dropped), depth as 16-bit grey.
bool WritePng(const std::string& path, const PixelImage& image);
bool WritePng(const std::string& path, const DepthImage& image);

// Failures the platform can be made to report.
enum class Fault {
  NoDirect3D,          // Direct3DCreate8 returns null
  CreateDevice,        // IDirect3D8::CreateDevice: D3DERR_NOTAVAILABLE
  CreateVertexBuffer,  // CreateVertexBuffer: D3DERR_OUTOFVIDEOMEMORY
  LockVertexBuffer,    // IDirect3DVertexBuffer8::Lock: D3DERR_INVALIDCALL
  CreateTexture,       // CreateTexture and the D3DX creators: D3DERR_OUTOFVIDEOMEMORY
  LockTexture,         // IDirect3DTexture8::LockRect: D3DERR_INVALIDCALL
  PresentDeviceLost,   // Present loses the device: D3DERR_DEVICELOST until Reset
};

constexpr int kEveryCall = -1;

// After `skip` further calls of that kind succeed, the next `count` fail
// (kEveryCall: all of them, until cleared). Faults are process-wide.
void InjectFault(Fault fault, int count = kEveryCall, int skip = 0);
void ClearFault(Fault fault);
void ClearAllFaults();

// Injects a fault for the lifetime of the object.
class ScopedFault {
 public:
  explicit ScopedFault(Fault fault, int count = kEveryCall, int skip = 0);
  ~ScopedFault();
  ScopedFault(const ScopedFault&) = delete;
  ScopedFault& operator=(const ScopedFault&) = delete;

 private:
  Fault fault_;
};

// Extra bytes at the end of every locked row of textures created from now on,
// so that code copying rows must honour the reported pitch. 0 by default.
void SetTexturePitchPadding(UINT bytes);

// One DrawPrimitive call that passed validation, with the states it drew with.
struct DrawRecord {
  D3DPRIMITIVETYPE type;
  UINT startVertex;
  UINT primitiveCount;
  DWORD fillMode;
  DWORD cullMode;
  IDirect3DBaseTexture8* texture;  // stage 0; no reference held
};

// Appends a record of every later draw of the device to sink (null stops).
void RecordDraws(IDirect3DDevice8* device, std::vector<DrawRecord>* sink);

// Counts since the device was created.
struct DeviceStats {
  UINT scenes = 0;    // EndScene calls that closed a scene
  UINT draws = 0;     // DrawPrimitive calls that drew
  UINT presents = 0;  // frames handed to a window
  UINT resets = 0;    // successful Reset calls
};
DeviceStats GetDeviceStats(IDirect3DDevice8* device);

}  // namespace d3d8
