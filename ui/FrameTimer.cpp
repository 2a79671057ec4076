#include "ui/FrameTimer.h"

#include "win32/TickCount.h"

namespace {

constexpr std::int32_t kFpsWindowMs = 1000;

// Milliseconds since a tick, correct across the counter's wrap.
std::int32_t Since(std::uint32_t tick) { return static_cast<std::int32_t>(GetTickCount() - tick); }

}  // namespace

void FrameTimer::Start() {
  lastTick = GetTickCount();
  elapsedMs = 0;
}

bool FrameTimer::Elapsed(float periodMs) {
  const float passed = static_cast<float>(Since(lastTick));
  // A NaN period compares unordered and never elapses.
  if (!(passed >= periodMs)) return false;
  lastTick = GetTickCount();
  return true;
}

float FrameTimer::FramesPerSecond() {
  const std::int32_t passed = Since(lastTick);
  if (passed < kFpsWindowMs) {
    ++frameCount;
    elapsedMs = passed;
    return -1.0f;
  }
  lastTick = GetTickCount();
  const std::uint32_t frames = frameCount;
  frameCount = 0;
  // A window whose frames all came in its first millisecond has no length to divide by.
  if (elapsedMs <= 0) return 0.0f;
  return static_cast<float>(frames) / static_cast<float>(elapsedMs) * 1000.0f;
}
