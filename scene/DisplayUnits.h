#pragma once
// WAD positions are whole WAD units with Y pointing down; the scene draws in
// display units, a tenth of a WAD unit, with Y pointing up.

#include <cstdint>

constexpr float kDisplayScale = 0.1f;  // display units per WAD unit

struct DisplayPoint {
  float x, y, z;
};

constexpr DisplayPoint ToDisplay(std::int32_t x, std::int32_t y, std::int32_t z) {
  return {kDisplayScale * static_cast<float>(x), -kDisplayScale * static_cast<float>(y),
          kDisplayScale * static_cast<float>(z)};
}
