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
#include "model/KeyFrameStream.h"

using namespace uitest;
using testsupport::ReadBytes;
using testsupport::SharedPath;

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

WadFile SaveAndRead(EditorSession& session, const char* name) {
  session.Save(session.Folder() / name);
  WadFile saved;
  EXPECT_EQ(ReadWad((session.Folder() / name).string(), saved), 1);
  return saved;
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
// holds the largest X with the smallest Y and Z.
KeyFrameBox PlateBounds(int k) {
  const double rx = (10 + k) / 10.0, ry = (20 + k) / 10.0, rz = (30 + k) / 10.0;
  const auto wad = [](double v, int sign) {
    const double whole = std::trunc(v);
    return static_cast<std::int16_t>(sign * 10 * (whole + (v >= whole + 0.5 ? 1 : 0)));
  };
  return {wad(rx + 10, 1), wad(ry + 35, -1), wad(0, 1),
          wad(rx - 10, 1), wad(ry - 10, -1), wad(rz, 1)};
}

// A box as a plate keyframe's first six words hold it: A.x, B.x, A.y, B.y, A.z, B.z.
void PutBoxWords(WadFile& wad, int k, const KeyFrameBox& box) {
  constexpr std::array<std::size_t, 6> kFromBox{0, 3, 1, 4, 2, 5};
  for (std::size_t w = 0; w < kFromBox.size(); ++w)
    wad.keyFrameWords[static_cast<std::size_t>(k * kFrameWords) + w] =
        static_cast<std::uint16_t>(box[kFromBox[w]]);
}

// The test WAD with frame numbers that depend on one another: a state change
// on each plate animation, whose dispatch goes to the other one, and a sound
// on each; the second plate animation spans frames 5 and 6.
WadFile BuildLinkedFramesWad() {
  WadFile wad = BuildTestWad();
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

// Every frame number of the file as an offset into the animation it counts
// in, but animation g's own length and next frame.
std::vector<int> RelativeFrames(const WadFile& wad, std::size_t g) {
  const auto start = [&](std::size_t a) {
    return a < wad.animations.size() ? int{wad.animations[a].frameStart} : 0;
  };
  std::vector<int> frames;
  for (std::size_t i = 0; i < wad.animations.size(); ++i) {
    const WadAnimation& a = wad.animations[i];
    if (i != g)
      frames.insert(frames.end(),
                    {a.frameEnd - a.frameStart, a.nextFrame - start(a.nextAnimation)});
    for (std::size_t s = a.stateChangeIndex; s < a.stateChangeIndex + a.numStateChanges; ++s)
      for (std::size_t d = 0; d < wad.stateChanges[s].numDispatches; ++d) {
        const WadDispatch& x = wad.dispatches[wad.stateChanges[s].dispatchIndex + d];
        frames.insert(frames.end(), {x.inFrame - a.frameStart, x.outFrame - a.frameStart,
                                     x.nextFrame - start(x.nextAnimation)});
      }
  }
  for (const AnimCommand& c : DecodeAnimCommands(wad))
    if (c.type == kCommandPlaySound || c.type == kCommandPlayEffect)
      frames.push_back(c.params[0] - start(c.animIndex));
  return frames;
}

// After animation g, whose moveable's animations end before end, got
// frameCount frames: the later animations start later by the change, every
// other frame number keeps its place in its animation, and nothing else of
// the file changed but g's own fields.
void ExpectFramesFollow(const WadFile& before, const WadFile& after, std::size_t g, std::size_t end,
                        int frameCount) {
  ASSERT_EQ(after.animations.size(), before.animations.size());
  const WadAnimation& changed = before.animations[g];
  const int delta = frameCount - (changed.frameEnd - changed.frameStart + 1);
  EXPECT_EQ(after.animations[g].frameEnd - after.animations[g].frameStart, frameCount - 1);
  EXPECT_EQ(RelativeFrames(after, g), RelativeFrames(before, g));
  WadFile rest = before;
  for (std::size_t i = 0; i < rest.animations.size(); ++i) {
    WadAnimation& a = rest.animations[i];
    EXPECT_EQ(after.animations[i].frameStart, a.frameStart + (i > g && i < end ? delta : 0)) << i;
    a.frameStart = after.animations[i].frameStart;
    a.frameEnd = after.animations[i].frameEnd;
    a.nextFrame = after.animations[i].nextFrame;
  }
  rest.animations[g] = after.animations[g];
  for (std::size_t d = 0; d < rest.dispatches.size(); ++d) {
    rest.dispatches[d].inFrame = after.dispatches[d].inFrame;
    rest.dispatches[d].outFrame = after.dispatches[d].outFrame;
    rest.dispatches[d].nextFrame = after.dispatches[d].nextFrame;
  }
  rest.commandWords = after.commandWords;
  EXPECT_EQ(SerializeWad(rest), SerializeWad(after));
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
  User::TypeText(form.SpinEdit1, L"9");
  User::ChooseMenuItem(form.Edit4);
  User::ChooseItem(form.ListBox1, 2);
  User::ChooseMenuItem(form.Edit4);
  session.Choose(0, 0);
  User::ChooseMenuItem(form.ReplaceFrame1);
  EXPECT_TRUE(session.Boxes().empty());
  EXPECT_FALSE(Main().showCalculatedBounds);

  Show(session, 1);
  User::ChooseMenuItem(form.Edit4);
  Show(session, 0);
  User::ChooseMenuItem(form.ReplaceFrame1);
  EXPECT_TRUE(Main().showCalculatedBounds);
  EXPECT_EQ(Plate(0).workingBox, PlateBounds(1));
  EXPECT_EQ(Plate(0).workingRootOffset, Plate(1).rootOffset);
  session.ClickPanel(kPlateX, kPlateY);
  session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);
  EXPECT_EQ(Plate(0).meshes[0].workingAngles[0],
            static_cast<float>(StrToInt(form.Edit1->GetText())));

  Show(session, 2);
  session.ClickPanel(kPlateX, kPlateY);
  session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);
  User::Click(form.Button2);
  User::ChooseMenuItem(form.Edit4);
  Show(session, 0);
  User::ChooseMenuItem(form.ReplaceFrame1);
  EXPECT_NE(Plate(0).meshes[0].angles, Plate(0).meshes[0].workingAngles);
  EXPECT_EQ(Plate(0).meshes[0].workingAngles, Plate(2).meshes[0].angles);
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
  SaveAndRead(session, "refused.wad");
  EXPECT_EQ(ReadBytes(session.Folder() / "refused.wad"), ReadBytes(full));
  session.Open(session.file);
  session.Choose(0, 0);
  User::ChooseMenuItem(form.ReplaceFrame1);
  EXPECT_EQ(Plate(0).workingRootOffset, Plate(2).rootOffset);
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
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"3"));
  EXPECT_EQ(Plate(3), Plate(2));
  User::ChooseMenuItem(form.N4);  // the last: the selector and view take the new last
  EXPECT_EQ(form.SpinEdit1->GetText(), String(L"2"));
  EXPECT_EQ(form.SelectedView()->ShownKeyFrame(), 2);
  session.Frames(1);
  EXPECT_EQ(session.PanelPixel(kPlateX, kPlateY), kTexturePixel);
  SaveAndRead(session, "saved.wad");
  EXPECT_EQ(ReadBytes(session.Folder() / "saved.wad"), ReadBytes(session.file));

  Show(session, 0);
  User::ChooseMenuItem(form.N4);
  EXPECT_EQ(form.CSpinEdit1->GetText(), String(L"11"));  // number 0 is the former keyframe 1
  session.Choose(1, 0);
  User::ChooseMenuItem(form.N4);
  User::ChooseMenuItem(form.N4);
  EXPECT_EQ(session.Boxes().back(),
            (MessageRecord{L"You can't delete more Key Frames", L"Ulvo Dide Rizid", kWarning}));
  const AnimationModel before = Decode(BuildTestWad());
  const AnimationModel after = Decode(SaveAndRead(session, "saved.wad"));
  EXPECT_EQ(after[0]->keyFrames, (std::vector{before[0]->keyFrames[1], before[0]->keyFrames[2]}));
  EXPECT_EQ(after[2]->keyFrames, (std::vector{before[2]->keyFrames[1]}));
}

TEST(AnimationParameters, ApplyStoresTheFieldsAndMovesTheLaterFrames) {
  TestWadSession session;
  TForm2& form = session.Form();
  const WadFile before = BuildLinkedFramesWad();
  session.Open(WriteTestWad(session.Folder() / "linked.wad", before));
  session.Choose(0, 0);
  using Typed = std::pair<TControl*, const wchar_t*>;
  for (auto [field, text] : std::initializer_list<Typed>{{form.Edit5, L"1"},
                                                         {form.Edit6, L"1"},
                                                         {form.Edit7, L"300"},
                                                         {form.Edit9, L"3"},
                                                         {form.Edit10, L"-9"},
                                                         {form.CSpinEdit4, L"8"}})
    User::TypeText(field, text);
  User::Click(form.Button6);
  EXPECT_EQ(session.Boxes().back(), (MessageRecord{L"Animation parameters saved", L"", MB_OK}));
  EXPECT_EQ(form.GroupBox1->GetText(),
            String(L"Animation Parameters: Start Frame #0 End Frame #7"));
  form.RadioButton2Click(nullptr);  // the button is never enabled
  EXPECT_EQ(form.RadioGroup3->GetText(), String(L"Num Total Frames:8 Frame Rate:1100"));
  EXPECT_FALSE(form.Button3->GetEnabled());
  form.RadioButton1Click(nullptr);
  EXPECT_EQ(form.RadioGroup3->GetText(), String(L"Num Key Frames:3 Frame Rate:1100"));
  EXPECT_TRUE(form.Button3->GetEnabled());

  const WadFile saved = SaveAndRead(session, "saved.wad");
  const WadAnimation& a = saved.animations[0];
  EXPECT_EQ(a.nextAnimation, 1);
  EXPECT_EQ(a.nextFrame, saved.animations[1].frameStart + 1);
  EXPECT_EQ(a.frameRate, 300 % 256);
  EXPECT_EQ(a.speed, 3 * 65536 + (before.animations[0].speed & 0xFFFF));
  EXPECT_EQ(a.accel, -9);
  ExpectFramesFollow(before, saved, 0, 2, 8);
}

TEST(AnimationParameters, EveryRefusalLeavesTheSavedFileAsItWas) {
  TestWadSession session;
  TForm2& form = session.Form();
  const auto file = WriteTestWad(session.Folder() / "linked.wad", BuildLinkedFramesWad());
  session.Open(file);
  const auto warning = [](const wchar_t* text) {
    return MessageRecord{text, L"Warning", kWarning};
  };
  const MessageRecord noNext = warning(L"Next Dide names no animation of this WAD");
  const MessageRecord badTotal =
      warning(L"Total Frames must be at least 1 and end the animation at frame 65535 or before");
  const MessageRecord laterFrames =
      warning(L"The frames of the later animations would pass frame 65535");
  const MessageRecord notNumber{L"'x' is not a valid integer value", L"Error",
                                MB_OK | MB_ICONERROR};
  struct Case {
    int moveable;
    TControl* field;
    const wchar_t* text;
    MessageRecord box;
  };
  for (const Case& c : std::vector<Case>{{0, form.Edit10, L"x", notNumber},
                                         {0, form.Edit5, L"-1", noNext},
                                         {1, form.Edit5, L"1", noNext},
                                         {0, form.CSpinEdit4, L"0", badTotal},
                                         {1, form.CSpinEdit4, L"65527", badTotal},
                                         {0, form.CSpinEdit4, L"65535", laterFrames}}) {
    session.Choose(c.moveable, 0);
    User::TypeText(form.Edit7, L"9");  // converted and valid, but never stored
    User::TypeText(c.field, c.text);
    User::Click(form.Button6);
    EXPECT_EQ(session.Boxes().back(), c.box) << c.moveable << " " << c.text;
    SaveAndRead(session, "saved.wad");
    EXPECT_EQ(ReadBytes(session.Folder() / "saved.wad"), ReadBytes(file)) << c.text;
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
  Show(session, 0);  // the calculated box is dropped
  EXPECT_EQ(Plate(1).workingBox, stored);
  Show(session, 1);
  User::Click(form.Button4);
  EXPECT_EQ(Plate(1).box, stored);  // until Update KeyFrame commits it
  User::Click(form.Button2);
  EXPECT_EQ(Plate(1).box, PlateBounds(1));
  EXPECT_EQ(Plate(0).box, stored);

  User::Click(form.CheckBox3);
  const MessageRecord applied{L"New bounds calculAted and applied to the entire Moveable", L"",
                              MB_OK};
  User::Click(form.Button4);  // one animation of three keyframes, one of none
  EXPECT_EQ(session.Boxes().back(), applied);
  User::ChooseItem(form.ListBox1, 2);  // no animations
  User::Click(form.Button4);
  EXPECT_EQ(session.Boxes().back(), applied);
  WadFile expected = BuildTestWad();
  for (int k = 0; k < 3; ++k) PutBoxWords(expected, k, PlateBounds(k));
  EXPECT_EQ(SerializeWad(SaveAndRead(session, "saved.wad")), SerializeWad(expected));
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
  EXPECT_EQ(session.Boxes().back().caption, L"Ulvo Dide Rizid v.1.3");
  EXPECT_EQ(session.Boxes().back().type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(session.Boxes().back().text.find(L'\n'), std::wstring::npos);
}

// On a real WAD: add and delete, copy keyframe 2 over keyframe 5, and Apply on
// the first animation, each saved and read back.
TEST(KeyFrameTools, OnARealWadEverySaveHoldsExactlyWhatWasDone) {
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  EditorSession session;
  TForm2& form = session.Form();
  session.Open(SharedPath("wads/wolf.wad"));
  const WadFile plain = SaveAndRead(session, "plain.wad");
  const AnimationModel model = Decode(plain);
  const auto first = static_cast<std::size_t>(plain.moveables[0].animIndex);
  const auto count = static_cast<int>(CountMoveableAnimations(plain, 0));
  int a = 0;
  while (a < count && model[first + static_cast<std::size_t>(a)]->keyFrames.size() < 6) ++a;
  ASSERT_LT(a, count) << "no animation of six keyframes";
  const std::size_t g = first + static_cast<std::size_t>(a);
  session.Choose(0, a);
  User::Click(form.Button3);
  User::ChooseMenuItem(form.N4);
  SaveAndRead(session, "added.wad");
  EXPECT_EQ(ReadBytes(session.Folder() / "added.wad"), ReadBytes(session.Folder() / "plain.wad"));

  Show(session, 2);
  User::Click(form.Button4);
  const KeyFrameBox box = Main().animaciones[g]->keyFrames[2].workingBox;
  User::ChooseMenuItem(form.Edit4);
  Show(session, 5);
  User::ChooseMenuItem(form.ReplaceFrame1);
  const WadFile pasted = session.CommitSaveAndRead();
  const AnimationModel after = Decode(pasted);
  const auto pose = [](const KeyFrame& k) {
    std::vector<std::array<float, 3>> angles;
    for (const MeshPose& p : k.meshes) angles.push_back(p.angles);
    return std::tuple(k.rootOffset, angles);
  };
  ASSERT_EQ(after.size(), model.size());
  for (std::size_t h = 0; h < model.size(); ++h) {
    ASSERT_EQ(after[h]->keyFrames.size(), model[h]->keyFrames.size());
    for (std::size_t j = 0; j < model[h]->keyFrames.size(); ++j) {
      const bool target = h == g && j == 5;
      const KeyFrame& want = model[h]->keyFrames[target ? 2 : j];
      EXPECT_EQ(pose(after[h]->keyFrames[j]), pose(want)) << h << " " << j;
      EXPECT_EQ(after[h]->keyFrames[j].box, target ? box : want.box) << h << " " << j;
    }
  }
  WadFile rest = pasted;  // where the keyframes lie aside, nothing else changed
  rest.keyFrameWords = plain.keyFrameWords;
  for (std::size_t i = 0; i < rest.animations.size(); ++i) {
    rest.animations[i].keyFrameOffset = plain.animations[i].keyFrameOffset;
    rest.animations[i].frameSize = plain.animations[i].frameSize;
  }
  for (std::size_t i = 0; i < rest.moveables.size(); ++i)
    rest.moveables[i].keyFrameOffset = plain.moveables[i].keyFrameOffset;
  EXPECT_EQ(rest, plain);

  session.Choose(0, 0);
  const int total = plain.animations[first].frameEnd - plain.animations[first].frameStart + 4;
  User::TypeText(form.Edit6, L"0");
  User::TypeText(form.CSpinEdit4, IntToStr(total));
  User::Click(form.Button6);
  const WadFile applied = SaveAndRead(session, "applied.wad");
  ExpectFramesFollow(pasted, applied, first, first + static_cast<std::size_t>(count), total);
  User::TypeText(form.Edit5, IntToStr(static_cast<int>(plain.numAnimations() - first)));
  User::Click(form.Button6);
  EXPECT_EQ(session.Boxes().back().caption, L"Warning");
  SaveAndRead(session, "refused.wad");
  EXPECT_EQ(ReadBytes(session.Folder() / "refused.wad"),
            ReadBytes(session.Folder() / "applied.wad"));
}
