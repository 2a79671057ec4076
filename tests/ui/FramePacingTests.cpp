// Playback and the frames-per-second line while frames are presented at a
// display's pace: the test clock moves on to the next refresh of a 60 Hz
// display whenever a frame is presented, and by the time the loop spends
// between frames (events handled, the frame drawn) before that.

#include <gtest/gtest.h>

#include <cstdlib>

#include "TestWad.h"

using namespace uitest;

namespace {

// A display refreshing 60 times a second: refresh k comes at k x 1000 / 60
// ms, in whole ms as the tick count has it.
class DisplayAt60Hz : public vcl::FramePacer {
 public:
  explicit DisplayAt60Hz(ManualTickClock& clock) : clock_(clock) {}
  void WaitForRefresh() override {
    const std::uint64_t now = clock_.Now();
    std::uint64_t refresh = now * 60 / 1000;
    while (refresh * 1000 / 60 <= now) ++refresh;
    clock_.Set(static_cast<DWORD>(refresh * 1000 / 60));
  }

 private:
  ManualTickClock& clock_;
};

// A message box that a person reads for three seconds before pressing OK.
class SlowReader : public MessageService {
 public:
  explicit SlowReader(ManualTickClock& clock) : clock_(clock) {}
  int Show(HWND, const MessageRecord&) override {
    clock_.Advance(3000);
    return IDOK;
  }

 private:
  ManualTickClock& clock_;
};

// The test WAD's plate (three keyframes) at a frame rate of choice, chosen,
// presenting at 60 Hz.
struct PacedSession : EditorSession {
  explicit PacedSession(int frameRate) {
    WadFile wad = BuildTestWad();
    wad.animations[0].frameRate = static_cast<std::uint8_t>(frameRate);
    Open(WriteTestWad(Folder() / "paced.wad", wad));
    Choose(0, 0);
    Form().Panel1->SetFramePacer(&display);
  }
  ~PacedSession() { Form().Panel1->SetFramePacer(nullptr); }

  // The time the loop spends before frame i is presented: 0 to 11 ms, never
  // the same twice running.
  static DWORD LoopTime(int i) { return static_cast<DWORD>(i * 7 % 12); }

  // Keyframe steps over two seconds of playback.
  int StepsInTwoSeconds() {
    User::Click(Form().Button1);  // Play
    const DWORD start = desktop.clock.Now();
    String shown = Form().SpinEdit1->GetText();
    int steps = 0;
    for (int i = 0; desktop.clock.Now() - start < 2000; ++i) {
      desktop.clock.Advance(LoopTime(i));
      Frames(1);
      if (Form().SpinEdit1->GetText() != shown) ++steps;
      shown = Form().SpinEdit1->GetText();
    }
    return steps;
  }

  DisplayAt60Hz display{desktop.clock};
};

}  // namespace

// Frame rate r steps every r x 25 ms on average although no such period is a
// whole number of the display's frames; at most one step a frame.
TEST(FramePacing, PlaybackKeepsItsPeriodAtTheDisplaysRefreshRate) {
  EXPECT_NEAR(PacedSession(1).StepsInTwoSeconds(), 80, 1);
  EXPECT_NEAR(PacedSession(4).StepsInTwoSeconds(), 20, 1);
  EXPECT_NEAR(PacedSession(3).StepsInTwoSeconds(), 26.7, 1);
  // Frame rate 0 steps in every frame, never more.
  EXPECT_NEAR(PacedSession(0).StepsInTwoSeconds(), 120, 1);
}

// However the frames fall within the display's periods, and after a box that
// stopped the loop for a while, the line never shows more frames a second
// than the display presents; between boxes it shows that rate.
TEST(FramePacing, TheRateShownIsNeverAboveThePresentedRate) {
  PacedSession session(2);
  SlowReader reader(session.desktop.clock);
  ScopedMessageService reading(reader);
  std::vector<float> shown;
  // One frame after the loop spent its time; true when it showed a new rate.
  auto frame = [&](DWORD loopTime) {
    session.desktop.clock.Advance(loopTime);
    session.Frames(1);
    if (Main().lastFps == -1.0f) return false;
    shown.push_back(Main().lastFps);
    return true;
  };
  for (int window = 0, i = 0; window < 6; ++window) {
    // Frames drawn late in their periods until one ends a window of the
    // rate; the next drawn early; then a box opens from a click between two
    // frames, and the frames go on.
    while (!frame(9 + static_cast<DWORD>(i++ % 3))) {
    }
    frame(0);
    User::Click(session.Form().Button6);  // "Apply" confirms with a box
  }
  for (int i = 0; i < 200; ++i) frame(PacedSession::LoopTime(i));
  ASSERT_GE(shown.size(), 6u);
  int steady = 0;
  for (float rate : shown) {
    // Whole milliseconds allow 1 ms in a window of a second.
    EXPECT_LE(rate, 60.0f * 1.001f);
    if (rate > 59.5f) ++steady;
  }
  EXPECT_GE(steady, 3) << "shown: " << ::testing::PrintToString(shown);
}
