#pragma once
// Turns mouse movement over the 3D view into the running view values: a
// rotation about Y and about X (radians), a zoom factor and a pan in X and Y.
// Each value remembers its own last mouse coordinate, so a drag starts from
// wherever the mouse is without a jump.

#include <cstdint>

class MouseD3D {
 public:
  MouseD3D(float speed, float zoom);

  // Each update takes the current mouse coordinate and returns the value.
  // The first update after construction or ResetTracking only records the
  // coordinate. The rotations come back reduced to [0, 2*pi): the same angle
  // as the running total, which is kept in double precision so that a long
  // drag never loses whole steps.
  float UpdateRotationY(std::int32_t x);
  float UpdateRotationX(std::int32_t y);
  float UpdateZoom(std::int32_t y);
  float UpdatePanX(std::int32_t x);
  float UpdatePanY(std::int32_t y);

  // The mouse was released: the next update of each value starts a new drag.
  void ResetTracking();

  // Back to the values of construction: no rotation or pan, the starting
  // zoom, and no drag under way.
  void Reset();

 private:
  double rotationY = 0.0;
  double rotationX = 0.0;
  float zoom;
  std::int32_t lastRotationX = 0;  // horizontal coordinate behind rotationY
  std::int32_t lastRotationY = 0;  // vertical coordinate behind rotationX
  std::int32_t lastZoomY = 0;
  float panX = 0.0f;
  float panY = 0.0f;
  std::int32_t lastPanX = 0;
  std::int32_t lastPanY = 0;
  bool trackingRotationY = false;
  bool trackingRotationX = false;
  bool trackingZoom = false;
  bool trackingPanX = false;
  bool trackingPanY = false;
  float speed;
  float startZoom;
};
