#pragma once
// The list a drop-down field opens: a few rows under the field with a scroll
// bar, filled from the top, the chosen line highlighted in view. The wheel
// scrolls it three rows a notch, as the desktop's lists do, and the scroll
// bar scrolls it; Up, Down, Page Up, Page Down, Home and End move the
// highlight; typing moves it to the next line whose text, or one of whose
// words, starts with what was typed; Enter or a click chooses a line. Escape
// or a click outside closes it with nothing chosen, and the field gets the
// keyboard back. One list is open at a time.

#include <functional>
#include <string>
#include <vector>

class Fl_Widget;
class Fl_Window;

namespace vcl::fltk {

// Rows a drop-down list shows at once; longer lists scroll.
inline constexpr int kDropDownRows = 8;

// Opens the list under the field (over it when the screen has no room
// below); chosen gets the index of the line the user chooses, after the list
// has closed.
void OpenDropDown(Fl_Widget& field, const std::vector<std::string>& lines, int selected,
                  std::function<void(int)> chosen);

// The window of the open list, or null.
Fl_Window* OpenDropDownWindow();

}  // namespace vcl::fltk
