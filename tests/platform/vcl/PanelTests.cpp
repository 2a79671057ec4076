// The panel: mouse events with buttons and keys, the cursor position its
// click handler reads, and the window handle the device presents into.

#include "FormFixture.h"
#include "vcl/Metrics.h"

using PanelTest = FormTest;

TEST_F(PanelTest, ALeftClickReportsTheClickThenTheRelease) {
  TPanel* panel = form->Panel1;
  panel->OnClick = [this](TObject* sender) { log.push_back(sender == form->Panel1 ? "click" : "?"); };
  panel->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
    log.push_back("up " + std::to_string(button) + " " + std::to_string(shift.Bits()) + " " +
                  std::to_string(x) + "," + std::to_string(y));
  };
  User::Click(panel, 30, 40);
  // A release outside the panel is no click; the right button never clicks.
  User::MouseDown(panel, mbLeft, {}, 30, 40);
  User::MouseUp(panel, mbLeft, {}, 250, 40);
  User::MouseDown(panel, mbRight, {ssShift}, 5, 6);
  User::MouseUp(panel, mbRight, {ssShift}, 5, 6);
  EXPECT_EQ(log, (Log{"click", "up 0 0 30,40", "up 0 0 250,40",
                      "up 1 " + std::to_string(ssShift) + " 5,6"}));
}

TEST_F(PanelTest, MovesReportTheHeldButtonsWithTheKeys) {
  std::vector<TShiftState> moves;
  form->Panel1->OnMouseMove = [&](TObject*, TShiftState shift, int, int) { moves.push_back(shift); };
  User::MouseMove(form->Panel1, {}, 1, 1);
  User::MouseDown(form->Panel1, mbRight, {}, 1, 1);
  User::MouseMove(form->Panel1, {ssCtrl, ssShift}, 2, 2);
  User::MouseUp(form->Panel1, mbRight, {}, 2, 2);
  User::MouseMove(form->Panel1, {ssAlt}, 3, 3);
  EXPECT_EQ(moves, (std::vector<TShiftState>{{}, {ssRight, ssCtrl, ssShift}, {ssAlt}}));
}

// The editor's pick reads the cursor and converts it to the panel's window.
TEST_F(PanelTest, TheCursorOfAClickConvertsBackToThePointClicked) {
  POINT picked{-1, -1};
  form->Panel1->OnClick = [&](TObject*) {
    GetCursorPos(&picked);
    ScreenToClient(form->Panel1->Handle, &picked);
  };
  form->Left = 100;
  form->Top = 50;
  User::Click(form->Panel1, 123, 45);
  EXPECT_EQ(picked.x, 123);
  EXPECT_EQ(picked.y, 45);

  POINT screen;
  GetCursorPos(&screen);
  EXPECT_EQ(screen.x, 100 + vcl::kFrameWidth + 140 + 123);
  EXPECT_EQ(screen.y, 50 + vcl::kCaptionHeight + vcl::kFrameWidth + vcl::kMenuBarHeight + 100 + 45);
}

TEST_F(PanelTest, TheHandleIsAWindowOfThePanelsSizeThatKeepsTheLastFrame) {
  HWND window = form->Panel1->Handle;
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 150);

  // A 2 x 2 frame with rows padded to 3 pixels.
  const std::uint32_t rows[] = {0xFF112233, 0xFF445566, 0xDEADBEEF, 0xFF778899, 0xFFAABBCC, 0};
  window->ShowFrame(rows, 2, 2, 3 * sizeof(std::uint32_t));
  const vcl::PanelWindow& shown = form->Panel1->Window();
  EXPECT_EQ(shown.FrameCount(), 1);
  EXPECT_EQ(shown.FramePixels(),
            (std::vector<std::uint32_t>{0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC}));
}

TEST_F(PanelTest, ControlsInsideAHiddenOrDisabledParentTakeNoInput) {
  form->Button2->OnClick = Record("inner");
  form->Panel1->Visible = false;
  EXPECT_FALSE(User::Click(form->Button2));
  form->Panel1->Visible = true;
  form->Panel1->Enabled = false;
  EXPECT_FALSE(User::Click(form->Button2));
  form->Panel1->Enabled = true;
  EXPECT_TRUE(User::Click(form->Button2));
  EXPECT_EQ(log, Log{"inner"});
}
