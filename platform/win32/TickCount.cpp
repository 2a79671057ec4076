#include "win32/TickCount.h"

#include <chrono>

namespace {

SteadyTickClock steadyClock;
TickClock* currentClock = &steadyClock;

}  // namespace

DWORD GetTickCount() { return currentClock->Now(); }

DWORD SteadyTickClock::Now() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
  return static_cast<DWORD>(ms);
}

ScopedTickClock::ScopedTickClock(TickClock& clock) : previous_(currentClock) {
  currentClock = &clock;
}

ScopedTickClock::~ScopedTickClock() { currentClock = previous_; }
