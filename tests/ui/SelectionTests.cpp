// Choosing a moveable, an animation and a keyframe, and playing an animation:
// the captions, fields and view the user then sees.

#include <gtest/gtest.h>

#include "EditorSession.h"
#include "TestWad.h"

using uitest::EditorSession;
using uitest::kPlateKeyFrames;

namespace {

// A session with the test WAD open.
struct OpenTestWad : EditorSession {
  OpenTestWad() : EditorSession(std::nullopt) {
    Open(uitest::WriteTestWad(Folder() / "test.wad", uitest::BuildTestWad()));
  }
  std::vector<String> RootFields() {
    TForm2& f = Form();
    return {f.CSpinEdit1->GetText(), f.CSpinEdit2->GetText(), f.CSpinEdit3->GetText()};
  }
  std::vector<String> ShownRoot(int keyFrame) {
    const auto& root = kPlateKeyFrames[static_cast<std::size_t>(keyFrame)].root;
    return {IntToStr(root[0]), IntToStr(-root[1]), IntToStr(root[2])};
  }
  // Whether the frame shows any of the moveable's texture.
  bool ShowsMoveable() {
    const auto& pixels = PanelPixels();
    return std::find(pixels.begin(), pixels.end(), uitest::kTexturePixel) != pixels.end();
  }
};

}  // namespace

TEST(Selection, ShowsTheChosenAnimationAndKeyFrame) {
  OpenTestWad session;
  TForm2& form = session.Form();
  session.Choose(1, 0);
  EXPECT_EQ(form.RadioGroup2->GetText(), String(L"Num Animations:1"));
  EXPECT_EQ(form.RadioGroup3->GetText(), String(L"Num Key Frames:2 Frame Rate:25"));
  EXPECT_EQ(form.CSpinEdit4->GetText(), String(L"2"));
  // The next animation counts from the moveable's first, the next frame from
  // that animation's first frame; the speed shows its whole part.
  const std::vector<String> parameters{form.Edit5->GetText(), form.Edit6->GetText(),
                                       form.Edit7->GetText(), form.Edit8->GetText(),
                                       form.Edit9->GetText(), form.Edit10->GetText()};
  EXPECT_EQ(parameters, (std::vector<String>{L"0", L"1", L"1", L"65535", L"-4", L"-7"}));
  EXPECT_EQ(form.GroupBox1->GetText(),
            String(L"Animation Parameters: Start Frame #0 End Frame #1"));
  EXPECT_EQ(Main()._Animacion, 2);
  EXPECT_EQ(Main().pivoteAnimacion, 2);

  session.Choose(0, 0);
  EXPECT_FALSE(User::TypeText(form.ComboBox1, L"Animation #1"));  // a list, not a field
  EXPECT_EQ(Main()._Animacion, 0);
  EXPECT_EQ(form.RadioGroup2->GetText(), String(L"Num Animations:2"));
  EXPECT_EQ(form.ComboBox1->GetItems()->GetCount(), 2);
  EXPECT_EQ(form.RadioGroup3->GetText(), String(L"Num Key Frames:3 Frame Rate:50"));
  EXPECT_EQ(session.RootFields(), session.ShownRoot(0));
  session.ShowKeyFrame(2);
  EXPECT_EQ(session.RootFields(), session.ShownRoot(2));
  session.ShowKeyFrame(-1);  // the last keyframe
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"2"));

  User::ChooseItem(form.ListBox1, 2);
  EXPECT_EQ(form.RadioGroup2->GetText(), String(L"Num Animations:0"));
  EXPECT_EQ(form.ComboBox1->GetItems()->GetCount(), 0);
}

TEST(Selection, KeyFrameNumbersThatNameNoKeyFrameShowNothing) {
  OpenTestWad session;
  TForm2& form = session.Form();
  session.Choose(0, 0);
  session.ShowKeyFrame(1);
  User::Click(form.CheckBox2);
  User::Click(form.CheckBox1);  // the box needs the keyframe number in every frame
  session.Frames(1);
  EXPECT_TRUE(session.ShowsMoveable());
  for (const wchar_t* typed : {L"9", L"-2", L"-", L"abc"}) {
    User::TypeText(form.SpinEdit1, typed);
    session.Frames(2);
    EXPECT_FALSE(session.ShowsMoveable()) << typed;
    EXPECT_EQ(session.RootFields(), session.ShownRoot(1)) << typed;
  }
  EXPECT_TRUE(session.desktop.messages.Boxes().empty());
  // One past the last keyframe is where playback wraps: the next frame shows the first.
  session.ShowKeyFrame(3);
  session.Frames(1);
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"0"));
  EXPECT_EQ(session.RootFields(), session.ShownRoot(0));
  EXPECT_TRUE(session.ShowsMoveable());
}

TEST(Playback, StepsAKeyFrameEveryFrameRateTimes25MsAndWraps) {
  OpenTestWad session;
  TForm2& form = session.Form();
  session.Choose(0, 0);
  User::Click(form.Button1);
  EXPECT_EQ(form.Button1->GetText(), String(L" Stop "));
  const DWORD period = uitest::kPlateFrameRate * 25;
  const std::vector<int> expected{0, 1, 2, 0, 1};  // three keyframes, then round again
  session.desktop.clock.Advance(period - 1);
  session.Frames(1);
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"0"));
  for (std::size_t step = 1; step < expected.size(); ++step) {
    session.desktop.clock.Advance(step == 1 ? 1 : period);
    session.Frames(1);
    EXPECT_EQ(form.SpinEdit1->GetText(), IntToStr(expected[step])) << step;
    EXPECT_EQ(session.RootFields(), session.ShownRoot(expected[step])) << step;
  }
  User::Click(form.Button1);
  EXPECT_EQ(form.Button1->GetText(), String(L" Play "));
  session.desktop.clock.Advance(3 * period);
  session.Frames(1);
  EXPECT_EQ(form.SpinEdit1->GetText(), IntToStr(expected.back()));
}

TEST(Playback, AnimationWithoutKeyFramesCannotBePlayedOrStepped) {
  OpenTestWad session;
  TForm2& form = session.Form();
  session.Choose(0, 0);
  User::Click(form.Button1);
  User::ChooseItem(form.ComboBox1, 1);
  EXPECT_FALSE(form.SpinEdit1->GetEnabled());
  EXPECT_FALSE(form.Button1->GetEnabled());
  EXPECT_EQ(form.Button1->GetText(), String(L" Play "));
  // The moveable stands in its bind pose and can be picked, but has no angles to edit.
  session.Frames(1);
  EXPECT_TRUE(session.ShowsMoveable());
  session.ClickPanel(244, 221);
  EXPECT_EQ(form.GetText(), String(L"Mesh #0"));
  EXPECT_FALSE(form.TrackBar1->GetEnabled());
  User::Click(form.Button2);
  EXPECT_TRUE(session.desktop.messages.Boxes().empty());
}
