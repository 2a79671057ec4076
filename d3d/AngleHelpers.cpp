#include "d3d/AngleHelpers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kPi = 3.1415927f;
constexpr std::int32_t kFullTurn = 360;
// Below this cosine of the pitch, yaw and roll can no longer be told apart.
constexpr float kGimbalCosine = 0.001f;

std::int32_t WholeDegrees(float radians) {
  return WrapDegrees(RoundToInt(radians * 180.0f * (1.0f / kPi)));
}

}  // namespace

std::int32_t RoundToInt(float a) {
  if (std::isnan(a)) return 0;
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  const double value = std::clamp(static_cast<double>(a), kLowest, kHighest);
  auto i = static_cast<std::int64_t>(value);  // towards zero
  if (static_cast<double>(i) + 0.5 <= value) ++i;
  if (static_cast<double>(i) - 0.5 > value) --i;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(i, static_cast<std::int64_t>(kLowest),
                                                            static_cast<std::int64_t>(kHighest)));
}

std::int32_t WrapDegrees(std::int32_t d) {
  if (d < 0) d += kFullTurn;
  return d == kFullTurn ? 0 : d;
}

void MatrixToEuler(D3DXMATRIX m, std::int32_t& x, std::int32_t& y, std::int32_t& z) {
  // Rounding can push the sine of the pitch just past 1.
  const float pitch = std::asin(std::clamp(-m._32, -1.0f, 1.0f));
  float yaw, roll;
  if (std::cos(pitch) < kGimbalCosine) {
    yaw = std::atan2(-m._13, m._11);
    roll = 0.0f;
  } else {
    yaw = std::atan2(m._31, m._33);
    roll = std::atan2(m._12, m._22);
  }
  x = WholeDegrees(pitch);
  y = WholeDegrees(yaw);
  z = WholeDegrees(roll);
}
