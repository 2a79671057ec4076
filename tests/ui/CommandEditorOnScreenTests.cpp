// The Dide Command Editor in a real window over a real WAD: opened by a click
// on "Dide Commands" as the display delivers it, with the main window taking
// no clicks while it is up, a picture of it left in the build folder as
// dide-command-editor.png, and closed by its close box. Runs on a virtual
// display of its own; skips without Xvfb.

#include <gtest/gtest.h>

#include <algorithm>

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Window.H>

#include "EditorSession.h"
#include "ScreenInput.h"
#include "SharedData.h"
#include "model/AnimCommands.h"
#include "ui/AnimCommForm.h"
#include "ui/EditorEntry.h"
#include "vcl/Screen.h"

TEST(CommandEditorOnScreen, OpensOverARealWadAndLeavesAScreenshot) {
  SKIP_WITHOUT_PRIVATE_DISPLAY();
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  const std::filesystem::path file = testsupport::SharedPath("wads/lara.wad");
  WadFile wad;
  ASSERT_EQ(ReadWad(file.string(), wad), 1);
  // The first sound of the first moveable's animations, and its line.
  const AnimCommandArray commands = DecodeAnimCommands(wad);
  const uint32_t first = static_cast<uint32_t>(wad.moveables.at(0).animIndex);
  const auto sound = std::ranges::find_if(commands, [&](const AnimCommand& c) {
    return c.type == kCommandPlaySound && c.animIndex - first < CountMoveableAnimations(wad, 0);
  });
  ASSERT_NE(sound, commands.end());
  const int line = static_cast<int>(sound - std::ranges::find(commands, sound->animIndex, &AnimCommand::animIndex));
  std::unique_ptr<vcl::Backend> screen = vcl::CreateScreenBackend();
  if (!screen) GTEST_SKIP() << "the X display cannot be opened";
  TApplication application(std::move(screen));
  RecordingMessageService messages;
  ScopedMessageService messageScope(messages);
  vcl::ScriptedFileDialogs dialogs;
  vcl::ScopedFileDialogService dialogScope(dialogs);
  uitest::WorkingFolder folder;
  auto pump = [&application] {
    for (int i = 0; i < 5; ++i) {
      application.GetBackend()->ProcessPending();
      application.Idle();
    }
  };

  Main_Initialize();
  CreateEditorForms();
  TForm2& form = *Main().Form2;
  TForm3& editor = *Main().Form3;
  form.Show();
  pump();
  dialogs.Answer(String::FromUtf8(file.string()));
  ASSERT_TRUE(User::ChooseMenuItem(form.OpenLevel1));
  ASSERT_TRUE(User::ChooseItem(form.ListBox1, 0));
  ASSERT_TRUE(User::ChooseItem(form.ComboBox1, static_cast<int>(sound->animIndex - first)));
  pump();
  testsupport::ToolkitClick(*vcl::ScreenWidget(*form.Button8));
  pump();
  ASSERT_TRUE(editor.GetVisible());
  Fl_Window* window = vcl::ScreenWindow(editor);
  ASSERT_TRUE(window != nullptr && window->shown());
  EXPECT_EQ(window->w(), 368);
  ASSERT_TRUE(User::ChooseItem(editor.ListBox1, line));
  pump();
  auto* list = static_cast<Fl_Hold_Browser*>(vcl::ScreenWidget(*editor.ListBox1));
  EXPECT_EQ(list->size(), editor.ListBox1->GetItems()->GetCount());
  EXPECT_EQ(list->value(), line + 1);
  testsupport::ToolkitClick(*vcl::ScreenWidget(*form.Button1));  // the main window takes no clicks
  EXPECT_EQ(form.Button1->GetText(), String(L"Play"));

  const char* screenshot = UI_SCREENSHOT_DIR "/dide-command-editor.png";
  std::filesystem::remove(screenshot);
  EXPECT_TRUE(vcl::WriteScreenshot(editor, screenshot));
  EXPECT_GT(std::filesystem::file_size(screenshot), 0u);

  window->do_callback();  // the close box
  pump();
  EXPECT_FALSE(window->shown());
  EXPECT_TRUE(form.GetEnabled());
  EXPECT_TRUE(messages.Boxes().empty());
  Main_Finalize();
}
