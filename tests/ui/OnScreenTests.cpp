// The editor in real windows on a virtual display of its own, driven where a
// person's way goes through the toolkit by real X input: typing into the file
// dialogs, opening the animation list, typing into fields, the File menu,
// clicking message boxes. Leaves pictures of the open file dialog and the
// open animation list in the build folder. Skips without Xvfb and xdotool,
// and without the shared WADs where it needs them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

#include "EditorSession.h"
#include "ScreenInput.h"
#include "SharedData.h"
#include "TestWad.h"
#include "model/KeyFrameStream.h"
#include "ui/AnimCommForm.h"
#include "ui/EditorEntry.h"
#include "vcl/DialogPaths.h"
#include "vcl/Screen.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

class OnScreenEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_PRIVATE_DISPLAY();
    std::unique_ptr<vcl::Backend> screen = vcl::CreateScreenBackend();
    if (!screen) GTEST_SKIP() << "the virtual display cannot be opened";
    vcl::UseToolkitFileChooser();  // the display has no desktop
    application_ = std::make_unique<TApplication>(std::move(screen));
    for (const char* name : {"Strings.xml", "solid.bmp"})
      fs::copy_file(fs::path(UI_DATA_DIR) / name, folder_.path / name);
    Main_Initialize();
    CreateEditorForms();
    Form().Show();
    ASSERT_TRUE(AwaitDrawn(*vcl::ScreenWindow(Form())));
    deadline_ = std::make_unique<Deadline>(60s);
  }

  void TearDown() override {
    if (deadline_) {
      EXPECT_FALSE(deadline_->Passed()) << "the input went astray";
    }
    deadline_.reset();
    unsetenv(vcl::kStartFolderVariable);
    if (MainIsInitialized()) Main_Finalize();
  }

  TForm2& Form() { return *Main().Form2; }
  Fl_Widget& Widget(const TControl& control) { return *vcl::ScreenWidget(control); }
  const fs::path& Folder() const { return folder_.path; }

  // Handles what the display sent and draws a frame, count times.
  void Frames(int count) {
    for (int i = 0; i < count; ++i) {
      application_->GetBackend()->ProcessPending();
      application_->Idle();
    }
  }

  // Pixels of the 3D view below the statistics that show something other
  // than the clear colour: the moveable drawn.
  long DrawnPixels() {
    const vcl::PanelWindow& view = Form().Panel1->Window();
    const std::size_t statistics = static_cast<std::size_t>(view.FrameWidth()) * 100;
    const std::vector<std::uint32_t>& pixels = view.FramePixels();
    if (pixels.size() <= statistics) return 0;
    return std::count_if(pixels.begin() + static_cast<long>(statistics), pixels.end(),
                         [](std::uint32_t p) { return p != uitest::kClearPixel; });
  }

  // File, "Open WAD", with the name typed into the dialog.
  void OpenTyped(const std::string& typed, const std::string& screenshot = std::string()) {
    WhenShown dialog("the open dialog", ModalTitled("Open WAD File"), [&](Fl_Window& window) {
      const ScreenPoint at = ScreenOrigin(window);
      if (!screenshot.empty()) {
        AwaitDrawn(window);
        EXPECT_TRUE(vcl::WriteScreenArea(at.x, at.y, window.w(), window.h(), screenshot));
      }
      person::MoveTo(at.x + window.w() / 2, at.y + window.h() / 2);
      person::Type(typed);
      person::Keys("Return");
    });
    User::ChooseMenuItem(Form().OpenLevel1);
    EXPECT_EQ(dialog.Failure(), "");
  }

  // File, "Open WAD", the dialog answered with the WAD written.
  void OpenWad(const WadFile& wad) {
    vcl::ScriptedFileDialogs dialogs;
    vcl::ScopedFileDialogService scripted(dialogs);
    dialogs.Answer(String::FromUtf8(uitest::WriteTestWad(Folder() / "test.wad", wad).string()));
    EXPECT_TRUE(User::ChooseMenuItem(Form().OpenLevel1));
  }

  // Clicks OK on the message box of the caption once it shows; its text.
  std::unique_ptr<WhenShown> ClickOkOn(const std::string& caption, std::string& text) {
    return std::make_unique<WhenShown>("the box \"" + caption + "\"", ModalTitled(caption),
                                       [&text](Fl_Window& box) {
      for (int i = 0; i < box.children(); ++i)
        if (auto* label = dynamic_cast<Fl_Box*>(box.child(i)); label && label->label())
          text = label->label();
      for (int i = 0; i < box.children(); ++i)
        if (auto* ok = dynamic_cast<Fl_Return_Button*>(box.child(i))) person::ClickOn(*ok);
    });
  }

 private:
  uitest::WorkingFolder folder_;  // the program's working folder, as the run script gives it
  std::unique_ptr<TApplication> application_;
  std::unique_ptr<Deadline> deadline_;
};

// Lara's moveable has 648 animations: its last is a click and four keys away.
TEST_F(OnScreenEditor, OpensAWadByNameAndReachesAnyOfItsAnimationsInAFewKeys) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  // The first dialog starts where the user started the program.
  setenv(vcl::kStartFolderVariable, SharedPath("wads").c_str(), 1);
  OpenTyped("lara.wad", UI_SCREENSHOT_DIR "/file-dialog.png");
  MainUnit& M = Main();
  ASSERT_TRUE(fs::equivalent(M.captionText.ToUtf8(), SharedPath("wads/lara.wad")));

  std::uint32_t most = 0, count = 0;
  for (std::uint32_t m = 0; m < M.wadfile.numMoveables(); ++m)
    if (CountMoveableAnimations(M.wadfile, m) > count) most = m, count = CountMoveableAnimations(M.wadfile, m);
  ASSERT_GT(count, 100u);
  ASSERT_TRUE(User::ChooseItem(Form().ListBox1, static_cast<int>(most)));

  person::ClickOn(Widget(*Form().ComboBox1));
  ASSERT_TRUE(PumpUntil([] { return Fl::grab() != nullptr; }));
  Fl_Window& list = *Fl::grab();
  const std::string last = std::to_string(count - 1);
  person::Type(last);
  ASSERT_TRUE(AwaitDrawn(list));
  const ScreenPoint formAt = ScreenOrigin(*vcl::ScreenWindow(Form()));
  const ScreenPoint listAt = ScreenOrigin(list);
  EXPECT_TRUE(vcl::WriteScreenArea(formAt.x, formAt.y, 240, listAt.y + list.h() + 8 - formAt.y,
                                   UI_SCREENSHOT_DIR "/dropdown-open.png"));
  person::Keys("Return");
  ASSERT_TRUE(PumpUntil([] { return Fl::grab() == nullptr; }));

  EXPECT_EQ(Form().ComboBox1->GetItemIndex(), static_cast<int>(count - 1));
  EXPECT_EQ(Form().ComboBox1->GetText(), String(L"Animation #") + String::FromUtf8(last));
  EXPECT_EQ(M.currentAnimation, static_cast<int>(count - 1));
  const WadAnimation& chosen =
      M.wadfile.animations[static_cast<std::size_t>(M.wadfile.moveables[most].animIndex) + count - 1];
  EXPECT_EQ(Form().Edit7->GetText(), IntToStr(chosen.frameRate));

  // Played, the view shows at most the display's refresh rate (the virtual
  // display is taken as refreshing at 60 Hz).
  User::Click(Form().Button1);
  for (const auto start = std::chrono::steady_clock::now();
       std::chrono::steady_clock::now() - start < 1200ms;)
    Frames(1);
  const std::string rate = M.statsLines[0].data();
  ASSERT_EQ(rate.rfind("Frames por segundo: ", 0), 0u) << rate;
  const double shown = std::strtod(rate.c_str() + rate.find(':') + 1, nullptr);
  EXPECT_GT(shown, 0.0);
  EXPECT_LE(shown, 61.0);
  EXPECT_GT(DrawnPixels(), 1000);
  EXPECT_TRUE(vcl::WriteScreenshot(Form(), UI_SCREENSHOT_DIR "/editor-main-window.png"));
}

// The save dialog shows the folder as a folder: a name typed after it lands
// in it. A save that fails says why.
TEST_F(OnScreenEditor, SavesUnderTheNameTypedInTheFolderShownAndSaysWhyASaveFailed) {
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  const fs::path levels = Folder() / "levels";
  fs::create_directory(levels);
  fs::copy_file(SharedPath("wads/wolf.wad"), levels / "wolf.wad");
  setenv(vcl::kStartFolderVariable, levels.c_str(), 1);
  OpenTyped("wolf.wad");
  ASSERT_EQ(Form().ListBox1->GetItems()->GetCount(), static_cast<int>(Main().wadfile.numMoveables()));

  auto save = [&](const std::string& keys, const std::string& typed, const std::string& caption) {
    WhenShown dialog("the save dialog", ModalTitled("Save WAD File..."), [&](Fl_Window& window) {
      const ScreenPoint at = ScreenOrigin(window);
      person::MoveTo(at.x + window.w() / 2, at.y + window.h() / 2);
      person::Keys(keys);
      person::Type(typed);
      person::Keys("Return");
    });
    std::string said;
    std::unique_ptr<WhenShown> box = ClickOkOn(caption, said);
    User::ChooseMenuItem(Form().SaveWad1);
    EXPECT_EQ(dialog.Failure(), "");
    EXPECT_EQ(box->Failure(), "");
    return said;
  };

  EXPECT_EQ(save("End", "copy", "Ulvo Dide Rizid"), "File Saved");
  WadFile copy;
  EXPECT_EQ(ReadWad((levels / "copy.wad").string(), copy), 1);
  EXPECT_FALSE(fs::exists(Folder() / "levelscopy.wad"));

  const fs::path missing = levels / "missing" / "x.wad";
  EXPECT_EQ(save("ctrl+a BackSpace", "missing/x", "Error"),
            "The file could not be written: " + missing.string() + "\n" + std::strerror(ENOENT));
  EXPECT_EQ(Main().captionText, String::FromUtf8((levels / "copy.wad").string()));
}

// Letters typed into a numeric field are never stored; while the keyframe
// field holds letters or a number past the end, the view keeps drawing.
TEST_F(OnScreenEditor, LettersInNumericFieldsChangeNothingAndTheViewKeepsDrawing) {
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  RecordingMessageService messages;
  ScopedMessageService messageScope(messages);
  vcl::ScriptedFileDialogs dialogs;
  vcl::ScopedFileDialogService dialogScope(dialogs);
  dialogs.Answer(String::FromUtf8(SharedPath("wads/wolf.wad").string()));
  User::ChooseMenuItem(Form().OpenLevel1);
  MainUnit& M = Main();

  // A keyframe whose root offset is not 0, the value a typo once became.
  int moveable = -1, animation = 0, keyFrame = 0;
  for (std::uint32_t m = 0; m < M.wadfile.numMoveables() && moveable < 0; ++m)
    for (std::uint32_t a = 0; a < CountMoveableAnimations(M.wadfile, m) && moveable < 0; ++a) {
      const std::size_t global = static_cast<std::size_t>(M.wadfile.moveables[m].animIndex) + a;
      const auto& frames = M.animaciones[global]->keyFrames;
      for (std::size_t k = 0; k < frames.size() && moveable < 0; ++k)
        if (frames[k].rootOffset[0] != 0)
          moveable = static_cast<int>(m), animation = static_cast<int>(a), keyFrame = static_cast<int>(k);
    }
  ASSERT_GE(moveable, 0);
  const int g = M.wadfile.moveables[static_cast<std::size_t>(moveable)].animIndex + animation;
  const std::int16_t stored = M.animaciones[static_cast<std::size_t>(g)]->keyFrames[keyFrame].rootOffset[0];
  User::ChooseItem(Form().ListBox1, moveable);
  User::ChooseItem(Form().ComboBox1, animation);
  User::TypeText(Form().SpinEdit1, IntToStr(keyFrame));
  Frames(2);
  const long drawn = DrawnPixels();
  ASSERT_GT(drawn, 1000);

  auto typeInto = [&](TControl& field, const std::string& text) {
    person::ClickOn(*static_cast<Fl_Group&>(Widget(field)).child(0));
    person::Keys("ctrl+a");
    person::Type(text);
    EXPECT_TRUE(PumpUntil([&] { return field.GetText() == String::FromUtf8(text); })) << text;
  };
  for (const std::string typed : {"zz", "99999"}) {
    typeInto(*Form().SpinEdit1, typed);
    Frames(2);
    EXPECT_EQ(DrawnPixels(), drawn) << typed;  // the same keyframe, drawn the same
  }
  typeInto(*Form().SpinEdit1, std::to_string(keyFrame));

  typeInto(*Form().CSpinEdit1, "abc");
  person::ClickOn(Widget(*Form().Edit8));  // leaves the field
  EXPECT_TRUE(PumpUntil([&] { return Form().CSpinEdit1->GetText() == IntToStr(stored); }));
  User::Click(Form().Button2);  // "Update KeyFrame"
  dialogs.Answer(String::FromUtf8((Folder() / "saved.wad").string()));
  User::ChooseMenuItem(Form().SaveWad1);
  WadFile saved;
  ASSERT_EQ(ReadWad((Folder() / "saved.wad").string(), saved), 1);
  AnimationModel decoded;
  std::uint32_t total = 0;
  DecodeKeyFrames(decoded, saved, total);
  EXPECT_EQ(decoded[static_cast<std::size_t>(g)]->keyFrames[keyFrame].rootOffset[0], stored);
}

// The Dide Command Editor's type list, a short drop-down list: it opens
// filled from the top with the chosen type in view; on the closed box Up and
// Down step the type as a click would, so the editor shows that type's
// fields, and Alt+Down opens it. Leaves pictures of the open list and of the
// closed box in the build folder: dropdown-open-types.png and
// dropdown-closed.png.
TEST_F(OnScreenEditor, TheCommandTypeListOpensFilledAndTheArrowKeysChooseATypeAsAClickWould) {
  OpenWad(uitest::BuildTestWad());
  ASSERT_TRUE(User::ChooseItem(Form().ListBox1, 0));
  ASSERT_TRUE(User::ChooseItem(Form().ComboBox1, 0));
  person::ClickOn(Widget(*Form().Button8));  // "Dide Commands"
  TForm3& editor = *Main().Form3;
  ASSERT_TRUE(PumpUntil([&] { return editor.GetVisible(); }));
  Fl_Window& window = *vcl::ScreenWindow(editor);
  ASSERT_TRUE(AwaitDrawn(window));
  TComboBox& types = *editor.ComboBox1;
  ASSERT_TRUE(User::ChooseItem(&types, 5));  // "Play Effect", the last

  person::ClickOn(Widget(types));
  ASSERT_TRUE(PumpUntil([] { return Fl::grab() != nullptr; }) && AwaitDrawn(*Fl::grab()));
  Fl_Window& list = *Fl::grab();
  auto* lines = dynamic_cast<Fl_Browser*>(list.child(0));
  ASSERT_NE(lines, nullptr);
  EXPECT_EQ(lines->topline(), 1);
  EXPECT_TRUE(lines->displayed(6));
  EXPECT_EQ(lines->value(), 6);
  const ScreenPoint at = ScreenOrigin(window), listAt = ScreenOrigin(list);
  EXPECT_TRUE(vcl::WriteScreenArea(at.x, at.y, window.w(), std::max(window.h(), listAt.y + list.h() + 8 - at.y),
                                   UI_SCREENSHOT_DIR "/dropdown-open-types.png"));
  person::Keys("Escape");
  ASSERT_TRUE(PumpUntil([] { return Fl::grab() == nullptr; }));

  person::Keys("Up Up");
  EXPECT_TRUE(PumpUntil([&] { return types.GetItemIndex() == 3; }));
  person::Keys("Down");
  EXPECT_TRUE(PumpUntil([&] { return types.GetItemIndex() == 4; }));  // "Play Sound ID"
  EXPECT_TRUE(editor.RadioGroup1->GetVisible());
  EXPECT_FALSE(editor.ComboBox2->GetVisible());
  EXPECT_TRUE(vcl::WriteScreenshot(editor, UI_SCREENSHOT_DIR "/dropdown-closed.png"));
  person::Keys("alt+Down");
  EXPECT_TRUE(PumpUntil([] { return Fl::grab() != nullptr; }));
  person::Keys("Escape");
  EXPECT_TRUE(PumpUntil([] { return Fl::grab() == nullptr; }));
  window.do_callback();  // the close box
}

// Played on screen, where frames are presented at the display's refresh
// (the virtual display is taken as refreshing at 60 Hz), an animation steps
// every frame rate x 25 ms: 40 keyframes a second at frame rate 1, 10 at
// frame rate 4. Prints the rates measured.
TEST_F(OnScreenEditor, PlaybackKeepsTheAnimationsPeriodAtTheDisplaysRefresh) {
  WadFile wad = uitest::BuildTestWad();
  wad.animations[0].frameRate = 1;  // the plate's three keyframes
  wad.animations[2].frameRate = 4;  // the small square's two
  OpenWad(wad);
  const vcl::PanelWindow& view = Form().Panel1->Window();
  for (const auto& [moveable, frameRate] : {std::pair{0, 1}, std::pair{1, 4}}) {
    ASSERT_TRUE(User::ChooseItem(Form().ListBox1, moveable));
    ASSERT_TRUE(User::ChooseItem(Form().ComboBox1, 0));
    if (moveable == 0) User::Click(Form().Button1);  // Play
    Frames(3);
    const int framesBefore = view.FrameCount();
    const std::chrono::duration<double, std::milli> period(frameRate * 25);
    int steps = 0;
    // Time between frames that came within a period of the one before: each
    // period of it is a step. A frame later than that steps once and may drop
    // what it was late by, so a machine that draws slowly is held only to
    // what its frames on time allow.
    std::chrono::duration<double, std::milli> onTime{};
    const auto start = std::chrono::steady_clock::now();
    auto last = start;
    std::chrono::duration<double> played{};
    while ((played = last - start) < 2s) {
      const String shown = Form().SpinEdit1->GetText();
      Frames(1);
      steps += Form().SpinEdit1->GetText() != shown ? 1 : 0;
      const auto now = std::chrono::steady_clock::now();
      if (now - last <= period) onTime += now - last;
      last = now;
    }
    const double seconds = played.count(), frames = view.FrameCount() - framesBefore;
    const double expected = seconds * 1000.0 / period.count(), allowed = onTime / period;
    std::printf("frame rate %d: %.1f keyframes a second (%.1f expected, %.1f allowed by the frames on time) at "
                "%.1f frames a second\n",
                frameRate, steps / seconds, expected / seconds, allowed / seconds, frames / seconds);
    EXPECT_LE(steps, expected + 1) << frameRate;
    // A few steps go to the ends of the run and to frames the test's clock
    // and the editor's put on different sides of a period. A step taken only
    // when a whole period has passed since the last, the rest dropped, comes
    // every other frame at 60 Hz: 30 a second at frame rate 1, not 40.
    EXPECT_GE(steps, allowed - 3) << frameRate;
  }
}

// File, Exit, chosen with the mouse from the open menu, ends the run as the
// close box does.
TEST_F(OnScreenEditor, FileExitClosesTheMainWindow) {
  bool closed = false;
  Form().OnClose = [&closed](TObject*, TCloseAction&) { closed = true; };
  Fl_Menu_Bar* bar = vcl::ScreenMenuBar(Form());
  // The File title, then the lowest item of the menu it opens.
  Fl::add_timeout(0.1, [](void* data) {
    auto* menuBar = static_cast<Fl_Menu_Bar*>(data);
    const ScreenPoint at = ScreenOrigin(*menuBar->window());
    person::Click(at.x + menuBar->x() + 12, at.y + menuBar->y() + menuBar->h() / 2);
  }, bar);
  WhenShown menu("the File menu", InputHoldingPopup(), [](Fl_Window& items) {
    AwaitDrawn(items);
    const ScreenPoint at = ScreenOrigin(items);
    person::Click(at.x + items.w() / 2, at.y + items.h() - 8);
  });
  Application->Run();
  EXPECT_EQ(menu.Failure(), "");
  EXPECT_TRUE(closed);
  EXPECT_FALSE(Form().Visible);
}

// Each caption, measured in the font it is drawn in, fits its control, and a
// label's text touches no other control.
TEST_F(OnScreenEditor, EveryCaptionOfTheLayoutShowsWhole) {
  struct Placed {
    const TControl* control;
    int left, top, right, bottom;  // on the form, in client pixels
  };
  std::vector<Placed> controls;
  std::function<void(const TWinControl&)> collect = [&](const TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
      const TControl* control = parent.Controls(i);
      if (!control->GetVisible()) continue;
      const POINT at = control->ClientOrigin();
      const POINT form = Form().ClientOrigin();
      controls.push_back({control, at.x - form.x, at.y - form.y, at.x - form.x + control->GetWidth(),
                          at.y - form.y + control->GetHeight()});
      if (auto* inner = dynamic_cast<const TWinControl*>(control)) collect(*inner);
    }
  };
  collect(Form());
  for (const Placed& placed : controls) {
    const TControl& control = *placed.control;
    const std::string caption = control.GetText().ToUtf8();
    const Fl_Widget& widget = *vcl::ScreenWidget(control);
    const int width = static_cast<int>(std::ceil(TextWidth(caption, widget.labelfont(), widget.labelsize())));
    const int room = control.GetWidth();
    if (dynamic_cast<const TButton*>(&control)) {
      EXPECT_LE(width + 4, room) << caption;
    } else if (dynamic_cast<const TCheckBox*>(&control) || dynamic_cast<const TRadioButton*>(&control)) {
      EXPECT_LE(width + widget.labelsize() + 4, room) << caption;  // the box or dot, and a gap
    } else if (dynamic_cast<const TGroupBox*>(&control)) {
      EXPECT_LE(width + 16, room) << caption;  // indented from the frame's corner
    } else if (dynamic_cast<const TLabel*>(&control)) {
      const Placed text{&control, placed.left, placed.top, placed.left + width, placed.bottom};
      for (const Placed& other : controls) {
        if (other.control == &control || dynamic_cast<const TGroupBox*>(other.control)) continue;
        const bool overlaps = text.left < other.right && other.left < text.right &&
                              text.top < other.bottom && other.top < text.bottom;
        EXPECT_FALSE(overlaps) << caption << " runs into " << other.control->GetText().ToUtf8();
      }
    }
  }
}

}  // namespace
