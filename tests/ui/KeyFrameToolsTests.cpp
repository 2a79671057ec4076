// The keyframe tools of the main window, driven as a person would and ending
// with the saved file read back: copy and paste of a keyframe, adding and
// deleting keyframes, "Apply" of the animation parameters, the bounds tools,
// "Center Camera" and "About"; on the test WAD and on a real one.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "SharedData.h"
#include "TestWad.h"
#include "model/AnimCommands.h"
#include "model/KeyFrameCodec.h"
#include "model/KeyFrameStream.h"

using namespace uitest;
using testsupport::ReadBytes;

namespace {

constexpr UINT kWarning = MB_OK | MB_ICONEXCLAMATION;
const MessageRecord kOtherMoveable{L"You can't copy & paste Keyframes from different Moveables",
                                   L"Warning", kWarning};

KeyFrame& Plate(int k) { return Main().animaciones[0]->keyFrames[static_cast<std::size_t>(k)]; }

// Types keyframe k and draws a frame, as the running editor does at once.
void Show(EditorSession& session, int k) {
  session.ShowKeyFrame(k);
  session.Frames(1);
}

// Saves as "saved.wad": whether it holds the bytes of file.
bool SavesAs(EditorSession& session, const std::filesystem::path& file) {
  session.Save(session.Folder() / "saved.wad");
  return ReadBytes(session.Folder() / "saved.wad") == ReadBytes(file);
}

AnimationModel Decode(const WadFile& wad) {
  AnimationModel model;
  std::uint32_t total = 0;
  DecodeKeyFrames(model, wad, total);
  return model;
}

// The box of plate keyframe k, worked out from the test WAD's layout: both
// squares lie in the z = 0 plane, the large one (half size 10 display units)
// turned onto itself about the root, the small one (half size 5) 30 units
// above it, all moved by the root offset (10 + k, -20 - k, 30 + k) as display
// units (x, -y, z) / 10; the smallest Z starts at 0. Extremes round half up,
// negatives towards zero, and are stored times 10 with Y negated: corner A
// holds the smallest X, Y and Z.
KeyFrameBox PlateBounds(int k) {
  const double rx = (10 + k) / 10.0, ry = (20 + k) / 10.0, rz = (30 + k) / 10.0;
  const auto wad = [](double v, int sign) {
    const double whole = std::trunc(v);
    return static_cast<std::int16_t>(sign * 10 * (whole + (v >= whole + 0.5 ? 1 : 0)));
  };
  return {wad(rx - 10, 1), wad(ry + 35, -1), wad(0, 1),
          wad(rx + 10, 1), wad(ry - 10, -1), wad(rz, 1)};
}

// The test WAD with frame numbers that depend on one another: a state change
// on each plate animation, whose dispatch goes to the other one, and a sound
// on each; the second plate animation spans frames 5 and 6. The plate's
// speed has a fraction.
WadFile BuildLinkedFramesWad() {
  WadFile wad = BuildTestWad();
  wad.animations[0].speed = 0x12345;
  wad.animations[1].frameEnd = 6;
  wad.stateChanges = {{.stateId = 1, .numDispatches = 1, .dispatchIndex = 0},
                      {.stateId = 2, .numDispatches = 1, .dispatchIndex = 1}};
  wad.dispatches = {{.inFrame = 1, .outFrame = 3, .nextAnimation = 1, .nextFrame = 6},
                    {.inFrame = 5, .outFrame = 6, .nextAnimation = 0, .nextFrame = 2}};
  wad.commandWords = {kCommandPlaySound, 2, 70, kCommandPlaySound, 6, 77};
  for (std::uint16_t a : {0, 1}) {
    wad.animations[a].numStateChanges = wad.animations[a].numCommands = 1;
    wad.animations[a].stateChangeIndex = a;
    wad.animations[a].commandOffset = static_cast<std::uint16_t>(3 * a);
  }
  return wad;
}

// The file with every frame number counted from the first frame of the
// animation it belongs to or names, and every first frame 0.
WadFile RelativeFrames(WadFile wad) {
  std::vector<int> start;
  for (const WadAnimation& a : wad.animations) start.push_back(a.frameStart);
  const auto of = [&](std::size_t a) { return a < start.size() ? start[a] : 0; };
  const auto less = [](std::uint16_t& frame, int by) { frame = static_cast<std::uint16_t>(frame - by); };
  for (const AnimCommand& c : DecodeAnimCommands(wad))
    if (c.type == kCommandPlaySound || c.type == kCommandPlayEffect)
      less(wad.commandWords[c.wordOffset + 1], of(c.animIndex));
  for (std::size_t i = 0; i < wad.animations.size(); ++i) {
    WadAnimation& a = wad.animations[i];
    for (std::size_t s = a.stateChangeIndex; s < a.stateChangeIndex + a.numStateChanges; ++s)
      for (std::size_t d = 0; d < wad.stateChanges[s].numDispatches; ++d) {
        WadDispatch& x = wad.dispatches[wad.stateChanges[s].dispatchIndex + d];
        less(x.inFrame, start[i]);
        less(x.outFrame, start[i]);
        less(x.nextFrame, of(x.nextAnimation));
      }
    less(a.frameEnd, start[i]);
    less(a.nextFrame, of(a.nextAnimation));
    a.frameStart = 0;
  }
  return wad;
}

// After animation g, whose moveable's animations end before end, got
// frameCount frames: the later animations of its moveable start later by the
// change, and every frame number keeps its place in its animation; nothing
// else of the file changed but g's own fields.
void ExpectFramesFollow(const WadFile& before, const WadFile& after, std::size_t g, std::size_t end,
                        int frameCount) {
  ASSERT_EQ(after.animations.size(), before.animations.size());
  const WadAnimation& was = before.animations[g];
  const int delta = frameCount - (was.frameEnd - was.frameStart + 1);
  EXPECT_EQ(after.animations[g].frameEnd - after.animations[g].frameStart, frameCount - 1);
  for (std::size_t i = 0; i < before.animations.size(); ++i)
    EXPECT_EQ(after.animations[i].frameStart,
              before.animations[i].frameStart + (i > g && i < end ? delta : 0)) << i;
  WadFile expected = RelativeFrames(before);
  const WadFile got = RelativeFrames(after);
  expected.animations[g] = got.animations[g];
  EXPECT_TRUE(got == expected);
}

}  // namespace

// Nothing to copy leaves nothing to paste. Keyframe 1 pasted over keyframe 0
// with no mesh picked: its box is calculated, and the first bar moved next is
// written. Keyframe 2 turned, committed and pasted: only Update KeyFrame
// commits its rotation. A clipboard from another moveable, or another WAD's
// of another mesh count, is refused; of the same count, it fits.
TEST(KeyFrameClipboard, PastesAnotherKeyFramesPoseAndRefusesWhatDoesNotFit) {
  TestWadSession session;
  TForm2& form = session.Form();
  const auto copyAndPaste = [&](int from, int to) {
    Show(session, from);
    User::ChooseMenuItem(form.Edit4);
    Show(session, to);
    User::ChooseMenuItem(form.ReplaceFrame1);
  };
  const auto turnPickedMesh = [&] {
    session.ClickPanel(kPlateX, kPlateY);
    session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);
  };
  User::ChooseItem(form.ListBox1, 2);
  User::ChooseMenuItem(form.Edit4);
  session.Choose(0, 0);
  copyAndPaste(9, 0);
  EXPECT_TRUE(session.Boxes().empty());
  EXPECT_FALSE(Main().showCalculatedBounds);

  copyAndPaste(1, 0);
  EXPECT_TRUE(Main().showCalculatedBounds);
  EXPECT_EQ(Plate(0).workingBox, PlateBounds(1));
  EXPECT_EQ(Plate(0).workingRootOffset, Plate(1).rootOffset);
  turnPickedMesh();
  EXPECT_EQ(Plate(0).meshes[0].workingAngles[0],
            static_cast<float>(StrToInt(form.Edit1->GetText())));

  Show(session, 2);
  turnPickedMesh();
  User::Click(form.Button2);
  copyAndPaste(2, 0);
  EXPECT_NE(Plate(0).meshes[0].angles, Plate(0).meshes[0].workingAngles);
  const WadFile saved = session.CommitSaveAndRead();
  WadFile expected = BuildTestWad();
  for (std::size_t w = kRootWord; w < kFrameWords; ++w)
    expected.keyFrameWords[w] = expected.keyFrameWords[2 * kFrameWords + w] =
        saved.keyFrameWords[2 * kFrameWords + w];
  std::copy_n(saved.keyFrameWords.begin(), kRootWord, expected.keyFrameWords.begin());
  EXPECT_EQ(SerializeWad(saved), SerializeWad(expected));
  EXPECT_NE(saved.keyFrameWords[kBigMeshWord], BuildTestWad().keyFrameWords[kBigMeshWord]);

  session.Choose(1, 0);
  User::ChooseMenuItem(form.ReplaceFrame1);
  EXPECT_EQ(session.Boxes().back(), kOtherMoveable);
  const auto full = WriteTestWad(session.Folder() / "full.wad", BuildFullFrameWad());
  session.Open(full);
  session.Choose(0, 0);
  User::ChooseMenuItem(form.ReplaceFrame1);
  EXPECT_EQ(session.Boxes().back(), kOtherMoveable);
  EXPECT_TRUE(SavesAs(session, full));
  session.Open(session.file);
  session.Choose(0, 0);
  User::ChooseMenuItem(form.ReplaceFrame1);
  EXPECT_EQ(Plate(0).workingRootOffset, Plate(2).rootOffset);
}

// Pasted into a WAD whose plate hangs its small square elsewhere: the pose
// and box are those of the destination's joints, as the saved file gives them
// when opened again.
TEST(KeyFrameClipboard, APasteIntoAnotherWadIsPosedAndMeasuredWithItsJoints) {
  TestWadSession session;
  TForm2& form = session.Form();
  WadFile other = BuildTestWad();
  other.links = {0, 0, 0, 450};  // the small square 450 units along Z, not 300 along X
  Show(session, 1);
  User::ChooseMenuItem(form.Edit4);
  session.Open(WriteTestWad(session.Folder() / "other.wad", other));
  session.Choose(0, 0);
  Show(session, 0);
  User::ChooseMenuItem(form.ReplaceFrame1);
  session.CommitSaveAndRead();
  const KeyFrame pasted = Plate(0);
  EXPECT_NE(pasted.box, PlateBounds(1));  // the box in the WAD it was copied from

  session.Open(session.Folder() / "saved.wad");
  session.Choose(0, 0);
  Show(session, 0);
  for (std::size_t j = 0; j < pasted.meshes.size(); ++j)
    EXPECT_EQ(Plate(0).meshes[j].world, pasted.meshes[j].world) << "mesh " << j;
  User::Click(form.Button4);
  EXPECT_EQ(Plate(0).workingBox, pasted.box);
}

// Words that whole degrees do not give back (a two-word rotation, a one-word
// X) are saved as copied until a track bar turns that mesh.
TEST(KeyFrameClipboard, APasteSavesTheCopiedRotationsWordForWord) {
  TestWadSession session;
  TForm2& form = session.Form();
  WadFile built = BuildTestWad();
  const std::uint32_t fields = 100u << 20 | 200u << 10 | 300u;
  const std::array<std::uint16_t, 3> copied{static_cast<std::uint16_t>(fields >> 16),
                                            static_cast<std::uint16_t>(fields), 0x4000 | 1000};
  std::copy(copied.begin(), copied.end(), built.keyFrameWords.begin() + kFrameWords + kBigMeshWord);
  session.Open(WriteTestWad(session.Folder() / "words.wad", built));
  session.Choose(0, 0);
  Show(session, 1);
  User::ChooseMenuItem(form.Edit4);
  Show(session, 2);
  User::ChooseMenuItem(form.ReplaceFrame1);
  const auto savedWords = [&] {
    const WadFile saved = session.CommitSaveAndRead();
    const auto at = saved.keyFrameWords.begin() + 2 * kFrameWords + kBigMeshWord;
    return std::array<std::uint16_t, 3>{at[0], at[1], at[2]};
  };
  EXPECT_EQ(savedWords(), copied);
  session.ClickPanel(kPlateX, kPlateY);
  session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);
  const std::array<std::uint16_t, 3> turned = savedWords();
  std::array<std::uint16_t, 2> fresh{};
  ASSERT_EQ(EncodeRotation(Plate(2).meshes[0].angles, fresh), 2);
  EXPECT_EQ(turned, (std::array{fresh[0], fresh[1], copied[2]}));
}

// On lara.wad and wolf.wad, keyframe 0 pasted over the last one, as a loop is
// closed, saves the copied rotation words.
TEST(KeyFrameClipboard, OnRealWadsAPasteSavesTheCopiedWords) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  for (const char* name : {"wads/lara.wad", "wads/wolf.wad"}) {
    EditorSession session;
    TForm2& form = session.Form();
    session.Open(testsupport::SharedPath(name));
    const AnimationModel before = Decode(Main().wadfile);
    const auto g = static_cast<std::size_t>(Main().wadfile.moveables[0].animIndex);
    ASSERT_GE(before[g]->numKeyFrames(), 2) << name;
    session.Choose(0, 0);
    Show(session, 0);
    User::ChooseMenuItem(form.Edit4);
    Show(session, before[g]->numKeyFrames() - 1);
    User::ChooseMenuItem(form.ReplaceFrame1);
    const AnimationModel after = Decode(session.CommitSaveAndRead());
    ASSERT_EQ(after.size(), before.size()) << name;
    const KeyFrame &source = before[g]->keyFrames.front(), &pasted = after[g]->keyFrames.back();
    for (std::size_t j = 0; j < source.meshes.size(); ++j)
      EXPECT_EQ(pasted.meshes[j].stored, source.meshes[j].stored) << name << " mesh " << j;
  }
}

TEST(KeyFrameList, AddAndDeleteKeepTheSelectionOnAKeyFrameAndSaveWhatIsLeft) {
  TestWadSession session;
  TForm2& form = session.Form();
  User::ChooseItem(form.ListBox1, 2);  // no animation: nothing to add to or delete
  User::Click(form.Button3);
  User::ChooseMenuItem(form.N4);
  session.Choose(0, 0);
  User::Click(form.Button3);
  EXPECT_EQ(
      session.Boxes().back(),
      (MessageRecord{L"A new frame has been added after the last frame", L"New Frame", MB_OK}));
  User::ChooseMenuItem(form.N4);  // the last: the selector and view take the new last
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"2"));
  EXPECT_EQ(form.SelectedView()->ShownKeyFrame(), 2);
  session.Frames(1);
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), kTexturePixel);
  EXPECT_TRUE(SavesAs(session, session.file));

  Show(session, 0);
  User::ChooseMenuItem(form.N4);
  EXPECT_EQ(form.CSpinEdit1->GetText(), String(L"11"));  // number 0 is the former keyframe 1
  session.Choose(1, 0);
  User::ChooseMenuItem(form.N4);
  User::ChooseMenuItem(form.N4);
  EXPECT_EQ(session.Boxes().back(),
            (MessageRecord{L"You can't delete more Key Frames", L"Ulvo Dide Rizid", kWarning}));
  const AnimationModel before = Decode(BuildTestWad());
  const AnimationModel after = Decode(session.CommitSaveAndRead());
  EXPECT_EQ(after[0]->keyFrames, (std::vector{before[0]->keyFrames[1], before[0]->keyFrames[2]}));
  EXPECT_EQ(after[2]->keyFrames, (std::vector{before[2]->keyFrames[1]}));
}

// A refused "Add KeyFrame" leaves the wizard's Undo enabled; one that adds disables it.
TEST(KeyFrameList, ARefusedAddLeavesTheWizardsUndoAsItWas) {
  TestWadSession session;
  TForm2& form = session.Form();
  WadFile full = BuildTestWad();  // moveable 1's animation, last in the stream, filled up
  const std::vector<std::uint16_t> frame(full.keyFrameWords.end() - 10, full.keyFrameWords.end());
  while (full.keyFrameWords.size() < 10 * (kMaxKeyFrames + 3))
    full.keyFrameWords.insert(full.keyFrameWords.end(), frame.begin(), frame.end());
  full.moveables[2].keyFrameOffset = static_cast<std::uint32_t>(2 * full.keyFrameWords.size());
  session.Open(WriteTestWad(session.Folder() / "full.wad", full));
  for (int m : {1, 0}) {
    session.Choose(m, 0);
    for (TEdit* field : {form.Edit14, form.Edit15, form.Edit16, form.Edit17}) User::TypeText(field, L"0");
    User::Click(form.Button9);
    ASSERT_TRUE(form.Button12->GetEnabled());
    User::Click(form.Button3);
    EXPECT_EQ(session.Boxes().back().text == L"This animation cannot hold more keyframes", m == 1);
    EXPECT_EQ(form.Button12->GetEnabled(), m == 1);
  }
}

// Every refusal leaves the saved file as it was, a valid field typed with the
// bad one included; then one Apply stores every field and moves the frames.
TEST(AnimationParameters, ApplyStoresEveryFieldOrNoneAndMovesTheLaterFrames) {
  TestWadSession session;
  TForm2& form = session.Form();
  const WadFile before = BuildLinkedFramesWad();
  const auto file = WriteTestWad(session.Folder() / "linked.wad", before);
  session.Open(file);
  const auto warning = [](const wchar_t* text) { return MessageRecord{text, L"Warning", kWarning}; };
  const MessageRecord noNext = warning(L"Next Dide names no animation of this WAD");
  const MessageRecord belowZero = warning(L"With this Total Frames a frame number would fall below 0");
  const MessageRecord pastLast = warning(L"With this Total Frames a frame number would pass 65535");
  struct Case {
    int moveable;
    TControl* field;
    const wchar_t* text;
    MessageRecord box;
  };
  for (const Case& c : std::vector<Case>{
           {0, form.Edit10, L"x", {L"'x' is not a valid integer value", L"Error", MB_OK | MB_ICONERROR}},
           {0, form.Edit5, L"-1", noNext},
           {1, form.Edit5, L"1", noNext},
           {0, form.CSpinEdit4, L"0", belowZero},
           {1, form.CSpinEdit4, L"65527", pastLast},
           {0, form.CSpinEdit4, L"65535", pastLast}}) {
    session.Choose(c.moveable, 0);
    User::TypeText(form.Edit7, L"9");
    User::TypeText(c.field, c.text);
    User::Click(form.Button6);
    EXPECT_EQ(session.Boxes().back(), c.box) << c.moveable << " " << c.text;
    EXPECT_TRUE(SavesAs(session, file)) << c.text;
  }

  session.Choose(0, 0);
  using Typed = std::pair<TControl*, const wchar_t*>;
  for (auto [field, text] : {Typed{form.Edit5, L"1"}, Typed{form.Edit6, L"1"}, Typed{form.Edit7, L"300"},
                             Typed{form.Edit9, L"3"}, Typed{form.Edit10, L"-9"}, Typed{form.CSpinEdit4, L"8"}})
    User::TypeText(field, text);
  User::Click(form.Button6);
  EXPECT_EQ(session.Boxes().back(), (MessageRecord{L"Animation parameters saved", L"", MB_OK}));
  EXPECT_EQ(form.GroupBox1->GetText(), String(L"Animation Parameters: Start Frame #0 End Frame #7"));
  form.RadioButton2Click(nullptr);  // the button is never enabled
  EXPECT_EQ(form.RadioGroup3->GetText(), String(L"Num Total Frames:8 Frame Rate:1100"));
  EXPECT_FALSE(form.Button3->GetEnabled());
  form.RadioButton1Click(nullptr);
  EXPECT_EQ(form.RadioGroup3->GetText(), String(L"Num Key Frames:3 Frame Rate:1100"));

  const WadFile saved = session.CommitSaveAndRead();
  const WadAnimation& a = saved.animations[0];  // the speed's fraction kept, the frame rate wrapped
  EXPECT_EQ(std::tuple(a.nextAnimation, a.nextFrame - saved.animations[1].frameStart, a.frameRate, a.speed, a.accel),
            std::tuple(1, 1, 300 % 256, 3 * 65536 + (before.animations[0].speed & 0xFFFF), -9));
  ExpectFramesFollow(before, saved, 0, 2, 8);
}

// Frames are counted in 16 bits: an animation stored with its last frame one
// before its first shows 0 and takes an Apply of its speed alone; 0 frames
// are accepted from a first frame of 1 on; a Next Frame out of 0..65535 has
// a message of its own.
TEST(AnimationParameters, ApplyAcceptsTheCountShownAndRefusesOnlyFramesOutOfRange) {
  TestWadSession session;
  TForm2& form = session.Form();
  WadFile built = BuildTestWad();
  built.animations[1].frameEnd = 4;  // the plate's second animation: frames 5 to 4
  session.Open(WriteTestWad(session.Folder() / "counts.wad", built));
  const auto apply = [&](int m, int a, TControl* field, const wchar_t* text) {
    session.Choose(m, a);
    User::TypeText(field, text);
    User::Click(form.Button6);
    return session.Boxes().back().text;
  };
  const std::wstring saved = L"Animation parameters saved";
  session.Choose(0, 1);
  EXPECT_EQ(form.CSpinEdit4->GetText(), String(L"0"));
  EXPECT_EQ(apply(0, 1, form.Edit9, L"7"), saved);
  for (const wchar_t* next : {L"-1", L"65536"})
    EXPECT_EQ(apply(0, 0, form.Edit6, next), L"Next Frame names a frame number below 0 or past 65535");
  EXPECT_EQ(apply(1, 0, form.CSpinEdit4, L"-1"), L"Total Frames cannot be negative");
  EXPECT_EQ(apply(1, 0, form.CSpinEdit4, L"0"), saved);  // frames 10 to 9
  built.animations[1].speed = 7 << 16;
  built.animations[2].frameEnd = 9;
  EXPECT_EQ(SerializeWad(session.CommitSaveAndRead()), SerializeWad(built));
}

// Apply with nothing typed is accepted on every animation of the real WADs,
// those showing 0 frames among them, and changes nothing.
TEST(AnimationParameters, ApplyWithNothingTypedKeepsEveryRealAnimation) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  SKIP_WITHOUT_SHARED("wads/push.wad");
  for (const char* name : {"wads/lara.wad", "wads/push.wad"}) {
    EditorSession session;
    TForm2& form = session.Form();
    const auto file = testsupport::SharedPath(name);
    session.Open(file);
    int noFrames = 0;
    for (int m = 0; m < form.ListBox1->GetItems()->GetCount(); ++m) {
      User::ChooseItem(form.ListBox1, m);
      for (int a = 0; a < form.ComboBox1->GetItems()->GetCount(); ++a) {
        User::ChooseItem(form.ComboBox1, a);
        noFrames += form.CSpinEdit4->GetText() == String(L"0");
        User::Click(form.Button6);
        EXPECT_EQ(session.Boxes().back().text, L"Animation parameters saved") << name << " " << m << " " << a;
      }
    }
    EXPECT_GT(noFrames, 0) << name;
    EXPECT_TRUE(SavesAs(session, file)) << name;
  }
}

TEST(BoundsTools, CalculateShowsOneKeyFramesBoxAndStoresEveryBoxOfTheMoveable) {
  TestWadSession session;
  TForm2& form = session.Form();
  const KeyFrameBox stored = Plate(1).box;
  User::TypeText(form.SpinEdit1, L"9");  // no keyframe: nothing to calculate
  User::Click(form.Button4);
  EXPECT_FALSE(Main().showCalculatedBounds);
  Show(session, 1);
  User::Click(form.Button4);
  EXPECT_EQ(Plate(1).workingBox, PlateBounds(1));
  EXPECT_TRUE(Main().showCalculatedBounds);
  EXPECT_EQ(Plate(1).box, stored);  // until Update KeyFrame commits it
  User::Click(form.Button2);
  EXPECT_EQ(Plate(1).box, PlateBounds(1));

  User::Click(form.CheckBox3);
  const MessageRecord applied{L"New bounds calculAted and applied to the entire Moveable", L"", MB_OK};
  User::Click(form.Button4);  // one animation of three keyframes, one of none
  EXPECT_EQ(session.Boxes().back(), applied);
  User::ChooseItem(form.ListBox1, 2);  // no animations
  User::Click(form.Button4);
  EXPECT_EQ(session.Boxes().back(), applied);
  // Every plate keyframe's box words (A.x, B.x, A.y, B.y, A.z, B.z) are its calculated box.
  WadFile expected = BuildTestWad();
  for (int k = 0; k < 3; ++k)
    for (std::size_t w = 0; w < 6; ++w)
      expected.keyFrameWords[static_cast<std::size_t>(k * kFrameWords) + w] =
          static_cast<std::uint16_t>(PlateBounds(k)[w / 2 + 3 * (w % 2)]);
  EXPECT_EQ(SerializeWad(session.CommitSaveAndRead()), SerializeWad(expected));
}

TEST(ViewButtons, CenterCameraStartsTheNextDragFromTheCentredView) {
  TestWadSession session;
  TForm2& form = session.Form();
  const MainUnit& M = Main();
  const auto drag = [&](int from, int to) {
    for (TShiftState keys : {TShiftState{}, TShiftState{ssCtrl}, TShiftState{ssShift}}) {
      User::MouseDown(form.Panel1, mbRight, keys, from, from);
      User::MouseMove(form.Panel1, keys, from, from);
      User::MouseMove(form.Panel1, keys, to, to);
      User::MouseUp(form.Panel1, mbRight, keys, to, to);
    }
  };
  drag(100, 103);
  User::Click(form.Button5);
  EXPECT_EQ(M.viewRotation, (std::array<float, 2>{}));
  EXPECT_EQ(M.viewZoom, 6.0f);
  EXPECT_EQ(M.viewPan, (std::array<float, 2>{}));
  // One pixel from the centred view: 1000 steps of speed 1.2 about Y, 1.2
  // less zoom, 1.2 times 20 less pan.
  drag(50, 51);
  EXPECT_FLOAT_EQ(M.viewRotation[0],
                  static_cast<float>(std::fmod(1000.0 * 1.2f, 2 * std::numbers::pi)));
  EXPECT_FLOAT_EQ(M.viewZoom, 6.0f - 1.2f);
  EXPECT_FLOAT_EQ(M.viewPan[0], -24.0f);

  User::ChooseMenuItem(form.About1);
  const MessageRecord& about = session.Boxes().back();
  EXPECT_EQ(about, (MessageRecord{about.text, L"Ulvo Dide Rizid v.1.3", MB_OK}));
  EXPECT_EQ(about.text.find(L'\n'), std::wstring::npos);
}

// On a real WAD: copy keyframe 2 over keyframe 5, then Apply on the first
// animation, each saved and read back.
TEST(KeyFrameTools, OnARealWadEverySaveHoldsExactlyWhatWasDone) {
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  EditorSession session;
  TForm2& form = session.Form();
  session.Open(testsupport::SharedPath("wads/wolf.wad"));
  const WadFile plain = session.CommitSaveAndRead();
  const AnimationModel model = Decode(plain);
  const auto first = static_cast<std::size_t>(plain.moveables[0].animIndex);
  const auto count = static_cast<int>(CountMoveableAnimations(plain, 0));
  int a = 0;
  while (a < count && model[first + static_cast<std::size_t>(a)]->keyFrames.size() < 6) ++a;
  ASSERT_LT(a, count) << "no animation of six keyframes";
  const std::size_t g = first + static_cast<std::size_t>(a);
  session.Choose(0, a);
  Show(session, 2);
  User::Click(form.Button4);
  const KeyFrameBox box = Main().animaciones[g]->keyFrames[2].workingBox;
  User::ChooseMenuItem(form.Edit4);
  Show(session, 5);
  User::ChooseMenuItem(form.ReplaceFrame1);
  const WadFile pasted = session.CommitSaveAndRead();
  // Keyframe 5 has keyframe 2's pose and calculated box; no other keyframe changed.
  const AnimationModel got = Decode(pasted);
  AnimationModel want = Decode(plain);
  ASSERT_EQ(got.size(), want.size());
  const KeyFrame &copied = want[g]->keyFrames[2], &target = got[g]->keyFrames[5];
  EXPECT_EQ(std::tie(target.rootOffset, target.box), std::tie(copied.rootOffset, box));
  for (std::size_t j = 0; j < copied.meshes.size(); ++j)
    EXPECT_EQ(target.meshes[j].angles, copied.meshes[j].angles) << j;
  want[g]->keyFrames[5] = target;
  for (std::size_t h = 0; h < want.size(); ++h) EXPECT_TRUE(got[h]->keyFrames == want[h]->keyFrames) << h;
  const auto besidesKeyFrames = [](WadFile wad) {  // where the keyframes lie aside, nothing else changed
    wad.keyFrameWords.clear();
    for (WadAnimation& animation : wad.animations) animation.keyFrameOffset = animation.frameSize = 0;
    for (WadMoveable& moveable : wad.moveables) moveable.keyFrameOffset = 0;
    return wad;
  };
  EXPECT_TRUE(besidesKeyFrames(pasted) == besidesKeyFrames(plain));

  session.Choose(0, 0);
  const int total = plain.animations[first].frameEnd - plain.animations[first].frameStart + 4;
  User::TypeText(form.Edit6, L"0");
  User::TypeText(form.CSpinEdit4, IntToStr(total));
  User::Click(form.Button6);
  ExpectFramesFollow(pasted, session.CommitSaveAndRead(), first,
                     first + static_cast<std::size_t>(count), total);
}

// "Calculate Bounds" with "Apply to Moveable" on every moveable of lara.wad
// puts the smaller X in the corner the stored box has it in; a few stored
// boxes (about one in two hundred) are no box of their pose.
TEST(BoundsTools, CalculatedBoxesKeepTheCornerOrderOfTheStoredOnes) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  EditorSession session;
  TForm2& form = session.Form();
  session.Open(testsupport::SharedPath("wads/lara.wad"));
  const AnimationModel stored = Decode(Main().wadfile);
  User::Click(form.CheckBox3);
  for (int m = 0; m < form.ListBox1->GetItems()->GetCount(); ++m) {
    User::ChooseItem(form.ListBox1, m);
    User::Click(form.Button4);
  }
  const AnimationModel calculated = Decode(session.CommitSaveAndRead());
  ASSERT_EQ(calculated.size(), stored.size());
  const auto order = [](const KeyFrameBox& box) { return (box[0] > box[3]) - (box[0] < box[3]); };
  int compared = 0, same = 0;
  for (std::size_t g = 0; g < stored.size(); ++g)
    for (std::size_t k = 0; k < stored[g]->keyFrames.size(); ++k) {
      const int both = order(stored[g]->keyFrames[k].box) * order(calculated[g]->keyFrames.at(k).box);
      compared += both != 0;
      same += both > 0;
    }
  EXPECT_GT(compared, 1000);
  EXPECT_GE(same, 0.99 * compared);
}
