#include "d3d8/Headless.h"

#include <algorithm>
#include <cstring>

#include "SoftDevice.h"

namespace d3d8 {

OffscreenWindow::OffscreenWindow(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)) {}

void OffscreenWindow::Resize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
}

void OffscreenWindow::ShowFrame(const std::uint32_t* pixels, int width, int height,
                                int pitchBytes) {
  if (!pixels || width <= 0 || height <= 0 || pitchBytes < width * 4) return;
  lastFrame_.width = width;
  lastFrame_.height = height;
  lastFrame_.pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    std::memcpy(lastFrame_.pixels.data() + static_cast<size_t>(y) * width,
                reinterpret_cast<const BYTE*>(pixels) + static_cast<size_t>(y) * pitchBytes,
                static_cast<size_t>(width) * 4);
  ++framesShown_;
}

PixelImage ReadColorBuffer(IDirect3DDevice8* device) {
  const SoftDevice* ours = dynamic_cast<SoftDevice*>(device);
  if (!ours) return {};
  return PixelImage{ours->Width(), ours->Height(), ours->ColorBuffer()};
}

DepthImage ReadDepthBuffer(IDirect3DDevice8* device) {
  const SoftDevice* ours = dynamic_cast<SoftDevice*>(device);
  if (!ours || ours->DepthBuffer().empty()) return {};
  return DepthImage{ours->Width(), ours->Height(), ours->DepthBuffer()};
}

void RecordDraws(IDirect3DDevice8* device, std::vector<DrawRecord>* sink) {
  if (SoftDevice* ours = dynamic_cast<SoftDevice*>(device)) ours->SetDrawSink(sink);
}

DeviceStats GetDeviceStats(IDirect3DDevice8* device) {
  const SoftDevice* ours = dynamic_cast<SoftDevice*>(device);
  return ours ? ours->Stats() : DeviceStats{};
}

}  // namespace d3d8
