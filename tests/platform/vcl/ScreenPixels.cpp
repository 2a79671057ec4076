#include "ScreenPixels.h"

#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

std::array<int, 3> PixelAt(Fl_Window* window, int x, int y) {
  window->make_current();
  unsigned char rgb[3] = {};
  fl_read_image(rgb, x, y, 1, 1);
  return {rgb[0], rgb[1], rgb[2]};
}

