// Choosing a moveable, an animation and a keyframe; playback; the main road
// of editing (pick a mesh, turn it with the track bars, commit, save, read the
// file back); the root offset fields; the rotation undo stack; modal boxes.

#include <gtest/gtest.h>

#include <cmath>

#include "TestWad.h"

using namespace uitest;

namespace {

std::vector<String> Texts(std::initializer_list<const TControl*> controls) {
  std::vector<String> texts;
  for (const TControl* control : controls) texts.push_back(control->GetText());
  return texts;
}
std::vector<String> RootFields(TForm2& f) {
  return Texts({f.CSpinEdit1, f.CSpinEdit2, f.CSpinEdit3});
}
// Plate keyframe k's root offset as the fields show it, y upwards.
std::vector<String> ShownRoot(int k) {
  return {IntToStr(10 + k), IntToStr(20 + k), IntToStr(30 + k)};
}
bool ShowsMoveable(EditorSession& session) {
  const std::vector<std::uint32_t>& pixels = session.PanelPixels();
  return std::find(pixels.begin(), pixels.end(), kTexturePixel) != pixels.end();
}
// Degrees of a 10-bit field of mesh 0's two-word rotation in plate keyframe 0
// (shift 20 for X, 10 for Y, 0 for Z), and of a one-word rotation.
int TwoWordDegrees(const WadFile& wad, int shift) {
  const std::uint32_t v = static_cast<std::uint32_t>(wad.keyFrameWords[kBigMeshWord]) << 16 |
                          wad.keyFrameWords[kBigMeshWord + 1];
  return static_cast<int>(std::lround((v >> shift & 0x3FF) * 360.0 / 1024));
}
int OneWordDegrees(std::uint16_t word) {
  return static_cast<int>(std::lround((word & 0x3FFF) * 360.0 / 4096));
}

}  // namespace

TEST(Selection, ShowsTheChosenAnimationAndKeyFrame) {
  TestWadSession session;
  TForm2& form = session.Form();
  EXPECT_EQ(form.RadioGroup2->GetText(), String(L"Num Animations:2"));
  EXPECT_EQ(form.RadioGroup3->GetText(), String(L"Num Key Frames:3 Frame Rate:50"));
  EXPECT_FALSE(User::TypeText(form.ComboBox1, L"Animation #1"));  // a list, not a field
  EXPECT_EQ(RootFields(form), ShownRoot(0));
  session.ShowKeyFrame(2);
  EXPECT_EQ(RootFields(form), ShownRoot(2));
  session.ShowKeyFrame(-1);  // the last keyframe
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"2"));

  session.Choose(1, 0);
  EXPECT_EQ(form.RadioGroup2->GetText(), String(L"Num Animations:1"));
  EXPECT_EQ(form.RadioGroup3->GetText(), String(L"Num Key Frames:2 Frame Rate:25"));
  EXPECT_EQ(form.CSpinEdit4->GetText(), String(L"2"));
  // The next animation counts from the moveable's first (2 - 2), the next
  // frame from that animation's first frame (11 - 10); the speed -3.5 shows
  // its whole part, rounded down.
  EXPECT_EQ(Texts({form.Edit5, form.Edit6, form.Edit7, form.Edit8, form.Edit9, form.Edit10}),
            (std::vector<String>{L"0", L"1", L"1", L"65535", L"-4", L"-7"}));
  EXPECT_EQ(form.GroupBox1->GetText(),
            String(L"Animation Parameters: Start Frame #0 End Frame #1"));
  EXPECT_EQ(Main()._Animacion, 2);
  EXPECT_EQ(Main().pivoteAnimacion, 2);

  User::ChooseItem(form.ListBox1, 2);
  EXPECT_EQ(form.RadioGroup2->GetText(), String(L"Num Animations:0"));
  EXPECT_EQ(form.ComboBox1->GetItems()->GetCount(), 0);
}

TEST(Selection, KeyFrameNumbersThatNameNoKeyFrameKeepTheLastKeyFrameDrawn) {
  TestWadSession session;
  TForm2& form = session.Form();
  session.ShowKeyFrame(1);
  User::Click(form.CheckBox2);
  User::Click(form.CheckBox1);  // the box needs the keyframe number in every frame
  session.Frames(1);
  EXPECT_TRUE(ShowsMoveable(session));
  for (const wchar_t* typed : {L"9", L"-2", L"-", L"abc"}) {
    User::TypeText(form.SpinEdit1, typed);
    session.Frames(2);
    EXPECT_TRUE(ShowsMoveable(session)) << typed;
    EXPECT_EQ(RootFields(form), ShownRoot(1)) << typed;
  }
  EXPECT_TRUE(session.Boxes().empty());
  // One past the last keyframe is where playback wraps: the next frame shows the first.
  session.ShowKeyFrame(3);
  session.Frames(1);
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"0"));
  EXPECT_TRUE(ShowsMoveable(session));
}

TEST(Playback, StepsAKeyFrameEveryFrameRateTimes25MsAndWraps) {
  TestWadSession session;
  TForm2& form = session.Form();
  User::Click(form.Button1);
  EXPECT_EQ(form.Button1->GetText(), String(L" Stop "));
  const DWORD period = kPlateFrameRate * 25;
  session.desktop.clock.Advance(period - 1);
  session.Frames(1);
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"0"));
  const std::vector<int> expected{0, 1, 2, 0, 1};  // three keyframes, then round again
  for (std::size_t step = 1; step < expected.size(); ++step) {
    session.desktop.clock.Advance(step == 1 ? 1 : period);
    session.Frames(1);
    EXPECT_EQ(form.SpinEdit1->GetText(), IntToStr(expected[step])) << step;
    EXPECT_EQ(RootFields(form), ShownRoot(expected[step])) << step;
  }
  User::Click(form.Button1);
  EXPECT_EQ(form.Button1->GetText(), String(L" Play "));
  session.desktop.clock.Advance(3 * period);
  session.Frames(1);
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"1"));
}

// The main road: pick each square where it is drawn, turn it, commit, save,
// read back. A bar of the small square, whose angles are all 0 (shown as 360),
// leaves its other axes at 0: it stays a one-word rotation.
TEST(RotationEditing, PickTurnCommitAndSaveChangesOnlyThoseRotations) {
  TestWadSession session;
  TForm2& form = session.Form();
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), kTexturePixel);
  session.ClickPanel(kPlateX, kPlateY);
  EXPECT_EQ(form.GetText(), String(L"Mesh #0"));
  EXPECT_EQ(Texts({form.Edit1, form.Edit2, form.Edit3}),
            (std::vector<String>{L"180", L"360", L"90"}));
  session.Frames(1);
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), kClearPixel);  // drawn as wireframe
  EXPECT_EQ(session.PanelPixel(kSmallX, kSmallY), kTexturePixel);
  session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);
  const int big = StrToInt(form.Edit1->GetText());
  ASSERT_NE(big, 180);

  session.ClickPanel(kSmallX, kSmallY);
  EXPECT_EQ(form.GetText(), String(L"Mesh #1"));
  EXPECT_EQ(Texts({form.Edit1, form.Edit2, form.Edit3}),
            (std::vector<String>{L"360", L"360", L"360"}));
  session.PressBar(form.TrackBar2, form.TrackBar2->GetHeight() / 4);
  const int small = StrToInt(form.Edit2->GetText());
  ASSERT_NE(small, 360);

  const WadFile saved = session.CommitSaveAndRead();
  ASSERT_FALSE(session.Boxes().empty());
  EXPECT_EQ(session.Boxes()[0],
            (MessageRecord{L"The current frame has been updated", L"Ulvo Dide Rizid", MB_OK}));
  EXPECT_EQ(saved.keyFrameWords[kBigMeshWord] >> 14, 0);  // still two words
  EXPECT_EQ(TwoWordDegrees(saved, 20), big);
  EXPECT_EQ(TwoWordDegrees(saved, 10) % 360, 0);
  EXPECT_EQ(TwoWordDegrees(saved, 0), 90);
  EXPECT_EQ(saved.keyFrameWords[kSmallMeshWord] & 0xC000, 0x8000);  // one word, about Y
  EXPECT_EQ(OneWordDegrees(saved.keyFrameWords[kSmallMeshWord]), small);
  WadFile expected = BuildTestWad();
  for (int w : {kBigMeshWord, kBigMeshWord + 1, kSmallMeshWord})
    expected.keyFrameWords[w] = saved.keyFrameWords[w];
  EXPECT_EQ(SerializeWad(saved), SerializeWad(expected));

  // A click on nothing unpicks; a click while playing picks nothing.
  session.ClickPanel(5, 430);
  EXPECT_EQ(form.GetText(), String::FromUtf8((session.Folder() / "saved.wad").string()));
  EXPECT_FALSE(form.TrackBar1->GetEnabled());
  User::Click(form.Button1);
  session.ClickPanel(kPlateX, kPlateY);
  session.Frames(1);
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), kTexturePixel);
  EXPECT_FALSE(form.TrackBar1->GetEnabled());
}

TEST(RootOffset, FieldsWriteTheShownKeyFrameIn16Bits) {
  TestWadSession session;
  TForm2& form = session.Form();
  session.ShowKeyFrame(1);
  User::TypeText(form.CSpinEdit1, L"-5");
  User::TypeText(form.CSpinEdit1, L"-");  // half typed: writes nothing
  EXPECT_EQ(Main().animaciones[0]->keyFrames[1].workingRootOffset[0], -5);
  User::TypeText(form.CSpinEdit1, L"-5");
  User::TypeText(form.CSpinEdit2, L"15");
  User::TypeText(form.CSpinEdit3, L"40000");
  const WadFile saved = session.CommitSaveAndRead();
  const auto root = [&](int axis) {
    return static_cast<std::int16_t>(saved.keyFrameWords[kFrameWords + kRootWord + axis]);
  };
  EXPECT_EQ(root(0), -5);
  EXPECT_EQ(root(1), -15);
  EXPECT_EQ(root(2), 32767);
}

TEST(RotationUndo, KeepsTheLastTenPressesAndPutsThemBack) {
  TestWadSession session;
  TForm2& form = session.Form();
  session.ClickPanel(kPlateX, kPlateY);
  std::vector<int> before;
  for (int press = 0; press < 11; ++press) {
    before.push_back(StrToInt(form.Edit1->GetText()));
    session.PressBar(form.TrackBar1, 20 + press * 40);
  }
  for (int undo = 10; undo >= 1; --undo) {
    EXPECT_TRUE(User::ChooseMenuItem(form.Undo1));
    EXPECT_EQ(StrToInt(form.Edit1->GetText()), before[static_cast<std::size_t>(undo)]) << undo;
  }
  EXPECT_FALSE(form.Undo1->GetEnabled());  // the first press was dropped
  EXPECT_FALSE(User::ChooseMenuItem(form.Undo1));
  EXPECT_EQ(TwoWordDegrees(session.CommitSaveAndRead(), 20), before[1]);

  session.PressBar(form.TrackBar1, 100);
  session.ShowKeyFrame(1);
  EXPECT_FALSE(form.Undo1->GetEnabled());
}

TEST(MessageBoxes, KeepTheWindowsFromInputWhileTheyAreUp) {
  TestWadSession session;
  struct TryingToChoose : MessageService {
    int Show(HWND, const MessageRecord&) override {
      tookInput = User::ChooseItem(Main().Form2->ListBox1, 1);
      return IDOK;
    }
    bool tookInput = true;
  } user;
  ScopedMessageService scope(user);
  User::Click(session.Form().Button2);
  EXPECT_FALSE(user.tookInput);
  EXPECT_EQ(session.Form().ListBox1->GetItemIndex(), 0);
  EXPECT_TRUE(User::ChooseItem(session.Form().ListBox1, 1));
}
