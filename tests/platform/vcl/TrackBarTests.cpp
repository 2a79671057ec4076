// The track bar: its position rules, the user's presses, drags and keys,
// and a replaced window procedure that sees every message first.

#include "FormFixture.h"

namespace {

// The bar of the test form: vertical, 1 to 360, 190 pixels high.
class TrackBarTest : public FormTest {
 protected:
  TTrackBar* bar() { return form->TrackBar1; }
  int Middle() { return bar()->Width / 2; }
  // Pixel row of a position, from the channel's ends (a closed form of the
  // bar's geometry, not the bar's own mapping).
  int RowOf(int position) {
    const int first = TTrackBar::kChannelInset;
    const int length = bar()->Height - 2 * TTrackBar::kChannelInset;
    return first + (position - 1) * length / 359;
  }
};

}  // namespace

TEST_F(TrackBarTest, PositionClampsAndFiresChangeOnlyOnARealChange) {
  bar()->OnChange = [this](TObject*) { log.push_back(std::to_string(form->TrackBar1->Position)); };
  bar()->Position = 1;  // already 1
  bar()->Position = 0;
  bar()->Position = 400;
  bar()->Position = 360;
  bar()->Position = 90;
  EXPECT_EQ(log, (Log{"360", "90"}));
}

TEST_F(TrackBarTest, PressingTheChannelMovesTheThumbThereAndDraggingFollows) {
  bar()->Position = 1;
  User::MouseDown(bar(), mbLeft, {}, Middle(), RowOf(181));
  EXPECT_NEAR(bar()->Position, 181, 1);
  User::MouseMove(bar(), {}, Middle(), RowOf(271));
  EXPECT_NEAR(bar()->Position, 271, 1);
  User::MouseUp(bar(), mbLeft, {}, Middle(), RowOf(271));
  User::MouseMove(bar(), {}, Middle(), RowOf(1));
  EXPECT_NEAR(bar()->Position, 271, 1);
}

TEST_F(TrackBarTest, PressingTheThumbDoesNotMoveIt) {
  bar()->Position = 200;
  bar()->OnChange = Record("change");
  User::MouseDown(bar(), mbLeft, {}, Middle(), bar()->ThumbCentre() + 3);
  User::MouseUp(bar(), mbLeft, {}, Middle(), bar()->ThumbCentre() + 3);
  EXPECT_EQ(bar()->Position, 200);
  EXPECT_TRUE(log.empty());
}

TEST_F(TrackBarTest, KeysStepPageAndJumpToTheEnds) {
  bar()->Position = 100;
  User::PressKey(bar(), VK_DOWN);
  EXPECT_EQ(bar()->Position, 101);
  User::PressKey(bar(), VK_UP);
  User::PressKey(bar(), VK_UP);
  EXPECT_EQ(bar()->Position, 99);
  User::PressKey(bar(), VK_NEXT);
  EXPECT_EQ(bar()->Position, 99 + TTrackBar::kPageSize);
  User::PressKey(bar(), VK_END);
  EXPECT_EQ(bar()->Position, 360);
  User::PressKey(bar(), VK_HOME);
  EXPECT_EQ(bar()->Position, 1);
}

// The editor replaces the window procedure to record the positions before a
// press moves the thumb, and passes every message on.
TEST_F(TrackBarTest, AReplacedWindowProcedureSeesThePressBeforeTheThumbMoves) {
  bar()->Position = 1;
  std::vector<UINT> seen;
  int positionAtPress = 0;
  const TWndMethod old = bar()->WindowProc;
  bar()->WindowProc = [&](TMessage& message) {
    seen.push_back(message.Msg);
    if (message.Msg == WM_LBUTTONDOWN) {
      positionAtPress = bar()->Position;
      ReleaseCapture();
    }
    old(message);
  };
  User::Click(bar(), Middle(), RowOf(300));
  User::PressKey(bar(), VK_DOWN);

  EXPECT_EQ(positionAtPress, 1);
  EXPECT_NEAR(bar()->Position, 301, 1);
  // The press gives the bar the focus on its way through the old procedure.
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_SETFOCUS, WM_LBUTTONUP, WM_KEYDOWN}));
}

TEST_F(TrackBarTest, ADisabledBarGetsNoMouseMessages) {
  int messages = 0;
  const TWndMethod old = bar()->WindowProc;
  bar()->WindowProc = [&](TMessage& message) {
    ++messages;
    old(message);
  };
  bar()->Enabled = false;
  EXPECT_FALSE(User::Click(bar(), Middle(), RowOf(300)));
  EXPECT_FALSE(User::PressKey(bar(), VK_END));
  EXPECT_EQ(messages, 0);
  EXPECT_EQ(bar()->Position, 1);
  bar()->Position = 50;  // the program still can
  EXPECT_EQ(bar()->Position, 50);
}
