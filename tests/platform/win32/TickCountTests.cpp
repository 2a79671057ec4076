// The tick count: a manual clock for tests, the system's clock otherwise.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "win32/TickCount.h"

TEST(TickCount, FollowsAManualClockAndWrapsLikeThe32BitCounter) {
  ManualTickClock clock(0xFFFFFFF0u);
  ScopedTickClock scope(clock);
  const DWORD start = GetTickCount();
  clock.Advance(0x30);
  EXPECT_EQ(GetTickCount(), 0x20u);
  // Differences stay right across the wrap, as timers compute them.
  EXPECT_EQ(static_cast<std::int32_t>(GetTickCount() - start), 0x30);
}

TEST(TickCount, TheSystemClockCountsMilliseconds) {
  const DWORD before = GetTickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const std::int32_t elapsed = static_cast<std::int32_t>(GetTickCount() - before);
  EXPECT_GE(elapsed, 30);
  EXPECT_LT(elapsed, 5000);
}
