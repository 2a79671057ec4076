#pragma once
// Window messages. All user input reaches a control as a message through its
// replaceable WindowProc, so that a replacement procedure sees each message
// before the control acts on it.

#include <cstdint>

#include "win32/Win32Types.h"

typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;

// The window layer's own input messages, above the system's range.
constexpr UINT WM_APP = 0x8000;
// The user replaced the control's text by typing; LParam points at the new String.
constexpr UINT VM_TYPETEXT = WM_APP + 1;
// The user chose the item WParam (as a signed index) of a list.
constexpr UINT VM_CHOOSEITEM = WM_APP + 2;

// Mouse messages: WParam holds the buttons and keys held, LParam the point in
// the control's client coordinates (x in the low 16 bits, y in the high, signed).
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
// Alt has no bit of its own in the system's mouse messages; ours carry it here.
constexpr WPARAM MK_ALT = 0x1000;

inline LPARAM MakePointParam(int x, int y) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) |
                             static_cast<std::uint16_t>(x));
}
inline int PointParamX(LPARAM param) { return static_cast<std::int16_t>(param & 0xFFFF); }
inline int PointParamY(LPARAM param) { return static_cast<std::int16_t>((param >> 16) & 0xFFFF); }

// Virtual key codes of the keys the controls act on.
constexpr WORD VK_PRIOR = 0x21;  // Page Up
constexpr WORD VK_NEXT = 0x22;   // Page Down
constexpr WORD VK_END = 0x23;
constexpr WORD VK_HOME = 0x24;
constexpr WORD VK_LEFT = 0x25;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_RIGHT = 0x27;
constexpr WORD VK_DOWN = 0x28;
