// The Dide Command Editor driven as a person would: opening it over the chosen
// animation, the list lines, the fields of a clicked command, Update, Add and
// Delete, closing, and what the saved file then holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <map>

#include "SharedData.h"
#include "TestWad.h"
#include "ui/AnimCommForm.h"

using namespace uitest;

namespace {

using Params = std::array<uint16_t, 3>;
using Command = std::pair<uint16_t, Params>;                // type and parameters
using Commands = std::map<uint32_t, std::vector<Command>>;  // by animation

// Animation 1 of the test WAD (first frame 5): a command of every kind the list shows.
const std::vector<Command> kEdited = {
    {1, {120, 65531, 7}}, {5, {8, 0x4000 + 300, 0}}, {6, {4, 0x4020, 0}}, {6, {7, 60, 0}},
    {2, {40, 65535, 0}},  {3, {}},                   {9, {}},             {6, {6, 27, 0}},
    {5, {5, 17, 0}},      {6, {5, 44, 0}},           {4, {}}};
const std::vector<String> kEditedLines = {
    L"Position reference at: X=120 Y=65531 Z=7", L"Play Sound at Frame #3 with Sound ID #300",
    L"Play Effect (Play step sound,land) at Frame #-1", L"Play Effect () at Frame #2",
    L"Jumping reference at: (40 , 65535)", L"Slaved Animation", L"Unknown command type #9",
    L"Play Effect () at Frame #1", L"Play Sound at Frame #0 with Sound ID #17",
    L"Play Effect (Put back Waterskin) at Frame #0", L"Die"};

// The commands of a WAD by animation, as the command codec reads them.
Commands ByAnimation(const WadFile& wad) {
  Commands result;
  for (const AnimCommand& c : DecodeAnimCommands(wad)) result[c.animIndex].push_back({c.type, c.params});
  return result;
}

// Animation 0 (first frame 0): sounds with both flags and with the land flag,
// an effect without a name; animation 1 kEdited; animation 2 (first frame
// 10): 55 sounds from 256.
WadFile CommandWad() {
  WadFile wad = BuildTestWad();
  Commands commands{{0, {{5, {3, 0xC002, 0}}, {5, {1, 0x4005, 0}}, {6, {2, 9, 0}}, {4, {}}}}, {1, kEdited}};
  for (uint16_t k = 0; k < 55; ++k)
    commands[2].push_back({5, {static_cast<uint16_t>(10 + k), static_cast<uint16_t>(256 + k), 0}});
  AnimCommandArray array;
  for (const auto& [anim, list] : commands)
    for (const auto& [type, params] : list) array.push_back({0, anim, type, params});
  EXPECT_TRUE(EncodeAnimCommands(array, wad));
  return wad;
}

// Animation 1 of the test WAD: every effect number below 50 (line n holds
// effect n), then sounds 0, 5 and 16383 with both flags (lines 50 to 52).
WadFile EffectsAndBothFlagsWad() {
  WadFile wad = BuildTestWad();
  AnimCommandArray array;
  for (uint16_t effect = 0; effect < 50; ++effect)
    array.push_back({0, 1, 6, {static_cast<uint16_t>(effect * 7), effect, 0}});
  for (uint16_t sound : {0, 5, 0x3FFF}) array.push_back({0, 1, 5, {sound, static_cast<uint16_t>(0xC000 + sound), 0}});
  EXPECT_TRUE(EncodeAnimCommands(array, wad));
  return wad;
}

std::vector<bool> Shown(std::initializer_list<const TControl*> controls) {
  std::vector<bool> shown;
  for (const TControl* c : controls) shown.push_back(c->GetVisible());
  return shown;
}

std::vector<bool> Radios(const TForm3& e) {
  return {e.RadioButton1->GetChecked(), e.RadioButton2->GetChecked(), e.RadioButton3->GetChecked()};
}

struct CommandEditorSession : EditorSession {
  CommandEditorSession() { Open(WriteTestWad(Folder() / "commands.wad", CommandWad())); }
  // Chooses the animation and presses "Dide Commands".
  void OpenEditor(int moveable, int animation) {
    Choose(moveable, animation);
    User::Click(Form().Button8);
  }
  void ClickLine(int line) { User::ChooseItem(e.ListBox1, line); }
  TForm3& e = *Main().Form3;
};

// Opens the file, clicks each line of every animation's commands and Update
// with no edit, and saves: whether the saved file is the file.
bool UpdatesWithNoEditSaveTheFile(EditorSession& session, const std::filesystem::path& file) {
  session.Open(file);
  TForm2& main = session.Form();
  TForm3& e = *Main().Form3;
  for (int m = 0; m < main.ListBox1->GetItems()->GetCount(); ++m) {
    User::ChooseItem(main.ListBox1, m);
    for (int a = 0; a < main.ComboBox1->GetItems()->GetCount(); ++a) {
      User::ChooseItem(main.ComboBox1, a);
      User::Click(main.Button8);
      for (int line = 0; line < e.ListBox1->GetItems()->GetCount(); ++line) {
        User::ChooseItem(e.ListBox1, line);
        User::Click(e.Button1);
      }
      User::CloseWindow(&e);
    }
  }
  session.Save(session.Folder() / "unedited.wad");
  return testsupport::ReadBytes(session.Folder() / "unedited.wad") == testsupport::ReadBytes(file);
}

}  // namespace

// Animation 1: a sound's frame changed, an effect added, the slaved animation
// deleted, the position reference turned into a jumping one. Animation 0: a
// land sound made a water sound. Animation 2: more lines than a map of 50
// holds, one deleted. The saved file holds exactly these edits.
TEST(CommandEditor, ListsClicksUpdatesAddsDeletesAndSavesTheAnimationsCommands) {
  CommandEditorSession session;
  TForm2& main = session.Form();
  TForm3& e = session.e;
  session.OpenEditor(0, 1);
  EXPECT_FALSE(User::Click(main.Button1));  // the main window takes no input
  const int frames = main.Panel1->Window().FrameCount();
  session.Frames(2);
  EXPECT_EQ(main.Panel1->Window().FrameCount(), frames + 2);  // but goes on drawing
  EXPECT_EQ(ListLines(e.ListBox1), kEditedLines);
  session.ClickLine(1);
  EXPECT_EQ((std::vector{e.ComboBox1->GetText(), e.Edit1->GetText(), e.Edit2->GetText()}),
            (std::vector<String>{L"Play Sound ID", L"3", L"300"}));
  EXPECT_EQ(Radios(e), (std::vector{false, true, false}));
  EXPECT_EQ(Shown({e.Edit1, e.Edit2, e.Edit3, e.ComboBox2, e.RadioGroup1, e.RadioButton3}),
            (std::vector{true, true, false, false, true, true}));
  User::TypeText(e.Edit1, L"4");
  User::Click(e.Button1);
  EXPECT_EQ(e.ListBox1->GetItemIndex(), -1);
  User::ChooseItem(e.ComboBox1, 5);
  EXPECT_EQ(Shown({e.Edit1, e.Edit2, e.ComboBox2, e.RadioButton1}), (std::vector{true, false, true, false}));
  User::ChooseItem(e.ComboBox2, 20);
  User::TypeText(e.Edit1, L"-2");
  User::Click(e.Button2);
  session.ClickLine(5);
  User::Click(e.Button3);
  session.ClickLine(0);
  User::ChooseItem(e.ComboBox1, 1);
  User::TypeText(e.Edit1, L"-1");
  User::TypeText(e.Edit2, L"2");
  User::Click(e.Button1);
  std::vector<String> lines = kEditedLines;
  lines[0] = L"Jumping reference at: (65535 , 2)";
  lines[1] = L"Play Sound at Frame #4 with Sound ID #300";
  lines.erase(lines.begin() + 5);
  lines.push_back(L"Play Effect (Hide object) at Frame #-2");
  EXPECT_EQ(ListLines(e.ListBox1), lines);
  ASSERT_TRUE(User::CloseWindow(&e));
  EXPECT_TRUE(main.GetEnabled());
  EXPECT_EQ(main.GetActiveControl(), nullptr);

  // Shown again: a fresh list with no line chosen, the type and the texts kept.
  session.OpenEditor(0, 0);
  EXPECT_EQ(e.ListBox1->GetItemIndex(), -1);
  EXPECT_EQ((std::vector{e.ComboBox1->GetText(), e.Edit1->GetText()}),
            (std::vector<String>{L"Jumping Reference", L"-1"}));
  EXPECT_EQ(Shown({e.ComboBox2, e.RadioGroup1}), (std::vector{false, false}));
  EXPECT_EQ(ListLines(e.ListBox1), (std::vector<String>{L"Play Sound at Frame #3 with Sound ID #2",
                                                        L"Play Sound at Frame #1 with Sound ID #5",
                                                        L"Play Effect () at Frame #2", L"Die"}));
  session.ClickLine(0);
  EXPECT_EQ(Radios(e), (std::vector{false, true, false}));  // both flags: on land
  session.ClickLine(1);
  User::Click(e.RadioButton1);
  User::Click(e.Button1);
  User::CloseWindow(&e);

  session.OpenEditor(1, 0);
  ASSERT_EQ(e.ListBox1->GetItems()->GetCount(), 55);
  session.ClickLine(52);
  EXPECT_EQ((std::vector{e.Edit1->GetText(), e.Edit2->GetText()}), (std::vector<String>{L"52", L"308"}));
  User::Click(e.Button3);
  EXPECT_EQ(ListLines(e.ListBox1)[52], String(L"Play Sound at Frame #53 with Sound ID #309"));
  User::CloseWindow(&e);

  Commands expected = ByAnimation(CommandWad());
  expected[0][1].second[1] = 0x8005;
  std::vector<Command>& edited = expected[1];
  edited[0] = {2, {65535, 2, 0}};
  edited[1].second[0] = 9;
  edited.erase(edited.begin() + 5);
  edited.push_back({6, {3, 23, 0}});
  expected[2].erase(expected[2].begin() + 52);
  EXPECT_EQ(ByAnimation(session.CommitSaveAndRead()), expected);
}

TEST(CommandEditor, RefusalsAndUnchangedUpdatesLeaveTheSavedFileAsItWas) {
  CommandEditorSession session;
  TForm3& e = session.e;
  session.Save(session.Folder() / "before.wad");
  User::ChooseItem(session.Form().ListBox1, 0);  // a moveable, no animation
  User::Click(session.Form().Button8);
  EXPECT_FALSE(e.GetVisible());
  session.OpenEditor(0, 1);
  const AnimCommandArray commands = Main().comandos;
  const std::size_t boxes = session.Boxes().size();
  for (TButton* button : {e.Button1, e.Button2, e.Button3}) User::Click(button);  // no line, no type
  for (int line = 0; line < static_cast<int>(kEditedLines.size()); ++line) {
    session.ClickLine(line);
    User::Click(e.Button1);
  }
  // An effect without an item, clicked after one with an item: Update keeps its own.
  session.ClickLine(2);
  session.ClickLine(3);
  EXPECT_EQ(e.ComboBox2->GetItemIndex(), -1);
  User::TypeText(e.Edit1, L"5");
  User::Click(e.Button1);
  EXPECT_EQ(Main().comandos[4 + 3].params, (Params{10, 60, 0}));
  session.ClickLine(3);
  User::TypeText(e.Edit1, L"2");
  User::Click(e.Button1);
  User::Click(e.Button2);  // a Play Effect with no effect chosen
  session.ClickLine(1);
  User::ChooseItem(e.ComboBox1, 5);
  User::Click(e.Button1);  // a sound has no effect to keep
  session.ClickLine(6);    // the unknown type: no type chosen
  User::Click(e.Button2);
  // A text that is no number stops Update and Add before anything changes.
  session.ClickLine(1);
  User::ChooseItem(e.ComboBox1, 0);
  User::TypeText(e.Edit3, L"1.5");
  User::Click(e.Button1);
  User::Click(e.Button2);
  // A sound number that would reach the flag bits is refused.
  session.ClickLine(1);
  User::TypeText(e.Edit2, L"16384");
  User::Click(e.Button1);
  User::Click(e.Button2);
  ASSERT_EQ(session.Boxes().size(), boxes + 4);
  EXPECT_EQ(session.Boxes()[boxes].text, L"'1.5' is not a valid integer value");
  EXPECT_EQ(session.Boxes()[boxes + 2].caption, L"Warning");
  EXPECT_EQ(Main().comandos, commands);
  EXPECT_EQ(ListLines(e.ListBox1), kEditedLines);
  User::CloseWindow(&e);
  session.Save(session.Folder() / "after.wad");
  EXPECT_EQ(testsupport::ReadBytes(session.Folder() / "after.wad"),
            testsupport::ReadBytes(session.Folder() / "before.wad"));
}

// The first animation of lara's first moveable with a position reference, a
// sound and an effect: the sound's line, its frame changed (its number and
// flag kept), an effect added, the reference deleted; no other animation's
// commands change.
TEST(CommandEditor, EditsAnAnimationOfARealWadAndLeavesTheOthersAlone) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  const std::filesystem::path file = testsupport::SharedPath("wads/lara.wad");
  WadFile wad;
  ASSERT_EQ(ReadWad(file.string(), wad), 1);
  Commands expected = ByAnimation(wad);
  const int first = wad.moveables.at(0).animIndex, count = static_cast<int>(CountMoveableAnimations(wad, 0));
  const auto has = [&](int a, uint16_t type) {
    const auto found = expected.find(static_cast<uint32_t>(first + a));
    return found != expected.end() && std::ranges::count(found->second, type, &Command::first) > 0;
  };
  int a = 0;
  while (a < count && !(has(a, 1) && has(a, 5) && has(a, 6))) ++a;
  if (a == count) GTEST_SKIP() << "no animation with all three";
  std::vector<Command>& edited = expected[static_cast<uint32_t>(first + a)];
  const int start = wad.animations[static_cast<std::size_t>(first + a)].frameStart;
  const auto index = [&](uint16_t type) { return std::ranges::find(edited, type, &Command::first) - edited.begin(); };
  const auto sound = index(5), reference = index(1);
  const Params p = edited[sound].second;

  EditorSession session;
  session.Open(file);
  session.Choose(0, a);
  User::Click(session.Form().Button8);
  TForm3& e = *Main().Form3;
  const std::vector<String> lines = ListLines(e.ListBox1);
  ASSERT_EQ(lines.size(), edited.size());
  EXPECT_EQ(lines[sound], String(L"Play Sound at Frame #") + IntToStr(p[0] - start) + L" with Sound ID #" +
                              IntToStr(p[1] & 0x3FFF));
  User::ChooseItem(e.ListBox1, static_cast<int>(sound));
  User::TypeText(e.Edit1, IntToStr(p[0] - start + 1));
  User::Click(e.Button1);
  User::ChooseItem(e.ComboBox1, 5);
  User::ChooseItem(e.ComboBox2, 29);
  User::Click(e.Button2);
  User::ChooseItem(e.ListBox1, static_cast<int>(reference));
  User::Click(e.Button3);
  User::CloseWindow(&e);

  edited[sound].second[0] = static_cast<uint16_t>(p[0] + 1);
  edited.push_back({6, {static_cast<uint16_t>(start), 0x8020, 0}});
  edited.erase(edited.begin() + reference);
  EXPECT_EQ(ByAnimation(session.CommitSaveAndRead()), expected);
}

// Effects without an item of their own and sounds with both flags: a click
// shows no effect item, and Update with no edit keeps the stored words; an
// item chosen, or a radio button clicked (even the checked one), decides.
TEST(CommandEditor, UpdateWithNoEditGivesBackEveryKindOfStoredCommand) {
  CommandEditorSession session;
  TForm3& e = session.e;
  const WadFile wad = EffectsAndBothFlagsWad();
  EXPECT_TRUE(UpdatesWithNoEditSaveTheFile(session, WriteTestWad(session.Folder() / "kinds.wad", wad)));
  session.OpenEditor(0, 1);
  session.ClickLine(13);
  EXPECT_EQ(e.ComboBox2->GetItemIndex(), -1);
  User::ChooseItem(e.ComboBox2, 2);
  User::Click(e.Button1);
  session.ClickLine(50);
  User::Click(e.RadioButton2);
  User::Click(e.Button1);
  User::CloseWindow(&e);
  Commands expected = ByAnimation(wad);
  expected[1][13].second[1] = 2;
  expected[1][50].second[1] = 0x4000;
  EXPECT_EQ(ByAnimation(session.CommitSaveAndRead()), expected);
}

TEST(CommandEditor, LarasCommandsUpdatedWithNoEditSaveTheSameFile) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  EditorSession session;
  EXPECT_TRUE(UpdatesWithNoEditSaveTheFile(session, testsupport::SharedPath("wads/lara.wad")));
}

// The largest frame a field takes, typed for a sound's Update and an effect's
// Add in an animation that starts at frame 5, is summed wide and stored in
// 16 bits.
TEST(CommandEditor, FramesAsLargeAsAFieldTakesAreStoredIn16Bits) {
  CommandEditorSession session;
  TForm3& e = session.e;
  session.OpenEditor(0, 1);
  const int64_t largest = std::numeric_limits<int>::max(), start = CommandWad().animations[1].frameStart;
  ASSERT_NE(start, 0);
  session.ClickLine(1);
  User::TypeText(e.Edit1, IntToStr(largest));
  User::Click(e.Button1);
  User::ChooseItem(e.ComboBox1, 5);
  User::ChooseItem(e.ComboBox2, 3);
  User::TypeText(e.Edit1, IntToStr(largest));
  User::Click(e.Button2);
  User::CloseWindow(&e);
  const auto stored = static_cast<uint16_t>((largest + start) & 0xFFFF);
  Commands expected = ByAnimation(CommandWad());
  expected[1][1].second[0] = stored;
  expected[1].push_back({6, {stored, 3, 0}});
  EXPECT_EQ(ByAnimation(session.CommitSaveAndRead()), expected);
}

// Right after "Add Animation" the animation list shows none: neither editor opens.
TEST(CommandEditor, NeitherEditorOpensWhileTheAnimationListShowsNone) {
  CommandEditorSession session;
  TForm2& main = session.Form();
  session.Choose(0, 1);
  User::ChooseMenuItem(main.AddAnimation1);
  ASSERT_EQ(main.ComboBox1->GetItemIndex(), -1);
  for (auto [button, editor] : Editors(main)) {
    User::Click(button);
    EXPECT_FALSE(editor->GetVisible());
    EXPECT_TRUE(main.GetActive());
  }
}

// Either editor, opened while a field of the main window has the focus,
// closes back to the main window: enabled, the active form, no control focused.
TEST(CommandEditor, EitherEditorClosesBackToTheActiveMainWindow) {
  CommandEditorSession session;
  TForm2& main = session.Form();
  session.Choose(0, 1);
  for (auto [button, editor] : Editors(main)) {
    User::Click(main.Edit5);
    ASSERT_TRUE(User::Click(button));
    ASSERT_FALSE(main.GetActive());
    ASSERT_TRUE(User::CloseWindow(editor));
    EXPECT_TRUE(main.GetEnabled() && main.GetActive());
    EXPECT_EQ(main.GetActiveControl(), nullptr);
  }
}
