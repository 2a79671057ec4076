#pragma once
// The millisecond tick count. GetTickCount reads the current clock: by default
// the system's monotonic clock; tests install a manual clock that moves only
// when they advance it. Like the real counter it wraps after 2^32 ms.

#include "win32/Win32Types.h"

DWORD GetTickCount();

class TickClock {
 public:
  virtual ~TickClock() = default;
  virtual DWORD Now() = 0;
};

// Milliseconds of the system's monotonic clock, truncated to 32 bits.
class SteadyTickClock : public TickClock {
 public:
  DWORD Now() override;
};

// A clock that stands still until told to move.
class ManualTickClock : public TickClock {
 public:
  explicit ManualTickClock(DWORD start = 0) : now_(start) {}
  DWORD Now() override { return now_; }
  void Set(DWORD now) { now_ = now; }
  // Moves the clock forward; the count wraps as the real one does.
  void Advance(DWORD milliseconds) { now_ += milliseconds; }

 private:
  DWORD now_;
};

// Installs a clock for the lifetime of this object, then restores the previous one.
class ScopedTickClock {
 public:
  explicit ScopedTickClock(TickClock& clock);
  ~ScopedTickClock();
  ScopedTickClock(const ScopedTickClock&) = delete;
  ScopedTickClock& operator=(const ScopedTickClock&) = delete;

 private:
  TickClock* previous_;
};
