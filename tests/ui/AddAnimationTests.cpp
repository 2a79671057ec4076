// Animation, "Add Animation", on a built WAD whose moveable in the middle has
// state changes, dispatches and commands in the animations after it, and on
// lara's first moveable: the saved file says what it said before, the new
// animation takes keyframes and saves again. Then the hidden test controls.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "InsertedAnimation.h"
#include "SharedData.h"
#include "TestWad.h"
#include "model/KeyFrameEditing.h"
#include "model/KeyFrameStream.h"

using namespace uitest;
using testsupport::ExpectAddedAnimation;
using testsupport::ExpectSameReferencesAfterInsert;
using testsupport::Moved;

namespace {

// The test WAD with a fourth moveable (object 9, the small square) after the
// one without animations, owning animations 3 and 4 with copies of moveable
// 1's keyframes. Moveable 1's animation 2 and animation 3 have state changes;
// a dispatch of each crosses to a later animation; the plate's animation 1
// continues into animation 4, of another moveable; animations 0, 2, 3 and 4
// have one command each.
WadFile MiddleMoveableWad() {
  WadFile wad = BuildTestWad();
  wad.animations[1].nextAnimation = 4;
  wad.animations[2].numStateChanges = 1;
  const WadAnimation& second = wad.animations[2];
  // Moveable 1's two keyframes end the stream: animation 3 gets both, 4 the first.
  const auto end = static_cast<std::uint32_t>(wad.keyFrameWords.size() * 2);
  const std::vector<std::uint16_t> frames(wad.keyFrameWords.begin() + second.keyFrameOffset / 2,
                                          wad.keyFrameWords.end());
  WadAnimation third = second, fourth = second;
  third.keyFrameOffset = end;
  third.stateId = 9;
  third.frameStart = 0, third.frameEnd = 1, third.nextAnimation = 4, third.nextFrame = 3;
  third.stateChangeIndex = 1;
  fourth.keyFrameOffset = end + static_cast<std::uint32_t>(frames.size() * 2);
  fourth.frameStart = 2, fourth.frameEnd = 3, fourth.nextAnimation = 3, fourth.nextFrame = 0;
  fourth.numStateChanges = 0, fourth.stateChangeIndex = 2;
  wad.keyFrameWords.insert(wad.keyFrameWords.end(), frames.begin(), frames.end());
  wad.keyFrameWords.insert(wad.keyFrameWords.end(), frames.begin(),
                           frames.begin() + second.frameSize);
  wad.animations.insert(wad.animations.end(), {third, fourth});
  wad.stateChanges = {{1, 1, 0}, {2, 2, 1}};
  wad.dispatches = {{10, 11, 3, 1}, {0, 1, 4, 2}, {0, 1, 3, 0}};
  wad.commandWords = {5, 2, 30, 6, 10, 3, 1, 4, 5, 6, 5, 3, 40};
  for (auto [a, offset] : {std::pair{0, 0}, {2, 3}, {3, 6}, {4, 10}}) {
    wad.animations[static_cast<std::size_t>(a)].numCommands = 1;
    wad.animations[static_cast<std::size_t>(a)].commandOffset = static_cast<std::uint16_t>(offset);
  }
  wad.moveables.push_back(
      {.objectId = 9, .numMeshes = 1, .meshPointerIndex = 1, .keyFrameOffset = end, .animIndex = 3});
  return wad;
}

WadFile SaveAndRead(EditorSession& session, const std::string& name) {
  session.Save(session.Folder() / name);
  WadFile saved;
  EXPECT_EQ(ReadWad((session.Folder() / name).string(), saved), 1);
  return saved;
}

// Every animation of the WAD before the insertion at p decodes to the same
// keyframes from the saved file; the new one to count keyframes.
void ExpectSameKeyFrames(const WadFile& before, const WadFile& saved, std::uint32_t p,
                         std::size_t count) {
  AnimationModel was, is;
  std::uint32_t total = 0;
  ASSERT_EQ(DecodeKeyFrames(was, before, total), 1);
  ASSERT_EQ(DecodeKeyFrames(is, saved, total), 1);
  ASSERT_EQ(is.size(), was.size() + 1);
  for (std::uint32_t i = 0; i < was.size(); ++i)
    EXPECT_EQ(is[Moved(i, p)]->keyFrames, was[i]->keyFrames) << "animation " << i;
  EXPECT_EQ(is[p]->keyFrames.size(), count);
}

// "Add Animation" on the chosen moveable of line m, whose animations end at
// p; saves and checks the file against the original (with the commands as
// edited since the open); then gives the new animation its first keyframe,
// as "Add KeyFrame" does, and two more through the wizard, and checks again.
void AddSaveAndCheck(EditorSession& session, const WadFile& original,
                     const AnimCommandArray& commands, std::uint32_t m, std::uint32_t p) {
  TForm2& f = session.Form();
  const auto first = static_cast<std::uint16_t>(original.moveables[m].animIndex);
  const WadAnimation& previous = original.animations[p - 1];
  const int count = static_cast<int>(p - first + 1);
  User::ChooseMenuItem(f.AddAnimation1);
  EXPECT_EQ(f.RadioGroup2->GetText(), String(L"Num Animations:") + IntToStr(count));
  ASSERT_EQ(f.ComboBox1->GetItems()->GetCount(), count);
  EXPECT_EQ((*f.ComboBox1->GetItems())[count - 1], String(L"Animation #") + IntToStr(count - 1));
  EXPECT_EQ(f.ComboBox1->GetItemIndex(), -1);
  ASSERT_EQ(Main().currentMoveable->BoundAnimationCount(), count);
  EXPECT_EQ(Main().currentMoveable->BoundAnimation(count - 1), Main().animaciones[p].get());
  for (std::size_t keyFrames : {0, 3}) {
    if (keyFrames > 0) {
      ASSERT_EQ(AppendKeyFrame(Main().animaciones, static_cast<int>(p), original.moveables[m].numMeshes), 1);
      session.Choose(static_cast<int>(m), count - 1);
      for (TEdit* field : {f.Edit14, f.Edit15, f.Edit17}) User::TypeText(field, L"0");
      User::TypeText(f.Edit16, L"2");
      User::Click(f.Button9);
    }
    const WadFile saved = SaveAndRead(session, "added" + std::to_string(keyFrames) + ".wad");
    ExpectSameReferencesAfterInsert(original, commands, saved, DecodeAnimCommands(saved), p, m);
    // Its empty state-change range starts where the previous animation's ends.
    ExpectAddedAnimation(saved.animations[p], previous, first,
                         static_cast<std::uint16_t>(previous.stateChangeIndex + previous.numStateChanges));
    ExpectSameKeyFrames(original, saved, p, keyFrames);
  }
}

}  // namespace

TEST(AddAnimation, InTheMiddleKeepsEveryReferenceAndTheEditedCommandsThroughTwoSaves) {
  EditorSession session;
  const WadFile original = MiddleMoveableWad();
  session.Open(WriteTestWad(session.Folder() / "middle.wad", original));
  session.Choose(1, 0);
  // Command edits since the open, made on the command array.
  Main().comandos[1].params[1] = 77;
  Main().comandos[2].params = {7, 8, 9};
  const AnimCommandArray edited = Main().comandos;
  AddSaveAndCheck(session, original, edited, 1, 3);
}

// Lara's first moveable has 648 animations: the view binds all 649.
TEST(AddAnimation, OnLarasFirstMoveableKeepsEveryReferenceOfTheFile) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  WadFile lara;
  ASSERT_EQ(ReadWad(testsupport::SharedPath("wads/lara.wad").string(), lara), 1);
  EditorSession session;
  session.Open(testsupport::SharedPath("wads/lara.wad"));
  session.Choose(0, 0);
  AddSaveAndCheck(session, lara, DecodeAnimCommands(lara), 0,
                  static_cast<std::uint32_t>(lara.moveables[0].animIndex) + CountMoveableAnimations(lara, 0));
}

// The hidden test controls: a model read from "C:\prueba.ms3d" in the working
// folder, and the translation key (keyframe field) of the joint (picked mesh).
TEST(TestControls, ShowAKeyOnlyWhenModelJointAndKeyExist) {
  EditorSession session;
  TForm2& form = session.Form();
  EXPECT_FALSE(User::Click(form.Button10));  // hidden
  const auto shown = [&] {
    return std::vector<String>{form.Edit11->GetText(), form.Edit12->GetText(), form.Edit13->GetText()};
  };
  const std::vector<String> untouched = shown();
  form.SpinEdit1->SetText(L"1");
  Main().pickedMesh = 0;
  form.Button11Click(nullptr);  // no file: no model
  form.Button10Click(nullptr);
  EXPECT_EQ(shown(), untouched);

  // No vertices, triangles, groups or materials; one joint with one rotation
  // key and two translation keys.
  std::vector<char> file(10, 'M');
  const auto put = [&](const auto& value) {
    const char* bytes = reinterpret_cast<const char*>(&value);
    file.insert(file.end(), bytes, bytes + sizeof value);
  };
  put(std::int32_t{4});
  for (int i = 0; i < 4; ++i) put(std::uint16_t{0});
  put(25.0f), put(0.0f), put(std::int32_t{10});
  put(std::uint16_t{1});
  file.resize(file.size() + 1 + 32 + 32 + 24, 0);
  put(std::uint16_t{1}), put(std::uint16_t{2});
  for (float f : {0.0f, 1.0f, 2.0f, 3.0f, 0.0f, 4.0f, 5.0f, 6.0f, 1.0f, 7.5f, -8.0f, 9.25f}) put(f);
  std::ofstream(session.Folder() / "C:\\prueba.ms3d", std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
  form.Button11Click(nullptr);
  form.Button10Click(nullptr);
  EXPECT_EQ(shown(), (std::vector<String>{FloatToStr(7.5), FloatToStr(-8.0), FloatToStr(9.25)}));

  // Out of range: the key, the joint; then text that is no number.
  for (auto [key, joint] : {std::pair{L"2", 0}, {L"-1", 0}, {L"0", 1}, {L"0", -1}, {L"x", 0}}) {
    form.Edit11->SetText(L"Edit11");
    form.SpinEdit1->SetText(key);
    Main().pickedMesh = joint;
    form.Button10Click(nullptr);
    EXPECT_EQ(form.Edit11->GetText(), String(L"Edit11")) << key << " " << joint;
  }
}
