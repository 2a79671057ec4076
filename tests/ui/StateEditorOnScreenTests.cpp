// The State Change Editor in a real window over a real WAD: the toolkit's
// click on "State Changes" opens it over the disabled main window, a picture
// of it is left in the build folder as state-change-editor.png, and the
// window system's close request gives the main window back. Runs on a
// virtual display of its own; skips without Xvfb.

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "EditorSession.h"
#include "ScreenInput.h"
#include "SharedData.h"
#include "StateTables.h"
#include "ui/ChangeForm.h"
#include "ui/EditorEntry.h"
#include "vcl/Screen.h"

TEST(OnScreen, StateChangeEditorOpensOverARealWadAndClosesBack) {
  SKIP_WITHOUT_PRIVATE_DISPLAY();
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  WadFile wolf;
  ASSERT_EQ(ReadWad(testsupport::SharedPath("wads/wolf.wad").string(), wolf), 1);
  // The first moveable whose first animation answers to state changes.
  int m = 0;
  while (static_cast<std::size_t>(m) < wolf.moveables.size() &&
         (wolf.moveables[m].animIndex < 0 ||
          testsupport::AnswersOf(wolf, static_cast<std::size_t>(wolf.moveables[m].animIndex)).empty()))
    ++m;
  ASSERT_LT(static_cast<std::size_t>(m), wolf.moveables.size());

  std::unique_ptr<vcl::Backend> screen = vcl::CreateScreenBackend();
  if (!screen) GTEST_SKIP() << "the X display cannot be opened";
  TApplication application(std::move(screen));
  RecordingMessageService messages;  // a modal box would wait for a person
  ScopedMessageService messageScope(messages);
  vcl::ScriptedFileDialogs dialogs;
  vcl::ScopedFileDialogService dialogScope(dialogs);
  uitest::WorkingFolder data;
  auto pump = [&application] {
    application.GetBackend()->ProcessPending();
    application.Idle();
  };

  Main_Initialize();
  CreateEditorForms();
  TForm2& form = *Main().Form2;
  TForm1& editor = *Main().Form1;
  form.Show();
  pump();
  dialogs.Answer(String::FromUtf8(testsupport::SharedPath("wads/wolf.wad").string()));
  ASSERT_TRUE(User::ChooseMenuItem(form.OpenLevel1));
  ASSERT_TRUE(User::ChooseItem(form.ListBox1, m));
  ASSERT_TRUE(User::ChooseItem(form.ComboBox1, 0));
  pump();

  testsupport::ToolkitClick(*vcl::ScreenWidget(*form.Button7));
  pump();
  ASSERT_TRUE(editor.GetVisible());
  ASSERT_TRUE(vcl::ScreenWindow(editor)->shown());
  EXPECT_FALSE(form.GetEnabled());
  EXPECT_GT(editor.ListBox1->GetItems()->GetCount(), 0);
  ASSERT_TRUE(User::ChooseItem(editor.ListBox1, 0));
  pump();

  const char* screenshot = UI_SCREENSHOT_DIR "/state-change-editor.png";
  std::filesystem::remove(screenshot);
  EXPECT_TRUE(vcl::WriteScreenshot(editor, screenshot));
  EXPECT_GT(std::filesystem::file_size(screenshot), 0u);

  // The close box.
  vcl::ScreenWindow(editor)->do_callback();
  pump();
  EXPECT_FALSE(editor.GetVisible());
  EXPECT_FALSE(vcl::ScreenWindow(editor)->shown());
  EXPECT_TRUE(form.GetEnabled());
  EXPECT_TRUE(form.GetActive());
  EXPECT_TRUE(messages.Boxes().empty());
  Main_Finalize();
}
