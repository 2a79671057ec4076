#include "ui/FrameTimer.h"

#include "win32/TickCount.h"

namespace {

constexpr std::int32_t kFpsWindowMs = 1000;

// Milliseconds from one tick to another, correct across the counter's wrap.
std::int32_t Between(std::uint32_t from, std::uint32_t to) { return static_cast<std::int32_t>(to - from); }

}  // namespace

void FrameTimer::Start() {
  lastTick = GetTickCount();
  elapsedMs = 0;
  frameCount = 0;
  carriedMs = 0.0f;
  anyPresented = false;
}

bool FrameTimer::Elapsed(float periodMs) {
  const std::uint32_t now = GetTickCount();
  const float passed = static_cast<float>(Between(lastTick, now)) + carriedMs;
  // A NaN period compares unordered and never elapses.
  if (!(passed >= periodMs)) return false;
  lastTick = now;
  // Frames of a display come at its own pace, so a step is due some way into
  // a frame; that time counts toward the next step. A whole period or more
  // late (the loop was held, or frames come slower than steps), the next
  // period starts afresh rather than making up the steps lost.
  carriedMs = passed - periodMs;
  if (!(carriedMs < periodMs)) carriedMs = 0.0f;
  return true;
}

void FrameTimer::Presented() {
  const std::uint32_t now = GetTickCount();
  // Time is counted between presented frames only: the first window starts
  // at the first frame, not when the timer started.
  if (!anyPresented) {
    anyPresented = true;
    lastTick = now;
    return;
  }
  ++frameCount;
  elapsedMs = Between(lastTick, now);
}

float FrameTimer::FramesPerSecond() {
  if (elapsedMs < kFpsWindowMs) return -1.0f;
  const float rate = static_cast<float>(frameCount) / static_cast<float>(elapsedMs) * 1000.0f;
  // The frame that ended the window starts the next one.
  lastTick += static_cast<std::uint32_t>(elapsedMs);
  frameCount = 0;
  elapsedMs = 0;
  return rate;
}
