// The editor's windows under a real window manager (Openbox on the test's
// own virtual display), with real X input: every window opened over the main
// window (the two editors, a message box, the file dialog) is transient for
// the window it opens over, so a click on the disabled main window leaves it
// in front; the editors open over the main window. Skips without Xvfb,
// xdotool or Openbox.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

#include "ScreenInput.h"
#include "TestWad.h"
#include "ui/AnimCommForm.h"
#include "ui/ChangeForm.h"
#include "ui/EditorEntry.h"
#include "vcl/Screen.h"

// After the editor's headers: X names its mouse buttons Button1 to Button5.
#include <FL/x.H>
#include <X11/Xatom.h>

namespace {

using namespace testsupport;

// A list of atoms or windows on a window, as the window manager keeps it.
std::vector<unsigned long> ListProperty(::Window window, const char* name, Atom type) {
  const Atom property = XInternAtom(fl_display, name, False);
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  XSync(fl_display, False);
  if (XGetWindowProperty(fl_display, window, property, 0, 1024, False, type, &actual, &format, &count,
                         &after, &data) == Success &&
      data != nullptr && format == 32) {
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    values.assign(items, items + count);
  }
  if (data != nullptr) XFree(data);
  return values;
}

::Window TransientFor(const Fl_Window& window) {
  ::Window owner = None;
  return XGetTransientForHint(fl_display, fl_xid(&window), &owner) ? owner : None;
}

// Whether the window manager stacks the upper window above the lower one.
bool StackedAbove(const Fl_Window& upper, const Fl_Window& lower) {
  const std::vector<unsigned long> order =
      ListProperty(RootWindow(fl_display, fl_screen), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
  const auto up = std::find(order.begin(), order.end(), fl_xid(&upper));
  const auto down = std::find(order.begin(), order.end(), fl_xid(&lower));
  return up != order.end() && down != order.end() && up > down;
}

bool Allows(const Fl_Window& window, const char* action) {
  const std::vector<unsigned long> actions = ListProperty(fl_xid(&window), "_NET_WM_ALLOWED_ACTIONS", XA_ATOM);
  return std::find(actions.begin(), actions.end(), XInternAtom(fl_display, action, False)) != actions.end();
}

// The window manager has handled what it was sent (a click raises a window
// at once, but in its own time).
void LetTheWindowManagerAct() {
  for (int i = 0; i < 10; ++i) {
    XSync(fl_display, False);
    std::this_thread::sleep_for(30ms);
  }
}

// The kinds of windows opened over the main window: a modeless editor, a
// modal box and a modal (resizable) file dialog.
enum class Opened { kEditor, kBox, kFileDialog };

class UnderAWindowManager : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_PRIVATE_DISPLAY();
    const std::string why = StartWindowManager();
    if (!why.empty()) GTEST_SKIP() << "no window manager: " << why;
    std::unique_ptr<vcl::Backend> screen = vcl::CreateScreenBackend();
    if (!screen) GTEST_SKIP() << "the virtual display cannot be opened";
    vcl::UseToolkitFileChooser();
    application_ = std::make_unique<TApplication>(std::move(screen));
    Main_Initialize();
    CreateEditorForms();
    Form().Show();
    ASSERT_TRUE(AwaitDrawn(MainWindow()));
    {
      vcl::ScriptedFileDialogs dialogs;
      vcl::ScopedFileDialogService scripted(dialogs);
      dialogs.Answer(String::FromUtf8(uitest::WriteTestWad(folder_.path / "test.wad", uitest::BuildTestWad()).string()));
      ASSERT_TRUE(User::ChooseMenuItem(Form().OpenLevel1));
    }
    ASSERT_TRUE(User::ChooseItem(Form().ListBox1, 0));
    ASSERT_TRUE(User::ChooseItem(Form().ComboBox1, 0));
    deadline_ = std::make_unique<Deadline>(60s);
  }

  void TearDown() override {
    if (deadline_) {
      EXPECT_FALSE(deadline_->Passed()) << "the input went astray";
    }
    deadline_.reset();
    if (MainIsInitialized()) Main_Finalize();
  }

  TForm2& Form() { return *Main().Form2; }
  Fl_Window& MainWindow() { return *vcl::ScreenWindow(Form()); }

  // A real click on the main window, away from the windows over it; the
  // disabled window takes no input, but the window manager sees the click.
  // Beside a modeless window it makes the main window the active one.
  void ClickMainWindow(Opened opened) {
    person::ClickOn(*vcl::ScreenWidget(*Form().ListBox1));
    const ::Window root = RootWindow(fl_display, fl_screen);
    const auto activated = [&] {
      const std::vector<unsigned long> active = ListProperty(root, "_NET_ACTIVE_WINDOW", XA_WINDOW);
      return !active.empty() && active[0] == fl_xid(&MainWindow());
    };
    for (const auto end = std::chrono::steady_clock::now() + 3s;
         opened == Opened::kEditor && !activated() && std::chrono::steady_clock::now() < end;)
      std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(opened != Opened::kEditor || activated()) << "the click did not reach the window manager";
    LetTheWindowManagerAct();
  }

  // Opens an editor with a real click on its button; its window, once drawn.
  Fl_Window* OpenEditor(TButton* button, TCustomForm& editor) {
    person::ClickOn(*vcl::ScreenWidget(*button));
    if (!PumpUntil([&] { return editor.GetVisible(); })) return nullptr;
    Fl_Window* window = vcl::ScreenWindow(editor);
    return window != nullptr && AwaitDrawn(*window) ? window : nullptr;
  }

  // What holds for every window opened over the main window; one of a
  // fixed size has no maximise.
  void ExpectKeptInFront(Fl_Window& window, const std::string& what, Opened opened) {
    EXPECT_EQ(TransientFor(window), fl_xid(&MainWindow())) << what;
    ClickMainWindow(opened);
    EXPECT_TRUE(StackedAbove(window, MainWindow())) << what << " went behind the main window";
    if (opened != Opened::kFileDialog) {
      EXPECT_FALSE(Allows(window, "_NET_WM_ACTION_MAXIMIZE_HORZ")) << what;
    }
  }

  // The window lies on the main window, near its middle.
  void ExpectOverMainWindow(Fl_Window& window, const std::string& what) {
    const ScreenPoint at = ScreenOrigin(window);
    const ScreenPoint mainAt = ScreenOrigin(MainWindow());
    EXPECT_GE(at.x, mainAt.x) << what;
    EXPECT_GE(at.y, mainAt.y) << what;
    EXPECT_LE(at.x + window.w(), mainAt.x + MainWindow().w()) << what;
    EXPECT_LE(at.y + window.h(), mainAt.y + MainWindow().h()) << what;
    EXPECT_NEAR(at.x + window.w() / 2, mainAt.x + MainWindow().w() / 2, 40) << what;
    EXPECT_NEAR(at.y + window.h() / 2, mainAt.y + MainWindow().h() / 2, 40) << what;
  }

 private:
  uitest::WorkingFolder folder_;
  std::unique_ptr<TApplication> application_;
  std::unique_ptr<Deadline> deadline_;
};

TEST_F(UnderAWindowManager, TheEditorsOpenOverTheMainWindowAndStayInFrontOfIt) {
  const std::vector<std::pair<TButton*, TCustomForm*>> editors{{Form().Button8, Main().Form3},
                                                              {Form().Button7, Main().Form1}};
  for (const auto& [button, editor] : editors) {
    const std::string what = editor->GetText().ToUtf8();
    Fl_Window* window = OpenEditor(button, *editor);
    ASSERT_NE(window, nullptr) << what;
    ExpectOverMainWindow(*window, what);
    ExpectKeptInFront(*window, what, Opened::kEditor);
    window->do_callback();  // the close box
    EXPECT_TRUE(PumpUntil([] { return Main().Form2->GetEnabled(); })) << what;
  }
}

TEST_F(UnderAWindowManager, MessageBoxesAndFileDialogsStayInFrontOfTheMainWindow) {
  WhenShown box("the box of \"Apply\"", ModalTitled(""), [&](Fl_Window& window) {
    AwaitDrawn(window);
    ExpectKeptInFront(window, "the message box", Opened::kBox);
    for (int i = 0; i < window.children(); ++i)
      if (auto* ok = dynamic_cast<Fl_Return_Button*>(window.child(i))) person::ClickOn(*ok);
  });
  person::ClickOn(*vcl::ScreenWidget(*Form().Button6));  // "Apply" confirms with a box
  EXPECT_TRUE(PumpUntil([&] { return box.Failure().empty(); }));
  EXPECT_EQ(box.Failure(), "");

  WhenShown dialog("the open dialog", ModalTitled("Open WAD File"), [&](Fl_Window& window) {
    AwaitDrawn(window);
    ExpectKeptInFront(window, "the open dialog", Opened::kFileDialog);
    Fl_Button* cancel = nullptr;
    std::function<void(Fl_Group&)> find = [&](Fl_Group& group) {
      for (int i = 0; i < group.children(); ++i) {
        Fl_Widget* child = group.child(i);
        if (auto* button = dynamic_cast<Fl_Button*>(child); button && button->label() &&
                                                           std::string(button->label()) == "Cancel")
          cancel = button;
        if (Fl_Group* inner = child->as_group()) find(*inner);
      }
    };
    find(window);
    ASSERT_NE(cancel, nullptr);
    person::ClickOn(*cancel);
  });
  User::ChooseMenuItem(Form().OpenLevel1);
  EXPECT_EQ(dialog.Failure(), "");
}

}  // namespace
