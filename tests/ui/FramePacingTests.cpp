// Playback and the frames-per-second line while frames are presented at a
// display's pace: the test clock moves on to the next refresh of a 60 Hz
// display whenever a frame is presented, after the time the loop spent
// before it (events handled, the frame drawn).

#include <gtest/gtest.h>

#include <algorithm>

#include "TestWad.h"

using namespace uitest;

namespace {

// The test WAD's plate (three keyframes) at a frame rate of choice, playing
// on a display that refreshes 60 times a second.
struct PacedSession : EditorSession, vcl::FramePacer {
  explicit PacedSession(int frameRate) {
    WadFile wad = BuildTestWad();
    wad.animations[0].frameRate = static_cast<std::uint8_t>(frameRate);
    Open(WriteTestWad(Folder() / "paced.wad", wad));
    Choose(0, 0);
    Form().Panel1->SetFramePacer(this);
    User::Click(Form().Button1);  // Play
  }
  ~PacedSession() { Form().Panel1->SetFramePacer(nullptr); }

  // Refresh k comes at k x 1000 / 60 ms, in whole ms as the tick count has it.
  void WaitForRefresh() override {
    const std::uint64_t next = ((desktop.clock.Now() + 1) * 60 + 999) / 1000;  // the first after now
    desktop.clock.Set(static_cast<DWORD>(next * 1000 / 60));
  }

  // One frame after the loop spent 0 to 10 ms, never the same twice running.
  // The pattern repeats every 11 frames, which divides neither a second of
  // the display's frames nor a period of playback, so the frames that bound
  // a period or a second were begun at different points of their refresh: a
  // frame counted when drawn rather than when presented, or a step that
  // drops the time past its period, shows in what the editor reports.
  void Frame(int i) {
    desktop.clock.Advance(static_cast<DWORD>(i * 6 % 11));
    Frames(1);
  }
};

// Keyframe steps over two seconds of playback.
int StepsInTwoSeconds(int frameRate) {
  PacedSession session(frameRate);
  const DWORD start = session.desktop.clock.Now();
  int steps = 0;
  for (int i = 0; session.desktop.clock.Now() - start < 2000; ++i) {
    const String shown = session.Form().SpinEdit1->GetText();
    session.Frame(i);
    steps += session.Form().SpinEdit1->GetText() != shown ? 1 : 0;
  }
  return steps;
}

}  // namespace

// Frame rate r steps every r x 25 ms on average although no such period is a
// whole number of the display's frames; frame rate 0 steps once a frame.
TEST(FramePacing, PlaybackKeepsItsPeriodAtTheDisplaysRefreshRate) {
  EXPECT_NEAR(StepsInTwoSeconds(1), 80, 1);
  EXPECT_NEAR(StepsInTwoSeconds(4), 20, 1);
  EXPECT_NEAR(StepsInTwoSeconds(0), 120, 1);
}

// However the frames fall within the display's periods, and after the loop
// was held (a box read for three seconds), the line never shows more frames a
// second than the display presents; between boxes it shows that rate.
TEST(FramePacing, TheRateShownIsNeverAboveThePresentedRate) {
  PacedSession session(2);
  std::vector<float> shown;
  for (int i = 1, holds = 0; i <= 600; ++i) {
    session.Frame(i);
    if (Main().lastFps == -1.0f) continue;
    shown.push_back(Main().lastFps);
    // A box opens in the next frame, right after the line's window began.
    if (holds++ < 5) {
      session.Frame(++i);
      session.desktop.clock.Advance(3000);
    }
  }
  // Whole milliseconds allow 1 ms in a window of a second.
  for (float rate : shown) EXPECT_LE(rate, 60.0f * 1.001f);
  EXPECT_GE(std::count_if(shown.begin(), shown.end(), [](float rate) { return rate > 59.5f; }), 3)
      << ::testing::PrintToString(shown);
}
