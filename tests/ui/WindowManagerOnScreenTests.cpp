// The editor's windows under a real window manager (Openbox on the test's
// own virtual display), with real X input. Skips without Xvfb, xdotool or
// Openbox.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "ScreenInput.h"
#include "TestWad.h"
#include "ui/EditorEntry.h"
#include "vcl/Screen.h"

// After the editor's headers: X names its mouse buttons Button1 to Button5.
#include <FL/x.H>

using namespace testsupport;

// A real click on the disabled main window makes it the active window, but
// an editor over it stays in front: the editors open over the middle of the
// main window and are transient for it.
TEST(UnderAWindowManager, TheEditorsOpenOverTheMainWindowAndStayInFrontOfIt) {
  SKIP_WITHOUT_PRIVATE_DISPLAY();
  if (const std::string why = StartWindowManager(); !why.empty()) GTEST_SKIP() << "no window manager: " << why;
  std::unique_ptr<vcl::Backend> screen = vcl::CreateScreenBackend();
  if (!screen) GTEST_SKIP() << "the virtual display cannot be opened";
  TApplication application(std::move(screen));
  uitest::WorkingFolder folder;
  vcl::ScriptedFileDialogs dialogs;
  vcl::ScopedFileDialogService scripted(dialogs);
  Main_Initialize();
  struct Finalized {
    ~Finalized() { Main_Finalize(); }
  } finalized;
  CreateEditorForms();
  TForm2& form = *Main().Form2;
  form.Show();
  Fl_Window& mainWindow = *vcl::ScreenWindow(form);
  ASSERT_TRUE(AwaitDrawn(mainWindow));
  dialogs.Answer(String::FromUtf8(uitest::WriteTestWad(folder.path / "test.wad", uitest::BuildTestWad()).string()));
  ASSERT_TRUE(User::ChooseMenuItem(form.OpenLevel1));
  ASSERT_TRUE(User::ChooseItem(form.ListBox1, 0));
  ASSERT_TRUE(User::ChooseItem(form.ComboBox1, 0));
  const Deadline deadline(60s);

  const std::vector<unsigned long> main{fl_xid(&mainWindow)};
  const ScreenPoint mainAt = ScreenOrigin(mainWindow);
  for (auto [button, editor] : uitest::Editors(form)) {
    const std::string what = editor->GetText().ToUtf8();
    person::ClickOn(*vcl::ScreenWidget(*button));
    ASSERT_TRUE(PumpUntil([&] { return editor->GetVisible(); })) << what;
    Fl_Window& window = *vcl::ScreenWindow(*editor);
    ASSERT_TRUE(AwaitDrawn(window)) << what;
    const ScreenPoint at = ScreenOrigin(window);
    EXPECT_NEAR(at.x + window.w() / 2, mainAt.x + mainWindow.w() / 2, 40) << what;
    EXPECT_NEAR(at.y + window.h() / 2, mainAt.y + mainWindow.h() / 2, 40) << what;
    EXPECT_EQ(WindowProperty(fl_display, fl_xid(&window), "WM_TRANSIENT_FOR"), main) << what;

    const ::Window root = RootWindow(fl_display, fl_screen);
    person::ClickOn(*vcl::ScreenWidget(*form.ListBox1));
    EXPECT_TRUE(PumpUntil([&] { return WindowProperty(fl_display, root, "_NET_ACTIVE_WINDOW") == main; }))
        << "the click did not reach the window manager";
    std::this_thread::sleep_for(300ms);  // the window manager restacks in its own time
    const std::vector<unsigned long> order = WindowProperty(fl_display, root, "_NET_CLIENT_LIST_STACKING");
    const auto above = std::find(order.begin(), order.end(), fl_xid(&window));
    EXPECT_TRUE(above != order.end() && std::find(order.begin(), above, main[0]) != above)
        << what << " went behind the main window";
    window.do_callback();  // the close box
    EXPECT_TRUE(PumpUntil([&] { return form.GetEnabled(); })) << what;
  }
  EXPECT_FALSE(deadline.Passed()) << "the input went astray";
}
