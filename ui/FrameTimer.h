#pragma once
// A tick timer for the render loop: it paces playback (a keyframe step each
// time a period has passed) and measures frames per second over one-second
// windows. Ticks come from GetTickCount, so a test clock drives it.

#include <cstdint>

// An animation of frame rate r shows one keyframe every r x 25 ms.
inline constexpr int kFrameRateStepMs = 25;

struct FrameTimer {
  std::uint32_t frameCount = 0;  // frames presented in the current one-second window
  std::uint32_t lastTick = 0;    // tick count at the last restart
  std::int32_t elapsedMs = 0;    // from lastTick to the last frame presented
  float carriedMs = 0.0f;        // time past the period at the last step, counted toward the next
  bool anyPresented = false;     // a frame was presented since the start (the first starts the window)

  // Restarts the timer now.
  void Start();
  // True when at least periodMs milliseconds have passed since the last
  // restart, counting the time carried from the step before; the timer then
  // restarts. Called once a frame, it steps at most once a frame and keeps
  // the period on average whatever the frames' pace.
  bool Elapsed(float periodMs);
  // Notes that a frame was presented now.
  void Presented();
  // Returns -1 while the one-second window runs; once a frame has been
  // presented a second or more after it started, starts a new window at that
  // frame and returns the frames presented in the old one per second of the
  // time between the presented frames that bound it. Frames are counted when
  // presented, so a frame drawn late in one refresh period and presented in
  // the next does not shorten the time.
  float FramesPerSecond();
};
