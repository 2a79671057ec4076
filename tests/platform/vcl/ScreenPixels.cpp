#include "ScreenPixels.h"

#include <algorithm>
#include <vector>

#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

std::array<int, 3> PixelAt(Fl_Window* window, int x, int y) {
  window->make_current();
  unsigned char rgb[3] = {};
  fl_read_image(rgb, x, y, 1, 1);
  return {rgb[0], rgb[1], rgb[2]};
}


int DarkestIn(Fl_Window* window, int x, int y, int width, int height) {
  window->make_current();
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  fl_read_image(rgb.data(), x, y, width, height);
  return *std::min_element(rgb.begin(), rgb.end());
}
