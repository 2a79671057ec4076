#pragma once
// The panel: a plain area with a window handle that the Direct3D device
// presents into, reporting clicks and mouse movement.

#include <cstdint>
#include <vector>

#include "vcl/Controls.h"
#include "win32/NativeWindow.h"

class TPanel;

namespace vcl {

// Paces presented frames as a display's refresh does.
class FramePacer {
 public:
  virtual ~FramePacer() = default;
  // Returns at the display's next refresh.
  virtual void WaitForRefresh() = 0;
};

// The panel's window as the device sees it: its client area is the panel,
// and each presented frame is kept (and shown on screen). On screen a
// presented frame waits for the display's next refresh, as a desktop
// compositor's swap does, so a loop that presents without pause draws at the
// refresh rate and sleeps in between; off screen nothing waits.
class PanelWindow : public NativeWindow {
 public:
  explicit PanelWindow(TPanel& panel) : panel_(panel) {}

  void SetPacer(FramePacer* pacer) { pacer_ = pacer; }

  int ClientWidth() const override;
  int ClientHeight() const override;
  POINT ClientOrigin() const override;
  void ShowFrame(const std::uint32_t* pixels, int width, int height, int pitchBytes) override;

  // The last frame presented: 0xAARRGGBB values, row after row; empty before
  // the first.
  const std::vector<std::uint32_t>& FramePixels() const { return pixels_; }
  int FrameWidth() const { return width_; }
  int FrameHeight() const { return height_; }
  // How many frames were presented.
  int FrameCount() const { return frameCount_; }

 private:
  TPanel& panel_;
  FramePacer* pacer_ = nullptr;
  std::vector<std::uint32_t> pixels_;
  int width_ = 0;
  int height_ = 0;
  int frameCount_ = 0;
};

}  // namespace vcl

class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* owner) : TWinControl(owner), window_(*this) {}
  // The screen side lets go of the window while it still exists.
  ~TPanel() override { DropPeers(); }

  HWND GetHandle() const { return const_cast<vcl::PanelWindow*>(&window_); }
  ReadOnlyProperty<TPanel, HWND, &TPanel::GetHandle> Handle{this};
  const vcl::PanelWindow& Window() const { return window_; }
  // The screen side paces the frames presented into the panel (none: no pacing).
  void SetFramePacer(vcl::FramePacer* pacer) { window_.SetPacer(pacer); }

 private:
  vcl::PanelWindow window_;
};
