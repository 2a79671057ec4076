// The main road of editing: pick a mesh in the 3D view, turn it with the
// track bars, commit the keyframe, save, and read the file back; the root
// offset fields; the rotation undo stack.

#include <gtest/gtest.h>

#include <cmath>

#include "EditorSession.h"
#include "TestWad.h"

using uitest::EditorSession;
using uitest::kClearPixel;
using uitest::kPlateKeyFrames;
using uitest::kPlateX;
using uitest::kPlateY;
using uitest::kSmallX;
using uitest::kSmallY;

namespace {

constexpr int kFrameWords = 12;  // of animation 0: 9 header, 2 + 1 rotation words
constexpr int kRootWord = 6, kBigMeshWord = 9, kSmallMeshWord = 11;

struct EditingSession : EditorSession {
  EditingSession() : EditorSession(std::nullopt) {
    original = uitest::BuildTestWad();
    Open(uitest::WriteTestWad(Folder() / "test.wad", original));
    Choose(0, 0);
    Frames(1);
  }
  // Update KeyFrame, then save and read the file back.
  WadFile CommitSaveAndRead() {
    User::Click(Form().Button2);
    Save(Folder() / "saved");
    WadFile saved;
    EXPECT_EQ(ReadWad((Folder() / "saved.wad").string(), saved), 1);
    return saved;
  }
  std::vector<String> Echoes() {
    return {Form().Edit1->GetText(), Form().Edit2->GetText(), Form().Edit3->GetText()};
  }
  int Echo(TEdit* edit) { return StrToInt(edit->GetText()); }
  WadFile original;
};

// Degrees of a 10-bit field of a two-word rotation, and of a one-word rotation.
int TwoWordDegrees(std::uint32_t field) {
  return static_cast<int>(std::lround(field * 360.0 / 1024));
}
int OneWordDegrees(std::uint16_t word) {
  return static_cast<int>(std::lround((word & 0x3FFF) * 360.0 / 4096));
}

}  // namespace

TEST(RotationEditing, PickTurnCommitAndSaveChangesOnlyThatRotation) {
  EditingSession session;
  TForm2& form = session.Form();
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), uitest::kTexturePixel);
  session.ClickPanel(kPlateX, kPlateY);
  EXPECT_EQ(form.GetText(), String(L"Mesh #0"));
  // Keyframe 0 turns the large square 180, 0 and 90 degrees; 0 shows as 360.
  EXPECT_EQ(session.Echoes(), (std::vector<String>{L"180", L"360", L"90"}));
  session.Frames(1);
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), kClearPixel);  // drawn as wireframe
  EXPECT_EQ(session.PanelPixel(kSmallX, kSmallY), uitest::kTexturePixel);

  session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);
  const int turned = session.Echo(form.Edit1);
  ASSERT_NE(turned, 180);
  const WadFile saved = session.CommitSaveAndRead();
  ASSERT_FALSE(session.desktop.messages.Boxes().empty());
  EXPECT_EQ(session.desktop.messages.Boxes()[0],
            (MessageRecord{L"The current frame has been updated", L"Ulvo Dide Rizid", MB_OK}));

  const std::uint32_t v = static_cast<std::uint32_t>(saved.keyFrameWords[kBigMeshWord]) << 16 |
                          saved.keyFrameWords[kBigMeshWord + 1];
  EXPECT_EQ(v >> 30, 0u);  // still two words
  EXPECT_EQ(TwoWordDegrees(v >> 20 & 0x3FF), turned);
  EXPECT_EQ(TwoWordDegrees(v >> 10 & 0x3FF) % 360, 0);
  EXPECT_EQ(TwoWordDegrees(v & 0x3FF), 90);
  WadFile expected = session.original;
  expected.keyFrameWords[kBigMeshWord] = saved.keyFrameWords[kBigMeshWord];
  expected.keyFrameWords[kBigMeshWord + 1] = saved.keyFrameWords[kBigMeshWord + 1];
  EXPECT_EQ(SerializeWad(saved), SerializeWad(expected));
}

TEST(RotationEditing, ZeroAngleStaysAZeroTurnWhenAnotherBarMoves) {
  EditingSession session;
  TForm2& form = session.Form();
  session.ClickPanel(kSmallX, kSmallY);
  EXPECT_EQ(form.GetText(), String(L"Mesh #1"));
  EXPECT_EQ(session.Echoes(), (std::vector<String>{L"360", L"360", L"360"}));
  session.PressBar(form.TrackBar2, form.TrackBar2->GetHeight() / 4);
  const int turned = session.Echo(form.Edit2);
  const WadFile saved = session.CommitSaveAndRead();
  // X stays out of the rotation: one word about Y, and the frame keeps its size.
  const std::uint16_t word = saved.keyFrameWords[kSmallMeshWord];
  EXPECT_EQ(word & 0xC000, 0x8000);
  EXPECT_EQ(OneWordDegrees(word), turned);
  EXPECT_EQ(saved.keyFrameWords.size(), session.original.keyFrameWords.size());
}

TEST(RotationEditing, ClickOnNothingOrWhilePlayingPicksNothing) {
  EditingSession session;
  TForm2& form = session.Form();
  session.ClickPanel(kPlateX, kPlateY);
  session.ClickPanel(5, 430);
  EXPECT_EQ(form.GetText(), String::FromUtf8((session.Folder() / "test.wad").string()));
  EXPECT_FALSE(form.TrackBar1->GetEnabled());
  session.Frames(1);
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), uitest::kTexturePixel);

  User::Click(form.Button1);
  session.ClickPanel(kPlateX, kPlateY);
  session.Frames(1);
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), uitest::kTexturePixel);
  EXPECT_FALSE(form.TrackBar1->GetEnabled());
}

TEST(RootOffset, FieldsWriteTheShownKeyFrameIn16Bits) {
  EditingSession session;
  TForm2& form = session.Form();
  session.ShowKeyFrame(1);
  User::TypeText(form.CSpinEdit1, L"-");  // half typed: nothing yet
  EXPECT_TRUE(session.desktop.messages.Boxes().empty());
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
  EditingSession session;
  TForm2& form = session.Form();
  session.ClickPanel(kPlateX, kPlateY);
  std::vector<int> before;
  for (int press = 0; press < 11; ++press) {
    before.push_back(session.Echo(form.Edit1));
    session.PressBar(form.TrackBar1, 20 + press * 40);
  }
  for (int undo = 10; undo >= 1; --undo) {
    EXPECT_TRUE(User::ChooseMenuItem(form.Undo1));
    EXPECT_EQ(session.Echo(form.Edit1), before[static_cast<std::size_t>(undo)]) << undo;
  }
  EXPECT_FALSE(form.Undo1->GetEnabled());  // the first press was dropped
  EXPECT_FALSE(User::ChooseMenuItem(form.Undo1));

  const WadFile saved = session.CommitSaveAndRead();
  const std::uint32_t v = static_cast<std::uint32_t>(saved.keyFrameWords[kBigMeshWord]) << 16 |
                          saved.keyFrameWords[kBigMeshWord + 1];
  EXPECT_EQ(TwoWordDegrees(v >> 20 & 0x3FF), before[1]);

  session.PressBar(form.TrackBar1, 100);
  session.ShowKeyFrame(1);
  EXPECT_FALSE(form.Undo1->GetEnabled());
}

TEST(MessageBoxes, KeepTheWindowsFromInputWhileTheyAreUp) {
  EditingSession session;
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
