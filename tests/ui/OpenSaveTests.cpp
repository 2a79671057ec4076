// Opening and saving WAD files: what a cancelled, failed or repeated open
// leaves, the names a save writes, and saves that must not write.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>

#include "EditorSession.h"
#include "SharedData.h"
#include "TestWad.h"

using uitest::EditorSession;

namespace {

using uitest::kPlateX;
using uitest::kPlateY;

String Utf8Name(const std::filesystem::path& file) { return String::FromUtf8(file.string()); }

std::vector<unsigned char> SavedBytes(const std::filesystem::path& file) {
  return testsupport::ReadBytes(file);
}

}  // namespace

TEST(OpenWad, CancelledDialogChangesNothing) {
  EditorSession session(std::nullopt);
  uitest::OpenAndPickPlate(session);
  TForm2& form = session.Form();
  const std::vector<String> lines = uitest::ListLines(form.ListBox1);

  session.desktop.dialogs.Cancel();
  User::ChooseMenuItem(form.OpenLevel1);
  EXPECT_EQ(form.GetText(), String(L"Mesh #0"));
  EXPECT_EQ(uitest::ListLines(form.ListBox1), lines);
  EXPECT_EQ(form.ListBox1->GetItemIndex(), 0);
  EXPECT_EQ(form.ComboBox1->GetItemIndex(), 0);
  EXPECT_TRUE(form.TrackBar1->GetEnabled());
  EXPECT_TRUE(session.desktop.messages.Boxes().empty());
}

TEST(OpenWad, UnreadableFileKeepsTheOpenWadAndItsEdits) {
  EditorSession session(std::nullopt);
  const std::filesystem::path file = uitest::OpenTestWad(session);
  TForm2& form = session.Form();
  session.Choose(0, 0);
  User::TypeText(form.CSpinEdit1, L"77");  // an edit not yet committed

  std::vector<unsigned char> cut = testsupport::ReadBytes(file);
  cut.resize(cut.size() / 2);
  std::ofstream(session.Folder() / "cut.wad", std::ios::binary)
      .write(reinterpret_cast<const char*>(cut.data()), static_cast<std::streamsize>(cut.size()));
  for (const char* unreadable : {"cut.wad", "missing.wad"}) {
    session.desktop.messages.Clear();
    session.Open(session.Folder() / unreadable);
    ASSERT_EQ(session.desktop.messages.Boxes().size(), 1u) << unreadable;
    EXPECT_EQ(session.desktop.messages.Boxes()[0],
              (MessageRecord{L"No se puede cargar el archivo TR4", L"Error", MB_OK}));
    EXPECT_EQ(form.GetText(), Utf8Name(file));
    EXPECT_EQ(form.ListBox1->GetItemIndex(), 0);
  }
  User::Click(form.Button2);
  session.Save(session.Folder() / "kept.wad");
  WadFile saved;
  ASSERT_EQ(ReadWad((session.Folder() / "kept.wad").string(), saved), 1);
  EXPECT_EQ(static_cast<std::int16_t>(saved.keyFrameWords[6]), 77);
}

TEST(OpenWad, AnotherFileReplacesTheOldOneAndForgetsThePick) {
  EditorSession session(std::nullopt);
  uitest::OpenAndPickPlate(session);
  TForm2& form = session.Form();

  const std::filesystem::path other =
      uitest::WriteTestWad(session.Folder() / "other.wad", uitest::BuildTestWad());
  session.Open(other);
  EXPECT_EQ(form.GetText(), Utf8Name(other));
  EXPECT_EQ(form.ListBox1->GetItemIndex(), -1);
  EXPECT_EQ(form.ComboBox1->GetItems()->GetCount(), 0);
  EXPECT_FALSE(form.TrackBar1->GetEnabled());
  EXPECT_FALSE(form.Undo1->GetEnabled());

  // The mesh picked in the old file names nothing in the new one: a track-bar
  // change with no new pick writes nothing.
  session.Choose(0, 0);
  form.TrackBar2Change(nullptr);
  User::Click(form.Button2);
  session.Save(session.Folder() / "again.wad");
  EXPECT_EQ(SavedBytes(session.Folder() / "again.wad"), SavedBytes(other));
}

TEST(OpenWad, HandlersWithNothingToActOnDoNothing) {
  EditorSession session(std::nullopt);
  TForm2& form = session.Form();
  auto runAll = [&form] {
    for (auto handler :
         {&TForm2::Panel1Click, &TForm2::TrackBar1Change, &TForm2::CSpinEdit1Change,
          &TForm2::CSpinEdit2Change, &TForm2::Button2Click, &TForm2::Onclick, &TForm2::Onchange,
          &TForm2::SpinEdit1Change, &TForm2::Undo1Click, &TForm2::ListBox1Click, &TForm2::Paint})
      (form.*handler)(nullptr);
  };
  runAll();
  const std::filesystem::path file = uitest::OpenTestWad(session);
  runAll();
  session.Choose(0, 1);  // an animation without keyframes
  runAll();
  EXPECT_TRUE(session.desktop.messages.Boxes().empty());
  session.Save(session.Folder() / "same.wad");
  EXPECT_EQ(SavedBytes(session.Folder() / "same.wad"), SavedBytes(file));
}

TEST(SaveWad, AddsWadUnlessTheNameEndsInIt) {
  EditorSession session(std::nullopt);
  const std::filesystem::path file = uitest::OpenTestWad(session);
  const std::vector<std::pair<std::string, std::string>> names{{"plain", "plain.wad"},
                                                               {"UPPER.WAD", "UPPER.WAD.wad"},
                                                               {"kept.wad", "kept.wad"},
                                                               {"a", "a.wad"}};
  for (const auto& [chosen, written] : names) {
    session.desktop.messages.Clear();
    session.Save(session.Folder() / chosen);
    EXPECT_EQ(session.desktop.dialogs.Requests().back().initialDir, Utf8Name(session.Folder()));
    EXPECT_EQ(session.Form().GetText(), Utf8Name(session.Folder() / written));
    ASSERT_EQ(session.desktop.messages.Boxes().size(), 1u);
    EXPECT_EQ(session.desktop.messages.Boxes()[0],
              (MessageRecord{L"File Saved", L"Ulvo Dide Rizid", MB_OK}));
    // Nothing was edited, so the file comes out as it went in.
    EXPECT_EQ(SavedBytes(session.Folder() / written), SavedBytes(file)) << written;
  }
}

TEST(SaveWad, DoesNothingWithoutAWad) {
  EditorSession session(std::nullopt);
  User::ChooseMenuItem(session.Form().SaveWad1);
  EXPECT_TRUE(session.desktop.dialogs.Requests().empty());
  EXPECT_TRUE(session.desktop.messages.Boxes().empty());
}

TEST(SaveWad, FailedWriteKeepsTheOldFileAndTheCaption) {
  EditorSession session(std::nullopt);
  const std::filesystem::path file = uitest::OpenTestWad(session);
  const std::filesystem::path old = session.Folder() / "old.wad";
  std::ofstream(old) << "what was there";
  // Files may grow to 1 KiB only: the write fails part way.
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit small{1024, limit.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  session.Save(old);
  setrlimit(RLIMIT_FSIZE, &limit);

  ASSERT_EQ(session.desktop.messages.Boxes().size(), 1u);
  EXPECT_EQ(session.desktop.messages.Boxes()[0].caption, L"Error");
  EXPECT_NE(session.desktop.messages.Boxes()[0].text.find(Utf8Name(old).Wide()),
            std::wstring::npos);
  EXPECT_EQ(session.Form().GetText(), Utf8Name(file));
  std::ifstream in(old);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "what was there");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(session.Folder()))
    ++files;
  EXPECT_EQ(files, 3);  // test.wad, old.wad and the texture dump
}

TEST(SaveWad, ModelThatCannotBeEncodedIsRefused) {
  EditorSession session(std::nullopt);
  session.Open(uitest::WriteTestWad(session.Folder() / "full.wad", uitest::BuildFullFrameWad()));
  TForm2& form = session.Form();
  session.Choose(0, 0);
  session.Frames(1);
  session.ClickPanel(kPlateX, kPlateY);
  ASSERT_EQ(form.Edit1->GetText(), String(L"360"));
  session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);  // now two axes: two words
  User::Click(form.Button2);
  session.desktop.messages.Clear();
  const String caption = form.GetText();
  session.Save(session.Folder() / "toolong.wad");
  ASSERT_EQ(session.desktop.messages.Boxes().size(), 1u);
  EXPECT_EQ(session.desktop.messages.Boxes()[0].caption, L"Warning");
  EXPECT_FALSE(std::filesystem::exists(session.Folder() / "toolong.wad"));
  EXPECT_EQ(form.GetText(), caption);
}

TEST(Files, NamesOfAnyCharactersOpenAndSave) {
  EditorSession session(std::nullopt);
  const std::filesystem::path named = session.Folder() / u8"wölf ñ 狼.wad";
  uitest::WriteTestWad(named, uitest::BuildTestWad());
  session.Open(named);
  EXPECT_EQ(session.Form().GetText(), Utf8Name(named));
  EXPECT_EQ(session.Form().ListBox1->GetItems()->GetCount(), 3);
  session.Save(session.Folder() / u8"sälvé 狼");
  EXPECT_EQ(SavedBytes(session.Folder() / u8"sälvé 狼.wad"), SavedBytes(named));
}
