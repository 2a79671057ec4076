// The editor in a real window: it opens a real WAD, plays its first animation
// and leaves a picture of the whole main window in the build folder. Needs an
// X display (the test script starts a virtual one); skips without.

#include <gtest/gtest.h>

#include <cstdlib>

#include "EditorSession.h"
#include "SharedData.h"
#include "ui/EditorEntry.h"
#include "vcl/Screen.h"

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
  uitest::WorkingFolder data;  // with the editor's data files, as the run script gives it
  for (const char* name : {"Strings.xml", "solid.bmp"})
    std::filesystem::copy_file(std::filesystem::path(UI_DATA_DIR) / name, data.path / name);
  // Handles what the display sent and draws one frame.
  auto pump = [&application] {
    application.GetBackend()->ProcessPending();
    application.Idle();
  };

  Main_Initialize();
  CreateEditorForms();
  TForm2& form = *Main().Form2;
  form.Show();
  for (int i = 0; i < 5; ++i) pump();
  dialogs.Answer(String::FromUtf8(testsupport::SharedPath("wads/wolf.wad").string()));
  ASSERT_TRUE(User::ChooseMenuItem(form.OpenLevel1));
  ASSERT_TRUE(User::ChooseItem(form.ListBox1, 0));
  ASSERT_TRUE(User::ChooseItem(form.ComboBox1, 0));
  ASSERT_TRUE(User::Click(form.Button1));
  // Plays for a little over a second, so that the frame rate is shown too.
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 1200;) pump();

  const vcl::PanelWindow& panel = form.Panel1->Window();
  EXPECT_GT(panel.FrameCount(), 50);
  EXPECT_GT(std::count_if(panel.FramePixels().begin(), panel.FramePixels().end(),
                          [](std::uint32_t p) { return p != uitest::kClearPixel; }),
            1000);
  EXPECT_TRUE(messages.Boxes().empty());
  const char* screenshot = UI_SCREENSHOT_DIR "/editor-main-window.png";
  std::filesystem::remove(screenshot);
  EXPECT_TRUE(vcl::WriteScreenshot(form, screenshot));
  EXPECT_GT(std::filesystem::file_size(screenshot), 0u);
  Main_Finalize();
}
