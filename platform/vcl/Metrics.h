#pragma once
// Sizes of the parts of a window around its client area, in pixels. Screen
// coordinates of controls (the cursor position, a panel's client origin) are
// computed from these, on screen and off.

namespace vcl {

constexpr int kFrameWidth = 4;      // the border on each side
constexpr int kCaptionHeight = 23;  // the title bar
constexpr int kMenuBarHeight = 21;  // the menu bar, when the form has a menu

// The toolkit's font size for the windows' 8-point UI font, in pixels.
constexpr int kUiFontSize = 11;

}  // namespace vcl
