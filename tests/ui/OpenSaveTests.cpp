// Opening and saving WAD files: what a cancelled, failed or further open
// leaves, handlers with nothing to act on, the names a save writes, and saves
// that must not write.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>

#include "FileHazards.h"
#include "SharedData.h"
#include "TestWad.h"

using namespace uitest;
using testsupport::ReadBytes;

namespace {

String Utf8Name(const std::filesystem::path& file) { return String::FromUtf8(file.string()); }
const MessageRecord kFileSaved{L"File Saved", L"Ulvo Dide Rizid", MB_OK};

// The box of a save that was refused: the file, then why.
MessageRecord SaveRefused(const std::filesystem::path& file, const std::wstring& reason) {
  return {L"The file could not be written: " + Utf8Name(file).Wide() + L"\n" + reason, L"Error",
          MB_OK | MB_ICONEXCLAMATION};
}

}  // namespace

TEST(OpenWad, OnlyASuccessfulOpenReplacesTheWadAndThenForgetsThePick) {
  TestWadSession session;
  TForm2& form = session.Form();
  session.ClickPanel(kPlateX, kPlateY);
  session.PressBar(form.TrackBar1, form.TrackBar1->GetHeight() / 4);
  User::TypeText(form.CSpinEdit1, L"77");  // edits not yet committed
  const std::vector<String> lines = ListLines(form.ListBox1);
  session.desktop.dialogs.Cancel();
  User::ChooseMenuItem(form.OpenLevel1);
  EXPECT_TRUE(session.Boxes().empty());
  const std::vector<unsigned char> bytes = ReadBytes(session.file);
  std::ofstream(session.Folder() / "cut.wad", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size() / 2));
  // Nothing that is not a WAD-sized regular file is read, nor waited on.
  const std::filesystem::path pipe = session.Folder() / "pipe.wad", huge = session.Folder() / "huge.wad";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::filesystem::create_directory(session.Folder() / "folder.wad");
  std::filesystem::copy_file(session.file, huge);
  std::filesystem::resize_file(huge, kMaxWadFileBytes + 1);  // sparse: it costs no disk
  for (const auto& [unreadable, reason] :
       {std::pair{"cut.wad", L""}, {"missing.wad", L"No such file or directory"},
        {"pipe.wad", L"Is a FIFO, not a regular file"}, {"folder.wad", L"Is a directory"},
        {"huge.wad", L"File too large"}}) {
    session.desktop.messages.Clear();
    EXPECT_FALSE(testsupport::WaitedOnFifo(pipe.string(), [&] { session.Open(session.Folder() / unreadable); }));
    ASSERT_EQ(session.Boxes().size(), 1u);
    const MessageRecord& box = session.Boxes()[0];
    const std::wstring first = L"No se puede cargar el archivo TR4\n";  // then why
    EXPECT_TRUE(box.caption == L"Error" && box.type == MB_OK && box.text.starts_with(first + reason) &&
                box.text.size() > first.size())
        << String(box.text).ToUtf8();
  }
  EXPECT_EQ(form.GetText(), String(L"Mesh #0"));
  EXPECT_EQ(ListLines(form.ListBox1), lines);
  EXPECT_EQ(form.ListBox1->GetItemIndex(), 0);
  EXPECT_EQ(form.ComboBox1->GetItemIndex(), 0);
  EXPECT_TRUE(form.TrackBar1->GetEnabled());
  EXPECT_TRUE(form.Undo1->GetEnabled());
  EXPECT_EQ(static_cast<std::int16_t>(session.CommitSaveAndRead().keyFrameWords[kRootWord]), 77);

  const std::filesystem::path other = WriteTestWad(session.Folder() / "other.wad", BuildTestWad());
  session.Open(other);
  EXPECT_EQ(form.GetText(), Utf8Name(other));
  EXPECT_EQ(form.ListBox1->GetItemIndex(), -1);
  EXPECT_EQ(form.ComboBox1->GetItems()->GetCount(), 0);
  EXPECT_FALSE(form.TrackBar1->GetEnabled());
  EXPECT_FALSE(form.Undo1->GetEnabled());
  // The bars still show the turned angle, but the mesh picked in the old file
  // names nothing in the new one: a change with no new pick writes nothing.
  session.Choose(0, 0);
  form.TrackBar2Change(nullptr);
  session.CommitSaveAndRead();
  EXPECT_EQ(ReadBytes(session.Folder() / "saved.wad"), ReadBytes(other));
}

TEST(OpenWad, HandlersWithNothingToActOnDoNothing) {
  EditorSession session;
  TForm2& form = session.Form();
  auto runAll = [&form] {
    for (auto handler :
         {&TForm2::Panel1Click, &TForm2::TrackBar1Change, &TForm2::CSpinEdit1Change,
          &TForm2::CSpinEdit2Change, &TForm2::Button2Click, &TForm2::Onclick, &TForm2::Onchange,
          &TForm2::SpinEdit1Change, &TForm2::Undo1Click, &TForm2::ListBox1Click, &TForm2::Paint})
      (form.*handler)(nullptr);
  };
  runAll();
  User::ChooseMenuItem(form.SaveWad1);  // no WAD open: no dialog
  EXPECT_TRUE(session.desktop.dialogs.Requests().empty());
  const std::filesystem::path file = WriteTestWad(session.Folder() / "test.wad", BuildTestWad());
  session.Open(file);
  runAll();
  session.Choose(0, 0);
  User::Click(form.Button1);
  User::ChooseItem(form.ComboBox1, 1);  // an animation without keyframes stops playback
  EXPECT_FALSE(form.SpinEdit1->GetEnabled());
  EXPECT_FALSE(form.Button1->GetEnabled());
  EXPECT_EQ(form.Button1->GetText(), String(L" Play "));
  // The moveable stands in its bind pose and can be picked, but has no angles to edit.
  session.Frames(1);
  EXPECT_EQ(session.PanelPixel(244, 221), kTexturePixel);
  session.ClickPanel(244, 221);
  EXPECT_EQ(form.GetText(), String(L"Mesh #0"));
  EXPECT_FALSE(form.TrackBar1->GetEnabled());
  runAll();
  EXPECT_TRUE(session.Boxes().empty());
  session.CommitSaveAndRead();
  EXPECT_EQ(ReadBytes(session.Folder() / "saved.wad"), ReadBytes(file));
}

TEST(SaveWad, AddsWadUnlessTheNameEndsInIt) {
  TestWadSession session;
  for (const auto& [chosen, written] : std::vector<std::pair<std::string, std::string>>{
           {"plain", "plain.wad"}, {"UPPER.WAD", "UPPER.WAD.wad"}, {"kept.wad", "kept.wad"}}) {
    session.desktop.messages.Clear();
    session.Save(session.Folder() / chosen);
    EXPECT_EQ(session.desktop.dialogs.Requests().back().initialDir, Utf8Name(session.Folder()));
    EXPECT_EQ(session.Form().GetText(), Utf8Name(session.Folder() / written));
    EXPECT_EQ(session.Boxes(), std::vector<MessageRecord>{kFileSaved});
    // Nothing was edited, so the file comes out as it went in.
    EXPECT_EQ(ReadBytes(session.Folder() / written), ReadBytes(session.file)) << written;
  }
}

TEST(Files, NamesOfAnyCharactersOpenAndSave) {
  EditorSession session;
  const std::filesystem::path named =
      WriteTestWad(session.Folder() / u8"wölf ñ 狼.wad", BuildTestWad());
  session.Open(named);
  EXPECT_EQ(session.Form().GetText(), Utf8Name(named));
  EXPECT_EQ(session.Form().ListBox1->GetItems()->GetCount(), 3);
  session.Save(session.Folder() / u8"sälvé 狼");
  EXPECT_EQ(ReadBytes(session.Folder() / u8"sälvé 狼.wad"), ReadBytes(named));
  EXPECT_EQ(session.Form().GetText(), Utf8Name(session.Folder() / u8"sälvé 狼.wad"));
  // Neither handler stopped part way on the names.
  EXPECT_EQ(session.Boxes(), std::vector<MessageRecord>{kFileSaved});
}

TEST(SaveWad, FailedWriteKeepsTheOldFileAndTheCaption) {
  TestWadSession session;
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

  ASSERT_EQ(session.Boxes().size(), 1u);
  EXPECT_EQ(session.Boxes()[0].caption, L"Error");
  EXPECT_NE(session.Boxes()[0].text.find(Utf8Name(old).Wide()), std::wstring::npos);
  EXPECT_EQ(session.Form().GetText(), Utf8Name(session.file));
  std::ifstream in(old);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "what was there");
  // Nothing else was written: the folder holds test.wad, old.wad and the texture dump.
  const auto entries = std::filesystem::directory_iterator(session.Folder());
  EXPECT_EQ(std::distance(begin(entries), end(entries)), 3);
}

TEST(SaveWad, ModelThatCannotBeEncodedIsRefused) {
  EditorSession session;
  session.Open(WriteTestWad(session.Folder() / "full.wad", BuildFullFrameWad()));
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
  ASSERT_EQ(session.Boxes().size(), 1u);
  EXPECT_EQ(session.Boxes()[0].caption, L"Warning");
  EXPECT_FALSE(std::filesystem::exists(session.Folder() / "toolong.wad"));
  EXPECT_EQ(form.GetText(), caption);
}

// A save replaces the file a name stands for, whatever links lead to it.
TEST(SaveWad, WritesThroughLinksAndSaysWhyItCannotReplaceWhatIsNoFile) {
  TestWadSession session;
  const std::filesystem::path folder = session.Folder(), real = folder / "real.wad";
  std::ofstream(real) << "what was there";
  std::filesystem::create_symlink("real.wad", folder / "link.wad");
  std::filesystem::create_hard_link(real, folder / "twin.wad");
  std::filesystem::create_symlink("made.wad", folder / "ahead.wad");  // names a file not yet there
  for (const char* name : {"link.wad", "twin.wad", "ahead.wad"}) session.Save(folder / name);
  EXPECT_EQ(session.Boxes(), std::vector<MessageRecord>(3, kFileSaved));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.wad") && std::filesystem::is_symlink(folder / "ahead.wad"));
  EXPECT_TRUE(std::filesystem::equivalent(real, folder / "twin.wad"));
  EXPECT_EQ(ReadBytes(real), ReadBytes(session.file));
  EXPECT_EQ(ReadBytes(folder / "made.wad"), ReadBytes(session.file));

  std::filesystem::create_directory(folder / "folder.wad");
  ASSERT_EQ(mkfifo((folder / "pipe.wad").c_str(), 0600), 0);
  for (const auto& [name, reason] : {std::pair{"folder.wad", L"Is a directory"},
                                     {"pipe.wad", L"Is a FIFO, not a regular file"}}) {
    session.desktop.messages.Clear();
    EXPECT_FALSE(testsupport::WaitedOnFifo((folder / "pipe.wad").string(), [&] { session.Save(folder / name); }));
    EXPECT_EQ(session.Boxes(), std::vector<MessageRecord>{SaveRefused(folder / name, reason)});
  }
  EXPECT_TRUE(std::filesystem::is_fifo(folder / "pipe.wad"));
}

// Saves that the system refuses, in a child: as a user (root may write any
// file), then under a file-size limit whose signal only the editor's
// start-up may ignore, over a file of one name and one of two (written in
// place, so that write is undone). Each says why and leaves the file and its
// folder as they were.
TEST(SaveWad, RefusedWritesSayWhyKeepTheFileAndTheEditorGoesOn) {
  EXPECT_CHILD_CLEAN(testsupport::RunInChild([]() -> std::string {
    std::signal(SIGXFSZ, SIG_DFL);
    if (std::string refused = testsupport::BecomeUnprivileged(); !refused.empty()) return refused;
    TestWadSession session;
    const std::filesystem::path folder = session.Folder();
    for (const char* name : {"locked.wad", "old.wad", "twin.wad"}) std::ofstream(folder / name) << "what was there";
    std::filesystem::permissions(folder / "locked.wad", std::filesystem::perms::owner_read);
    std::filesystem::create_hard_link(folder / "twin.wad", folder / "twin2.wad");
    std::string report;
    const auto refused = [&](const char* name, const std::wstring& reason) {
      session.desktop.messages.Clear();
      const std::size_t entries = testsupport::EntryCount(folder);
      session.Save(folder / name);
      if (session.Boxes() != std::vector<MessageRecord>{SaveRefused(folder / name, reason)})
        report += std::string(name) + " was not refused with the reason; ";
      const auto kept = ReadBytes(folder / name);
      if (std::string(kept.begin(), kept.end()) != "what was there") report += std::string(name) + " was changed; ";
      if (testsupport::EntryCount(folder) != entries) report += "a file was left beside " + std::string(name) + "; ";
    };
    refused("locked.wad", L"Permission denied");
    const rlimit small{1024, 1024};
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) return testsupport::kChildSkipped + "no file-size limit can be set";
    refused("old.wad", L"File too large");
    refused("twin.wad", L"File too large");
    return report;
  }));
}
