#pragma once
// Mouse buttons and shift keys as a shift state and as a mouse message's WParam.

#include "vcl/Events.h"
#include "vcl/Messages.h"

namespace vcl {

inline TShiftStateFlag ButtonShiftFlag(TMouseButton button) {
  switch (button) {
    case mbRight: return ssRight;
    case mbMiddle: return ssMiddle;
    case mbLeft: break;
  }
  return ssLeft;
}

inline WPARAM MouseParamFromShift(TShiftState shift) {
  WPARAM param = 0;
  if (shift.Contains(ssLeft)) param |= MK_LBUTTON;
  if (shift.Contains(ssRight)) param |= MK_RBUTTON;
  if (shift.Contains(ssMiddle)) param |= MK_MBUTTON;
  if (shift.Contains(ssShift)) param |= MK_SHIFT;
  if (shift.Contains(ssCtrl)) param |= MK_CONTROL;
  if (shift.Contains(ssAlt)) param |= MK_ALT;
  return param;
}

inline TShiftState ShiftFromMouseParam(WPARAM param) {
  TShiftState shift;
  if (param & MK_LBUTTON) shift << ssLeft;
  if (param & MK_RBUTTON) shift << ssRight;
  if (param & MK_MBUTTON) shift << ssMiddle;
  if (param & MK_SHIFT) shift << ssShift;
  if (param & MK_CONTROL) shift << ssCtrl;
  if (param & MK_ALT) shift << ssAlt;
  return shift;
}

}  // namespace vcl
