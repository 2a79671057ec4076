#pragma once
// Reading back what a window shows. Kept apart from the tests' sources:
// the toolkit's drawing header brings in X11's macros (Button1, Button2, ...),
// which clash with control names.

#include <array>

class Fl_Window;

// The colour shown at a point of the window, as red, green and blue.
std::array<int, 3> PixelAt(Fl_Window* window, int x, int y);

// The darkest grey level (the least of red, green and blue) shown in a
// rectangle of the window.
int DarkestIn(Fl_Window* window, int x, int y, int width, int height);
