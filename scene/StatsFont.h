#pragma once
// The font of the frame statistics in the top left corner of the 3D view, and
// the rectangle the render loop moves from line to line.

#include "d3d8/D3DXFont.h"
#include "win32/Win32Types.h"

struct StatsFont {
  LOGFONT statsLogFont{};
  RECT statsRect{};
  ID3DXFont* statsFont = nullptr;  // null until created, or when creation failed

  StatsFont() = default;
  ~StatsFont();
  StatsFont(const StatsFont&) = delete;
  StatsFont& operator=(const StatsFont&) = delete;
};

// Describes a bold "Times" of the font mapper's default size and creates the
// text font from it on the device (a font created before is released first).
// On failure statsFont stays null.
void CreateStatsFont(StatsFont& stats, IDirect3DDevice8* device);
