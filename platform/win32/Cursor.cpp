#include "win32/Cursor.h"

namespace {

POINT cursor{0, 0};
HWND captured = nullptr;

}  // namespace

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  cursor = POINT{x, y};
  return TRUE;
}

HWND SetCapture(HWND window) {
  HWND previous = captured;
  captured = window;
  return previous;
}

HWND GetCapture() { return captured; }

BOOL ReleaseCapture() {
  captured = nullptr;
  return TRUE;
}
