#include "d3d/MouseD3D.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// A pixel of rotation drag is worth this many raw steps before the speed.
constexpr double kRotationStepsPerPixel = 1000.0;
// The vertical rotation has always used this fixed factor, not the speed.
constexpr double kRotationXFactor = 1.2;
// Zoom never goes negative; a negative result lands just above zero.
constexpr float kSmallestZoom = 0.001f;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Signed change for a move from last to now, given the size of one step, or
// 0 on the first move of a drag. A larger coordinate moves the value by
// +step when increasing is true and by -step otherwise.
template <typename Step>
double Track(std::int32_t now, std::int32_t& last, bool& tracking, bool increasing, Step step) {
  double change = 0.0;
  if (tracking && now != last) {
    // The difference of two 32-bit coordinates can exceed 32 bits.
    const std::int64_t d = std::int64_t{now} - std::int64_t{last};
    const double size = step(d);
    change = (d > 0) == increasing ? size : -size;
  }
  last = now;
  tracking = true;
  return change;
}

double RotationSteps(std::int64_t d) {
  return std::abs(std::trunc(static_cast<double>(d) * kRotationStepsPerPixel));
}

float ReducedAngle(double radians) {
  double reduced = std::fmod(radians, kTwoPi);
  if (reduced < 0.0) reduced += kTwoPi;
  const auto angle = static_cast<float>(reduced);
  // Rounding to float can land on 2*pi itself.
  return angle >= static_cast<float>(kTwoPi) ? 0.0f : angle;
}

}  // namespace

MouseD3D::MouseD3D(float speed, float zoom) : zoom(zoom), speed(speed), startZoom(zoom) {}

float MouseD3D::UpdateRotationY(std::int32_t x) {
  rotationY += Track(x, lastRotationX, trackingRotationY, true,
                     [&](std::int64_t d) { return RotationSteps(d) * speed; });
  return ReducedAngle(rotationY);
}

float MouseD3D::UpdateRotationX(std::int32_t y) {
  rotationX += Track(y, lastRotationY, trackingRotationX, false,
                     [](std::int64_t d) { return RotationSteps(d) * kRotationXFactor; });
  return ReducedAngle(rotationX);
}

float MouseD3D::UpdateZoom(std::int32_t y) {
  zoom += static_cast<float>(Track(y, lastZoomY, trackingZoom, false, [&](std::int64_t d) {
    return static_cast<double>(std::abs(d)) * speed;
  }));
  if (zoom < 0.0f) zoom = kSmallestZoom;
  return zoom;
}

float MouseD3D::UpdatePanX(std::int32_t x) {
  panX += static_cast<float>(Track(x, lastPanX, trackingPanX, false, [&](std::int64_t d) {
    return static_cast<double>(std::abs(d)) * speed;
  }));
  return panX;
}

float MouseD3D::UpdatePanY(std::int32_t y) {
  panY += static_cast<float>(Track(y, lastPanY, trackingPanY, false, [&](std::int64_t d) {
    return static_cast<double>(std::abs(d)) * speed;
  }));
  return panY;
}

void MouseD3D::ResetTracking() {
  trackingRotationY = false;
  trackingRotationX = false;
  trackingZoom = false;
  trackingPanX = false;
  trackingPanY = false;
}

void MouseD3D::Reset() {
  rotationY = 0.0;
  rotationX = 0.0;
  zoom = startZoom;
  panX = 0.0f;
  panY = 0.0f;
  lastRotationX = lastRotationY = lastZoomY = lastPanX = lastPanY = 0;
  ResetTracking();
}
