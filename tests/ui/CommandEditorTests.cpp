// The Dide Command Editor driven as a person would: opening it over the chosen
// animation, the list lines, the fields of a clicked command, Update, Add and
// Delete, closing, and what the saved file then holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "SharedData.h"
#include "TestWad.h"
#include "ui/AnimCommForm.h"

using namespace uitest;

namespace {

using Params = std::array<uint16_t, 3>;
using Command = std::pair<uint16_t, Params>;                // type and parameters
using Commands = std::map<uint32_t, std::vector<Command>>;  // by animation

// Words of a command in the stream: its type word and its arguments.
uint32_t StreamWords(uint16_t type) { return type == 1 ? 4 : type == 2 || type == 5 || type == 6 ? 3 : 1; }

void AddCommands(WadFile& wad, uint32_t anim, const std::vector<Command>& commands) {
  wad.animations[anim].numCommands = static_cast<uint16_t>(commands.size());
  wad.animations[anim].commandOffset = static_cast<uint16_t>(wad.commandWords.size());
  for (const auto& [type, params] : commands) {
    wad.commandWords.push_back(type);
    wad.commandWords.insert(wad.commandWords.end(), params.begin(), params.begin() + StreamWords(type) - 1);
  }
}

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

// Animation 0 (first frame 0): sounds with both flags and with the land flag,
// an effect without a name; animation 2 (first frame 10): 55 sounds from 256.
WadFile CommandWad() {
  WadFile wad = BuildTestWad();
  AddCommands(wad, 0, {{5, {3, 0xC002, 0}}, {5, {1, 0x4005, 0}}, {6, {2, 9, 0}}, {4, {}}});
  AddCommands(wad, 1, kEdited);
  std::vector<Command> sounds;
  for (int k = 0; k < 55; ++k) sounds.push_back({5, {static_cast<uint16_t>(10 + k), static_cast<uint16_t>(256 + k), 0}});
  AddCommands(wad, 2, sounds);
  return wad;
}

// The commands of a WAD, each animation's read from its own commandOffset.
Commands ByAnimation(const WadFile& wad) {
  Commands result;
  for (uint32_t a = 0; a < wad.numAnimations(); ++a) {
    for (std::size_t c = 0, w = wad.animations[a].commandOffset; c < wad.animations[a].numCommands; ++c) {
      Command command{wad.commandWords.at(w), {}};
      for (uint32_t p = 1; p < StreamWords(command.first); ++p) command.second[p - 1] = wad.commandWords.at(w + p);
      result[a].push_back(command);
      w += StreamWords(command.first);
    }
  }
  return result;
}

// Every word offset of the editor's array is the words of the commands before it.
void ExpectOffsetsConsistent() {
  uint32_t word = 0;
  for (const AnimCommand& c : Main().comandos) {
    EXPECT_EQ(c.wordOffset, word);
    word += StreamWords(c.type);
  }
}

WadFile SaveAndRead(EditorSession& session, const char* name) {
  session.Save(session.Folder() / name);
  WadFile saved;
  EXPECT_EQ(ReadWad((session.Folder() / name).string(), saved), 1);
  return saved;
}

std::vector<bool> Shown(std::initializer_list<const TControl*> controls) {
  std::vector<bool> shown;
  for (const TControl* c : controls) shown.push_back(c->GetVisible());
  return shown;
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

}  // namespace

TEST(CommandEditor, ListsClicksUpdatesAddsDeletesAndSavesTheAnimationsCommands) {
  CommandEditorSession session;
  TForm2& main = session.Form();
  TForm3& e = session.e;
  session.OpenEditor(0, 1);
  ASSERT_TRUE(e.GetVisible());
  EXPECT_FALSE(User::Click(main.Button1));  // the main window takes no input
  const int frames = main.Panel1->Window().FrameCount();
  session.Frames(2);
  EXPECT_EQ(main.Panel1->Window().FrameCount(), frames + 2);  // but goes on drawing
  EXPECT_EQ(ListLines(e.ListBox1), kEditedLines);
  session.ClickLine(1);
  EXPECT_EQ((std::vector{e.ComboBox1->GetText(), e.Edit1->GetText(), e.Edit2->GetText()}),
            (std::vector<String>{L"Play Sound ID", L"3", L"300"}));
  EXPECT_EQ((std::vector{e.RadioButton1->GetChecked(), e.RadioButton2->GetChecked(), e.RadioButton3->GetChecked()}),
            (std::vector{false, true, false}));
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
  session.ClickLine(0);
  User::Click(e.Button3);
  std::vector<String> lines(kEditedLines.begin() + 1, kEditedLines.end());
  lines[0] = L"Play Sound at Frame #4 with Sound ID #300";
  lines.push_back(L"Play Effect (Hide object) at Frame #-2");
  EXPECT_EQ(ListLines(e.ListBox1), lines);
  ExpectOffsetsConsistent();

  ASSERT_TRUE(User::CloseWindow(&e));
  EXPECT_TRUE(main.GetEnabled());
  EXPECT_EQ(main.GetActiveControl(), nullptr);
  EXPECT_EQ(Shown({e.Edit1, e.Edit2, e.Edit3, e.ComboBox2}), (std::vector{true, true, true, false}));
  // Shown again: a fresh list with no line chosen, the type and the texts kept.
  User::Click(main.Button8);
  EXPECT_EQ(e.ListBox1->GetItemIndex(), -1);
  EXPECT_EQ((std::vector{e.ComboBox1->GetText(), e.Edit1->GetText()}), (std::vector<String>{L"Position Reference", L"120"}));
  EXPECT_EQ(Shown({e.ComboBox2, e.RadioGroup1}), (std::vector{false, false}));
  ASSERT_TRUE(User::CloseWindow(&e));
  Commands expected = ByAnimation(CommandWad());
  std::vector<Command>& edited = expected[1];
  edited.erase(edited.begin());
  edited[0].second[0] = 9;
  edited.push_back({6, {3, 23, 0}});
  EXPECT_EQ(ByAnimation(SaveAndRead(session, "saved.wad")), expected);
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

TEST(CommandEditor, SoundFlagsEffectsOfNoItemTypeChangesAndLongLists) {
  CommandEditorSession session;
  TForm3& e = session.e;
  session.OpenEditor(0, 0);
  EXPECT_EQ(ListLines(e.ListBox1), (std::vector<String>{L"Play Sound at Frame #3 with Sound ID #2",
                                                        L"Play Sound at Frame #1 with Sound ID #5",
                                                        L"Play Effect () at Frame #2", L"Die"}));
  session.ClickLine(0);
  EXPECT_TRUE(e.RadioButton2->GetChecked());  // both flags: on land
  session.ClickLine(1);
  EXPECT_EQ(e.Edit2->GetText(), String(L"5"));
  User::Click(e.RadioButton1);
  User::Click(e.Button1);
  EXPECT_EQ(Main().comandos[1].params[1], 0x8005);
  session.ClickLine(2);
  EXPECT_EQ(e.ComboBox2->GetText(), String(L"Change direction 180 deg"));
  User::CloseWindow(&e);

  // A changed type keeps only the parameters it carries.
  session.OpenEditor(0, 1);
  for (const auto& [item, fields, result] : {std::tuple{1, L"-1", Command(2, {65535, 2, 0})}, {3, L"", Command(4, {})}}) {
    session.ClickLine(0);
    User::ChooseItem(e.ComboBox1, item);
    User::TypeText(e.Edit1, fields);
    User::TypeText(e.Edit2, L"2");
    User::Click(e.Button1);
    EXPECT_EQ(std::pair(Main().comandos[4].type, Main().comandos[4].params), result);
    ExpectOffsetsConsistent();
  }
  User::CloseWindow(&e);

  session.OpenEditor(1, 0);
  ASSERT_EQ(e.ListBox1->GetItems()->GetCount(), 55);
  session.ClickLine(52);
  EXPECT_EQ((std::vector{e.Edit1->GetText(), e.Edit2->GetText()}), (std::vector<String>{L"52", L"308"}));
  User::Click(e.Button3);
  ASSERT_EQ(e.ListBox1->GetItems()->GetCount(), 54);
  EXPECT_EQ(ListLines(e.ListBox1)[52], String(L"Play Sound at Frame #53 with Sound ID #309"));
}

TEST(CommandEditor, EditsAnAnimationOfARealWadAndLeavesTheOthersAlone) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  const std::filesystem::path file = testsupport::SharedPath("wads/lara.wad");
  WadFile wad;
  ASSERT_EQ(ReadWad(file.string(), wad), 1);
  Commands expected = ByAnimation(wad);
  // The first moveable's first animation with a position reference, a sound and an effect.
  auto index = [](const std::vector<Command>& cs, uint16_t type) {
    return std::ranges::find(cs, type, &Command::first) - cs.begin();
  };
  const int first = wad.moveables.at(0).animIndex;
  int a = 0;
  for (; a < static_cast<int>(CountMoveableAnimations(wad, 0)); ++a) {
    const auto found = expected.find(static_cast<uint32_t>(first + a));
    if (found == expected.end()) continue;
    const std::vector<Command>& cs = found->second;
    if (index(cs, 1) < std::ssize(cs) && index(cs, 5) < std::ssize(cs) && index(cs, 6) < std::ssize(cs)) break;
  }
  if (a == static_cast<int>(CountMoveableAnimations(wad, 0))) GTEST_SKIP() << "no animation with all three";
  std::vector<Command>& edited = expected[static_cast<uint32_t>(first + a)];
  const int start = wad.animations[static_cast<std::size_t>(first + a)].frameStart;
  const auto sound = index(edited, 5), reference = index(edited, 1);
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
  EXPECT_EQ(e.Edit2->GetText(), IntToStr(p[1] & 0x3FFF));
  EXPECT_EQ((std::vector{e.RadioButton1->GetChecked(), e.RadioButton2->GetChecked(), e.RadioButton3->GetChecked()}),
            (std::vector{(p[1] & 0xC000) == 0x8000, (p[1] & 0x4000) != 0, (p[1] & 0xC000) == 0}));
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
  EXPECT_EQ(ByAnimation(SaveAndRead(session, "lara-saved.wad")), expected);
}
