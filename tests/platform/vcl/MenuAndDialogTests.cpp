// Menus, file dialogs, where file dialogs start and what typed names name,
// and the translation of dialog filters for the chooser.

#include <cstdlib>
#include <filesystem>

#include "FormFixture.h"
#include "TempFiles.h"
#include "vcl/DialogPaths.h"
#include "vcl/FileFilter.h"

using MenuTest = FormTest;

TEST_F(MenuTest, OnlyEnabledLeafItemsOfAnEnabledFormCanBeChosen) {
  form->Open1->OnClick = [this](TObject* sender) { log.push_back(sender == form->Open1 ? "open" : "?"); };
  form->About1->OnClick = Record("about");
  form->File1->OnClick = Record("file");
  EXPECT_TRUE(User::ChooseMenuItem(form->Open1));
  EXPECT_TRUE(User::ChooseMenuItem(form->About1));  // a bar item without sub-items
  EXPECT_FALSE(User::ChooseMenuItem(form->File1));
  EXPECT_FALSE(User::ChooseMenuItem(form->N1));

  form->Open1->Enabled = false;
  EXPECT_FALSE(User::ChooseMenuItem(form->Open1));
  form->Open1->Enabled = true;
  form->File1->Enabled = false;
  EXPECT_FALSE(User::ChooseMenuItem(form->Open1));
  form->File1->Enabled = true;
  form->Enabled = false;
  EXPECT_FALSE(User::ChooseMenuItem(form->About1));
  EXPECT_EQ(log, (Log{"open", "about"}));
}

using DialogTest = FormTest;

TEST_F(DialogTest, ExecuteAnswersFromTheScriptAndKeepsTheFileNameOnCancel) {
  TOpenDialog* dialog = form->OpenDialog1;
  dialog->Title = L"Open WAD File";
  dialog->Filter = L"Tomb Raider WAD File|*.wad";
  dialog->InitialDir = L"/data";
  desktop.dialogs.Answer(L"/data/lara.wad");
  desktop.dialogs.Cancel();

  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->FileName.Get(), String(L"/data/lara.wad"));
  EXPECT_FALSE(dialog->Execute());
  EXPECT_FALSE(dialog->Execute());  // nothing scripted: cancelled
  EXPECT_EQ(dialog->FileName.Get(), String(L"/data/lara.wad"));

  const auto& asked = desktop.dialogs.Requests();
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].kind, vcl::FileDialogKind::Open);
  EXPECT_EQ(asked[0].title, String(L"Open WAD File"));
  EXPECT_EQ(asked[0].filter, String(L"Tomb Raider WAD File|*.wad"));
  EXPECT_EQ(asked[0].initialDir, String(L"/data"));
  EXPECT_EQ(asked[1].fileName, String(L"/data/lara.wad"));
}

TEST_F(DialogTest, SaveDialogsAskForASaveChooser) {
  auto* save = new TSaveDialog(form);
  save->FileName = L"out";
  save->Execute();
  ASSERT_EQ(desktop.dialogs.Requests().size(), 1u);
  EXPECT_EQ(desktop.dialogs.Requests()[0].kind, vcl::FileDialogKind::Save);
  EXPECT_EQ(desktop.dialogs.Requests()[0].fileName, String(L"out"));
}

TEST(ChooserFilter, TranslatesDescriptionsAndPatterns) {
  EXPECT_EQ(vcl::ChooserFilter(L"Tomb Raider WAD File|*.wad"), "Tomb Raider WAD File\t*.wad");
  EXPECT_EQ(vcl::ChooserFilter(L"wad file| *.wad"), "wad file\t*.wad");
  EXPECT_EQ(vcl::ChooserFilter(L"Levels|*.wad;*.tr4|All files|*"),
            "Levels\t{*.wad,*.tr4}\nAll files\t*");
  EXPECT_EQ(vcl::ChooserFilter(L"Nothing|"), "");
  EXPECT_EQ(vcl::ChooserFilter(L""), "");
}

// A typed name is found within the folder the dialog shows, whatever the
// program's working folder.
TEST(DialogPaths, TypedNamesAreTakenWithinTheFolderShown) {
  const String folder = L"/levels/tr4";
  EXPECT_EQ(vcl::ResolveTypedName(L"lara.wad", folder), String(L"/levels/tr4/lara.wad"));
  EXPECT_EQ(vcl::ResolveTypedName(L"../../shared/./wads/wolf.wad", folder),
            String(L"/shared/wads/wolf.wad"));
  EXPECT_EQ(vcl::ResolveTypedName(L"/elsewhere/a@b/x.wad", folder), String(L"/elsewhere/a@b/x.wad"));
  EXPECT_EQ(vcl::ResolveTypedName(L"sub/", folder), String(L"/levels/tr4/sub/"));
}

// A dialog starts in its own folder, else in its file's, else in the folder
// the program was started from.
TEST(DialogPaths, DialogsStartInTheirFolderElseTheirFilesElseTheStartFolder) {
  vcl::FileDialogRequest request;
  request.fileName = L"/levels/tr4/lara.wad";
  EXPECT_EQ(vcl::DialogFolder(request), String(L"/levels/tr4"));
  EXPECT_EQ(vcl::PresetFile(request), String(L"/levels/tr4/lara.wad"));
  request.initialDir = L"/saved/";
  EXPECT_EQ(vcl::DialogFolder(request), String(L"/saved"));
  EXPECT_EQ(vcl::PresetFile(request), String(L"/saved/lara.wad"));

  const std::filesystem::path started = testsupport::UniqueTempPath("started", "");
  std::filesystem::create_directory(started);
  const String working = String::FromUtf8(std::filesystem::current_path().string());
  request = vcl::FileDialogRequest{};
  EXPECT_EQ(vcl::DialogFolder(request), working);
  setenv(vcl::kStartFolderVariable, started.c_str(), 1);
  EXPECT_EQ(vcl::DialogFolder(request), String::FromUtf8(started.string()));
  EXPECT_EQ(vcl::PresetFile(request), String());
  setenv(vcl::kStartFolderVariable, (started / "gone").c_str(), 1);
  EXPECT_EQ(vcl::DialogFolder(request), working);
  unsetenv(vcl::kStartFolderVariable);
  std::filesystem::remove(started);
}
