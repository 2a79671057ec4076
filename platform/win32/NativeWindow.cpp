#include "win32/NativeWindow.h"

BOOL GetClientRect(HWND window, RECT* rect) {
  if (!window || !rect) return FALSE;
  *rect = RECT{0, 0, window->ClientWidth(), window->ClientHeight()};
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  if (!window || !point) return FALSE;
  const POINT origin = window->ClientOrigin();
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}
