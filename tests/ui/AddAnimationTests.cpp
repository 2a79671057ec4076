// Animation, "Add Animation", on a built WAD whose moveable in the middle has
// state changes, dispatches and commands in the animations after it, and on
// lara's first moveable: the saved file says what it said before, the new
// animation takes keyframes and saves again. Then the hidden test controls.

#include <gtest/gtest.h>

#include <fstream>

#include "InsertedAnimation.h"
#include "SharedData.h"
#include "TestWad.h"
#include "model/KeyFrameStream.h"

using namespace uitest;

namespace {

// The test WAD with a fourth moveable (object 9, the small square) after the
// one without animations, owning animation 3, a copy of moveable 1's. The
// plate's animation 1 continues into animation 3; animations 2 and 3 have a
// state change each, whose dispatch goes to the other; animations 0, 2 and 3
// have a command each.
WadFile MiddleMoveableWad() {
  WadFile wad = BuildTestWad();
  const WadAnimation copied = wad.animations[2];
  const std::vector<std::uint16_t> frames(wad.keyFrameWords.begin() + copied.keyFrameOffset / 2,
                                          wad.keyFrameWords.end());
  const auto end = static_cast<std::uint32_t>(wad.keyFrameWords.size() * 2);
  wad.keyFrameWords.insert(wad.keyFrameWords.end(), frames.begin(), frames.end());
  wad.animations.push_back(copied);
  wad.animations[3].keyFrameOffset = end;
  wad.animations[1].nextAnimation = wad.animations[3].nextAnimation = 3;
  wad.animations[2].numStateChanges = wad.animations[3].numStateChanges = 1;
  wad.animations[3].stateChangeIndex = 1;
  wad.stateChanges = {{1, 1, 0}, {2, 1, 1}};
  wad.dispatches = {{10, 11, 3, 10}, {10, 11, 2, 11}};
  wad.commandWords = {5, 2, 30, 6, 10, 3, 1, 4, 5, 6};
  for (auto [a, offset] : {std::pair{0, 0}, {2, 3}, {3, 6}}) {
    wad.animations[static_cast<std::size_t>(a)].numCommands = 1;
    wad.animations[static_cast<std::size_t>(a)].commandOffset = static_cast<std::uint16_t>(offset);
  }
  wad.moveables.push_back(
      {.objectId = 9, .numMeshes = 1, .meshPointerIndex = 1, .keyFrameOffset = end, .animIndex = 3});
  return wad;
}

// "Add Animation" on the chosen moveable of line m, whose animations end at
// p; saves and checks the file against the original (with the commands as
// edited since the open); then gives the new animation a keyframe with "Add
// KeyFrame" and two more through the wizard, and checks again.
void AddSaveAndCheck(EditorSession& session, const WadFile& original,
                     const AnimCommandArray& commands, std::uint32_t m, std::uint32_t p) {
  TForm2& f = session.Form();
  const int count = static_cast<int>(p) - original.moveables[m].animIndex + 1;
  User::ChooseMenuItem(f.AddAnimation1);
  EXPECT_EQ(f.ComboBox1->GetItemIndex(), -1);
  EXPECT_EQ(f.ComboBox1->GetItems()->GetCount(), count);
  ASSERT_EQ(Main().currentMoveable->BoundAnimationCount(), count);
  EXPECT_EQ(Main().currentMoveable->BoundAnimation(count - 1), Main().animaciones[p].get());
  for (std::size_t keyFrames : {0, 3}) {
    if (keyFrames > 0) {
      session.Choose(static_cast<int>(m), count - 1);
      User::Click(f.Button3);
      for (TEdit* field : {f.Edit14, f.Edit15, f.Edit17}) User::TypeText(field, L"0");
      User::TypeText(f.Edit16, L"2");
      User::Click(f.Button9);
    }
    session.Save(session.Folder() / "added.wad");
    WadFile saved;
    ASSERT_EQ(ReadWad((session.Folder() / "added.wad").string(), saved), 1);
    testsupport::ExpectInsertedAt(original, commands, saved, DecodeAnimCommands(saved), p, m);
    // Every animation decodes to the keyframes it had, the new one to keyFrames of them.
    AnimationModel was, is;
    std::uint32_t total = 0;
    ASSERT_EQ(DecodeKeyFrames(was, original, total), 1);
    ASSERT_EQ(DecodeKeyFrames(is, saved, total), 1);
    ASSERT_EQ(is.size(), was.size() + 1);
    for (std::uint32_t i = 0; i < was.size(); ++i)
      EXPECT_EQ(is[testsupport::Moved(i, p)]->keyFrames, was[i]->keyFrames) << "animation " << i;
    EXPECT_EQ(is[p]->keyFrames.size(), keyFrames);
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
  const auto show = [&](const wchar_t* key, int joint) {
    for (TEdit* edit : {form.Edit11, form.Edit12, form.Edit13}) edit->SetText(L"-");
    form.SpinEdit1->SetText(key);
    Main().pickedMesh = joint;
    form.Button10Click(nullptr);
    return std::vector<String>{form.Edit11->GetText(), form.Edit12->GetText(), form.Edit13->GetText()};
  };
  const std::vector<String> untouched(3, L"-");
  form.Button11Click(nullptr);  // no file: no model
  EXPECT_EQ(show(L"1", 0), untouched);

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
  std::ofstream(session.Folder() / "C:\\prueba.ms3d", std::ios::binary)
      .write(file.data(), static_cast<std::streamsize>(file.size()));
  form.Button11Click(nullptr);
  EXPECT_EQ(show(L"1", 0), (std::vector<String>{FloatToStr(7.5), FloatToStr(-8.0), FloatToStr(9.25)}));
  // Out of range: the key, the joint; then text that is no number.
  for (auto [key, joint] : {std::pair{L"2", 0}, {L"-1", 0}, {L"0", 1}, {L"0", -1}, {L"x", 0}})
    EXPECT_EQ(show(key, joint), untouched) << key << " " << joint;
}
