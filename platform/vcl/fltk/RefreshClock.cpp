#include "vcl/fltk/RefreshClock.h"

#include <thread>

#include <FL/x.H>
#include <X11/extensions/Xrandr.h>

namespace vcl::fltk {
namespace {

constexpr double kAssumedHertz = 60.0;

// The rate of the screen's current mode, or 0 where the server has none.
double ReportedHertz() {
  if (fl_display == nullptr) return 0.0;
  int eventBase = 0, errorBase = 0;
  if (!XRRQueryExtension(fl_display, &eventBase, &errorBase)) return 0.0;
  XRRScreenConfiguration* config = XRRGetScreenInfo(fl_display, RootWindow(fl_display, fl_screen));
  if (config == nullptr) return 0.0;
  const short rate = XRRConfigCurrentRate(config);
  XRRFreeScreenConfigInfo(config);
  return rate;
}

}  // namespace

RefreshClock::RefreshClock(double hertz)
    : period_(std::chrono::nanoseconds(static_cast<long long>(1e9 / (hertz > 0 ? hertz : kAssumedHertz)))),
      start_(std::chrono::steady_clock::now()) {}

// The refresh that comes after now; a frame presented late waits for the
// one after it, not for a period from now.
void RefreshClock::WaitForRefresh() {
  const auto now = std::chrono::steady_clock::now();
  const auto periods = (now - start_) / period_ + 1;
  std::this_thread::sleep_until(start_ + periods * period_);
}

RefreshClock& DisplayRefresh() {
  static RefreshClock clock(ReportedHertz());
  return clock;
}

}  // namespace vcl::fltk
