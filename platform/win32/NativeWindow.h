#pragma once
// A window handle. On Windows it names a native window; here it points at a
// NativeWindow, the seam between whoever owns the window (the control library's
// panel on screen, or a test's offscreen target) and whoever draws into it
// (the Direct3D device, which sizes its back buffer from the client area and
// hands every presented frame to the window).

#include "win32/Win32Types.h"

class NativeWindow {
 public:
  virtual ~NativeWindow() = default;

  // Size of the client area in pixels.
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;

  // Position of the client area's top-left corner on the screen.
  virtual POINT ClientOrigin() const { return POINT{0, 0}; }

  // Receives one finished frame: rows of 32-bit pixels, 0xAARRGGBB in memory
  // as native integers, top row first, pitchBytes apart.
  virtual void ShowFrame(const std::uint32_t* pixels, int width, int height,
                         int pitchBytes) = 0;
};

typedef NativeWindow* HWND;

// The client rectangle: (0, 0, width, height). FALSE for a null handle.
BOOL GetClientRect(HWND window, RECT* rect);

// Screen to client coordinates of the window. FALSE for a null handle.
BOOL ScreenToClient(HWND window, POINT* point);
