#include "vcl/Panel.h"

#include <cstring>

namespace vcl {

int PanelWindow::ClientWidth() const { return panel_.GetWidth(); }

int PanelWindow::ClientHeight() const { return panel_.GetHeight(); }

POINT PanelWindow::ClientOrigin() const { return panel_.ClientOrigin(); }

void PanelWindow::ShowFrame(const std::uint32_t* pixels, int width, int height, int pitchBytes) {
  if (!pixels || width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  const auto* row = reinterpret_cast<const unsigned char*>(pixels);
  for (int y = 0; y < height; ++y, row += pitchBytes)
    std::memcpy(&pixels_[static_cast<size_t>(y) * static_cast<size_t>(width)], row,
                static_cast<size_t>(width) * sizeof(std::uint32_t));
  ++frameCount_;
  panel_.Changed();
  if (pacer_ != nullptr) pacer_->WaitForRefresh();
}

}  // namespace vcl
