// The editor in a real window: it opens a real WAD, plays its first
// animation and leaves a picture of the whole main window in the build folder.
// Needs an X display (the test script starts a virtual one); skips without.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "EditorSession.h"
#include "SharedData.h"
#include "ui/EditorEntry.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "vcl/Screen.h"
#include "vcl/User.h"

namespace {

constexpr const char* kScreenshot = UI_SCREENSHOT_DIR "/editor-main-window.png";

// Handles what the display sent and draws one frame, count times.
void Pump(TApplication& application, int count) {
  for (int i = 0; i < count; ++i) {
    application.GetBackend()->ProcessPending();
    application.Idle();
  }
}

// A working folder holding the editor's data files, as the run script gives it.
struct DataFolder {
  DataFolder() : previous(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "wadeditor-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    for (const char* name : {"Strings.xml", "solid.bmp"})
      std::filesystem::copy_file(std::filesystem::path(UI_DATA_DIR) / name, folder / name);
    std::filesystem::current_path(folder);
  }
  ~DataFolder() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }
  std::filesystem::path previous, folder;
};

}  // namespace

TEST(OnScreen, OpensAWadPlaysItAndLeavesAScreenshot) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display: DISPLAY is not set";
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  std::unique_ptr<vcl::Backend> screen = vcl::CreateScreenBackend();
  if (!screen) GTEST_SKIP() << "the X display cannot be opened";
  TApplication application(std::move(screen));
  RecordingMessageService messages;  // a modal box would wait for a person
  ScopedMessageService messageScope(messages);
  vcl::ScriptedFileDialogs dialogs;
  vcl::ScopedFileDialogService dialogScope(dialogs);
  DataFolder data;

  Main_Initialize();
  CreateEditorForms();
  TForm2& form = *Main().Form2;
  form.Show();
  Pump(application, 5);
  dialogs.Answer(String::FromUtf8(testsupport::SharedPath("wads/wolf.wad").string()));
  ASSERT_TRUE(User::ChooseMenuItem(form.OpenLevel1));
  ASSERT_TRUE(User::ChooseItem(form.ListBox1, 0));
  ASSERT_TRUE(User::ChooseItem(form.ComboBox1, 0));
  ASSERT_TRUE(User::Click(form.Button1));
  // Plays for a little over a second, so that the frame rate is shown too.
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 1200) Pump(application, 1);

  const vcl::PanelWindow& panel = form.Panel1->Window();
  EXPECT_GT(panel.FrameCount(), 50);
  const auto& pixels = panel.FramePixels();
  EXPECT_GT(std::count_if(pixels.begin(), pixels.end(),
                          [](std::uint32_t p) { return p != uitest::kClearPixel; }),
            1000);
  EXPECT_TRUE(messages.Boxes().empty());
  std::filesystem::remove(kScreenshot);
  EXPECT_TRUE(vcl::WriteScreenshot(form, kScreenshot));
  EXPECT_GT(std::filesystem::file_size(kScreenshot), 0u);
  Main_Finalize();
}
