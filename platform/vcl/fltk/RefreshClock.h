#pragma once
// The display's vertical refresh as a clock: waiting for it returns at the
// next refresh, one period after another, the way a desktop compositor
// releases a swap. The X server gives the rate where it knows it; a virtual
// display that does not is taken to refresh 60 times a second.

#include <chrono>

#include "vcl/Panel.h"

namespace vcl::fltk {

class RefreshClock : public FramePacer {
 public:
  explicit RefreshClock(double hertz);
  void WaitForRefresh() override;
  std::chrono::nanoseconds Period() const { return period_; }

 private:
  std::chrono::nanoseconds period_;
  std::chrono::steady_clock::time_point start_;
};

// The clock of the display the toolkit opened.
RefreshClock& DisplayRefresh();

}  // namespace vcl::fltk
