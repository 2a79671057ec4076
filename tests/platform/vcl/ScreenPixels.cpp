#include "ScreenPixels.h"

#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

std::array<int, 3> PixelAt(Fl_Window* window, int x, int y) {
  window->make_current();
  unsigned char rgb[3] = {};
  fl_read_image(rgb, x, y, 1, 1);
  return {rgb[0], rgb[1], rgb[2]};
}

// The toolkit's fonts come through fontconfig, which keeps its caches for the
// life of the process. The suppression is built in because the test runner's
// environment does not always carry the shared suppressions file.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
