#pragma once
// A tick timer for the render loop: it paces playback (a keyframe step each
// time a period has passed) and measures frames per second over one-second
// windows. Ticks come from GetTickCount, so a test clock drives it.

#include <cstdint>

// An animation of frame rate r shows one keyframe every r x 25 ms.
inline constexpr int kFrameRateStepMs = 25;

struct FrameTimer {
  std::uint32_t frameCount = 0;  // frames counted in the current one-second window
  std::uint32_t lastTick = 0;    // tick count at the last restart
  std::int32_t elapsedMs = 0;    // from lastTick to the last frame counted

  // Restarts the timer now.
  void Start();
  // True when at least periodMs milliseconds have passed since the last
  // restart; the timer then restarts.
  bool Elapsed(float periodMs);
  // Counts one frame and returns -1 while the one-second window runs; when it
  // has ended, starts a new one and returns the frames of the old one per
  // second of the time up to its last counted frame (0 when that time is 0).
  float FramesPerSecond();
};
