// The State Change Editor: opened over the main window and closed back to it,
// its lines and relative fields, Add, Update and Delete saved and read back
// (on a built WAD and on lara's), and every refusal leaving the saved file as
// it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "SharedData.h"
#include "StateTables.h"
#include "TestWad.h"
#include "ui/ChangeForm.h"

using namespace uitest;
using testsupport::Answer;
using testsupport::AnswersOf;

namespace {

constexpr int kLongState = 150;  // dispatches of state 7, more than a fixed list of 100 holds

// The test WAD with state changes. The plate's first animation (frames 0-4)
// answers state 3 with two dispatches and state 5 with one; animation 2, the
// first and only one of moveable 1 (frames 10-11), answers state 4 with two
// and state 7 with kLongState, the last aiming past the animation table.
WadFile StateWad() {
  WadFile wad = BuildTestWad();
  wad.animations[0].numStateChanges = 2;
  wad.animations[1].stateChangeIndex = 2;
  wad.animations[2].numStateChanges = 2;
  wad.animations[2].stateChangeIndex = 2;
  wad.stateChanges = {{3, 2, 0}, {5, 1, 2}, {4, 2, 3}, {7, kLongState, 5}};
  wad.dispatches = {{1, 2, 1, 5}, {3, 4, 0, 2}, {0, 4, 0, 0}, {10, 11, 2, 11}, {11, 11, 2, 10}};
  wad.dispatches.resize(5 + kLongState - 1, WadDispatch{10, 10, 2, 11});
  wad.dispatches.push_back({12, 13, 999, 1234});
  return wad;
}

// Fields in the order Frame In, Frame Out, Next Dide, Frame Next, State ID.
using Fields = std::array<String, 5>;

struct StateEditorSession : EditorSession {
  // Opens the WAD and chooses animation a of moveable m.
  explicit StateEditorSession(const WadFile& wad, int m = 1, int a = 0) {
    Open(WriteTestWad(Folder() / "states.wad", wad));
    Choose(m, a);
  }
  TForm1& Editor() { return *Main().Form1; }
  std::array<TEdit*, 5> Edits() {
    return {Editor().Edit1, Editor().Edit2, Editor().Edit3, Editor().Edit4, Editor().Edit5};
  }
  void Type(const Fields& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) User::TypeText(Edits()[i], texts[i]);
  }
  Fields Shown() {
    Fields texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = Edits()[i]->GetText();
    return texts;
  }
  std::vector<String> Lines() { return ListLines(Editor().ListBox1); }
  // Closes the editor, saves as name in the folder and returns the file's bytes.
  std::vector<unsigned char> SaveBytes(const char* name) {
    if (Editor().GetVisible()) User::CloseWindow(&Editor());
    Save(Folder() / name);
    std::vector<unsigned char> bytes = testsupport::ReadBytes(Folder() / name);
    EXPECT_FALSE(bytes.empty()) << name << " was not saved";
    return bytes;
  }
  WadFile SaveAndRead() {
    if (Editor().GetVisible()) User::CloseWindow(&Editor());
    return CommitSaveAndRead();
  }
  // The boxes shown since the first count of them.
  std::vector<MessageRecord> BoxesSince(std::size_t count) {
    return {Boxes().begin() + static_cast<std::ptrdiff_t>(count), Boxes().end()};
  }
};

// Lines of the given states, each repeated as often as asked.
std::vector<String> Lines(std::initializer_list<std::pair<int, int>> states) {
  std::vector<String> lines;
  for (auto [id, count] : states) lines.insert(lines.end(), count, String(L"State ID:") + IntToStr(id));
  return lines;
}

}  // namespace

TEST(StateEditor, OpensOverTheMainWindowEditsAndClosesBackToIt) {
  StateEditorSession session(StateWad());
  TForm2& main = session.Form();
  TForm1& editor = session.Editor();
  User::ChooseItem(main.ListBox1, 2);  // a moveable without animations: nothing to edit
  EXPECT_TRUE(User::Click(main.Button7));
  EXPECT_FALSE(editor.GetVisible());

  session.Choose(1, 0);
  User::Click(main.Edit5);
  ASSERT_TRUE(User::Click(main.Button7));
  EXPECT_TRUE(editor.GetVisible() && editor.GetActive());
  EXPECT_FALSE(main.GetEnabled());
  EXPECT_EQ(session.Lines(), Lines({{4, 2}, {7, kLongState}}));
  // Frames count from the animation's first frame 10, Next Dide from the
  // moveable's first animation 2, Frame Next from the target's first frame;
  // a target past the table leaves Frame Next as stored.
  User::ChooseItem(editor.ListBox1, 1);
  EXPECT_EQ(session.Shown(), (Fields{L"1", L"1", L"0", L"0", L"4"}));
  User::ChooseItem(editor.ListBox1, 1 + kLongState);
  EXPECT_EQ(session.Shown(), (Fields{L"2", L"3", L"997", L"1234", L"7"}));

  // Into the existing state 7, in front of its dispatches, aiming at animation 0.
  session.Type({L"0", L"1", L"-2", L"3", L"7"});
  User::Click(editor.Button1);
  EXPECT_EQ(session.Lines(), Lines({{4, 2}, {7, kLongState + 1}}));
  User::ChooseItem(editor.ListBox1, 2);
  EXPECT_EQ(session.Shown(), (Fields{L"0", L"1", L"-2", L"3", L"7"}));
  session.Type({L"1", L"1", L"-2", L"3", L"7"});
  User::Click(editor.Button2);
  EXPECT_EQ(session.Boxes().back(), (MessageRecord{L"State Changes updated", L"Ulvo Dide Rizid", MB_OK}));
  User::ChooseItem(editor.ListBox1, 0);
  User::Click(editor.Button3);
  EXPECT_EQ(session.Lines(), Lines({{4, 1}, {7, kLongState + 1}}));

  ASSERT_TRUE(User::CloseWindow(&editor));
  EXPECT_FALSE(editor.GetVisible());
  EXPECT_TRUE(main.GetEnabled() && main.GetActive());
  EXPECT_EQ(main.GetActiveControl(), nullptr);
  EXPECT_TRUE(session.Lines().empty());
  // Each opening lists the animation chosen then.
  session.Choose(0, 0);
  User::Click(main.Button7);
  EXPECT_EQ(session.Lines(), Lines({{3, 2}, {5, 1}}));

  WadFile expected = StateWad();
  expected.stateChanges[2] = {4, 1, 3};
  expected.stateChanges[3] = {7, kLongState + 1, 4};
  expected.dispatches.insert(expected.dispatches.begin() + 5, {11, 11, 0, 3});
  expected.dispatches.erase(expected.dispatches.begin() + 3);
  EXPECT_EQ(session.SaveAndRead(), expected);
}

// With no line selected, Update, Delete and a click do nothing; a Next Dide
// outside the table, another State ID for a line and texts that are no number
// (read last by Update and first by Delete) are refused; so are Add and
// Delete on tables that cannot be renumbered. None changes the saved file.
TEST(StateEditor, RefusalsLeaveTheSavedFileAsItWas) {
  StateEditorSession session(StateWad());
  TForm1& editor = session.Editor();
  const std::vector<unsigned char> before = session.SaveBytes("before.wad");
  const std::size_t saved = session.Boxes().size();
  User::Click(session.Form().Button7);
  const Fields typed{L"9", L"9", L"0", L"0", L"4"};
  session.Type(typed);
  User::Click(editor.Button2);
  User::Click(editor.Button3);
  editor.ListBox1Click(nullptr);
  EXPECT_EQ(session.Shown(), typed);
  for (const wchar_t* dide : {L"-3", L"1"}) {  // before the first animation (2 - 3) or past the last (2 + 1)
    session.Type({L"0", L"1", dide, L"0", L"4"});
    User::Click(editor.Button1);
    User::ChooseItem(editor.ListBox1, 0);
    session.Type({L"0", L"1", dide, L"0", L"4"});
    User::Click(editor.Button2);
  }
  User::ChooseItem(editor.ListBox1, 0);
  session.Type({L"0", L"1", L"0", L"0", L"5"});
  User::Click(editor.Button2);
  session.Type({L"1", L"1", L"0", L"x", L"4"});
  User::Click(editor.Button2);
  User::Click(editor.Button1);
  session.Type({L"1", L"1", L"0", L"0", L"four"});
  User::Click(editor.Button3);
  const std::vector<MessageRecord> refusals = session.BoxesSince(saved);
  EXPECT_EQ(session.SaveBytes("after.wad"), before);
  std::vector<std::wstring> captions;
  for (const MessageRecord& box : refusals) captions.push_back(box.caption);
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"Warning", L"Warning", L"Warning", L"Warning", L"Ulvo Dide Rizid",
                                                 L"Error", L"Error", L"Error"}));
  ASSERT_EQ(refusals.size(), 8u);
  EXPECT_EQ(refusals[0].type, UINT{MB_OK | MB_ICONEXCLAMATION});
  EXPECT_EQ(refusals[4], (MessageRecord{L"You can't update the StateID field, you must delete this "
                                        L"entry and add a new one with a different StateID",
                                        L"Ulvo Dide Rizid", MB_OK | MB_ICONEXCLAMATION}));

  // State 7 starting inside state 4's dispatches; a dispatch table with every index taken.
  WadFile overlapping = StateWad(), full = StateWad();
  overlapping.stateChanges[3].dispatchIndex = 4;
  full.dispatches.resize(0x10000);
  for (const WadFile* wad : {&overlapping, &full}) {
    StateEditorSession refused(*wad);
    const std::vector<unsigned char> unchanged = refused.SaveBytes("before.wad");
    const std::size_t boxes = refused.Boxes().size();
    User::Click(refused.Form().Button7);
    User::ChooseItem(refused.Editor().ListBox1, 0);
    User::Click(refused.Editor().Button1);  // State ID 4 from the click
    User::ChooseItem(refused.Editor().ListBox1, 0);
    if (wad == &overlapping) User::Click(refused.Editor().Button3);
    const std::vector<MessageRecord> shown = refused.BoxesSince(boxes);
    EXPECT_EQ(refused.SaveBytes("after.wad"), unchanged);
    EXPECT_EQ(shown.size(), wad == &overlapping ? 2u : 1u);
    for (const MessageRecord& box : shown) EXPECT_EQ(box.caption, L"Warning");
  }
}

// The first animation of several state changes, each with dispatches: its
// lines; a new state in front, its frames updated, the last line deleted.
// Nothing else of the file changes.
TEST(RealWad, LarasStateChangesEditedSavedAndReadBack) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  WadFile original;
  ASSERT_EQ(ReadWad(testsupport::SharedPath("wads/lara.wad").string(), original), 1);
  int m = 0, a = 0;
  const auto chosen = [&] { return static_cast<std::size_t>(original.moveables[m].animIndex + a); };
  const auto fits = [&] {
    const std::vector<Answer> answers = AnswersOf(original, chosen());
    return answers.size() >= 3 && std::ranges::none_of(answers, [](const Answer& x) { return x.dispatches.empty(); });
  };
  for (; static_cast<std::size_t>(m) < original.moveables.size(); ++m, a = 0) {
    while (static_cast<uint32_t>(a) < CountMoveableAnimations(original, m) && !fits()) ++a;
    if (static_cast<uint32_t>(a) < CountMoveableAnimations(original, m)) break;
  }
  ASSERT_LT(static_cast<std::size_t>(m), original.moveables.size()) << "no animation of several state changes";
  const std::size_t g = chosen();
  const int pivot = original.moveables[m].animIndex;
  const uint16_t start = original.animations[g].frameStart;
  std::vector<Answer> expected = AnswersOf(original, g);
  std::vector<String> lines;
  for (const Answer& answer : expected)
    lines.insert(lines.end(), answer.dispatches.size(), String(L"State ID:") + IntToStr(answer.stateId));

  StateEditorSession session(original, m, a);
  TForm1& editor = session.Editor();
  User::Click(session.Form().Button7);
  EXPECT_EQ(session.Lines(), lines);

  int id = 999;
  while (std::ranges::any_of(expected, [id](const Answer& x) { return x.stateId == id; })) ++id;
  session.Type({L"0", L"1", L"0", L"0", IntToStr(id)});
  User::Click(editor.Button1);
  User::ChooseItem(editor.ListBox1, 0);
  User::TypeText(editor.Edit2, L"2");
  User::Click(editor.Button2);
  User::ChooseItem(editor.ListBox1, static_cast<int>(lines.size()));
  User::Click(editor.Button3);
  const uint16_t pivotStart = original.animations.at(static_cast<std::size_t>(pivot)).frameStart;
  expected.insert(expected.begin(), Answer{static_cast<uint16_t>(id),
                                           {{start, static_cast<uint16_t>(start + 2),
                                             static_cast<uint16_t>(pivot), pivotStart}}});
  expected.back().dispatches.pop_back();
  if (expected.back().dispatches.empty()) expected.pop_back();
  const WadFile saved = session.SaveAndRead();
  EXPECT_TRUE(testsupport::OnlyAnimationChanged(original, saved, g, expected));
  EXPECT_TRUE(testsupport::WithoutStateTables(saved) == testsupport::WithoutStateTables(original));
}

// lara's state changes without dispatches, stored with index 0 out of the
// running sequence, keep it when a state goes in at dispatch 0.
TEST(RealWad, AnAddLeavesLarasStateChangesWithoutDispatchesAsStored) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  WadFile original;
  ASSERT_EQ(ReadWad(testsupport::SharedPath("wads/lara.wad").string(), original), 1);
  ASSERT_EQ(original.moveables.at(0).animIndex, 0);
  const auto withoutDispatches = [](std::vector<WadStateChange> records) {
    std::erase_if(records, [](const WadStateChange& s) { return s.numDispatches > 0; });
    return records;
  };
  ASSERT_FALSE(withoutDispatches(original.stateChanges).empty());
  StateEditorSession session(original, 0, 0);
  User::Click(session.Form().Button7);
  session.Type({L"0", L"1", L"0", L"0", L"9999"});
  User::Click(session.Editor().Button1);
  const WadFile saved = session.SaveAndRead();
  EXPECT_EQ(saved.stateChanges.front(), (WadStateChange{9999, 1, 0}));
  EXPECT_EQ(withoutDispatches(saved.stateChanges), withoutDispatches(original.stateChanges));
}
