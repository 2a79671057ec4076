// The toolkit's windows driven by real X input on a virtual display of their
// own: the drop-down list, message boxes, the file choosers; and what shows
// without input: a disabled track bar, frames paced by the display's refresh.
// Skips when Xvfb or xdotool is missing.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <FL/Fl.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

#include "ScreenInput.h"
#include "ScreenPixels.h"
#include "TempFiles.h"
#include "TestForm.h"
#include "vcl/DialogPaths.h"
#include "vcl/Metrics.h"
#include "vcl/Screen.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;
using Log = std::vector<std::string>;

// The first widget of a type in a window, at any depth.
template <class W>
W* Find(Fl_Group& group) {
  for (int i = 0; i < group.children(); ++i) {
    if (auto* found = dynamic_cast<W*>(group.child(i))) return found;
    if (Fl_Group* inner = group.child(i)->as_group())
      if (W* found = Find<W>(*inner)) return found;
  }
  return nullptr;
}

class ScreenInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_PRIVATE_DISPLAY();
    std::unique_ptr<vcl::Backend> backend = vcl::CreateScreenBackend();
    if (!backend) GTEST_SKIP() << "the virtual display cannot be opened";
    application_ = std::make_unique<TApplication>(std::move(backend));
    form = ShowForm(120, 90);
    deadline_ = std::make_unique<Deadline>(60s);
  }

  void TearDown() override {
    if (deadline_) {
      EXPECT_FALSE(deadline_->Passed()) << "the input went astray";
    }
  }

  TestForm* ShowForm(int left, int top) {
    TestForm* shown = nullptr;
    Application->CreateForm(&shown);
    shown->Left = left;
    shown->Top = top;
    shown->Show();
    EXPECT_TRUE(AwaitDrawn(*vcl::ScreenWindow(*shown)));
    return shown;
  }

  TNotifyEvent Record(const std::string& entry) {
    return [this, entry](TObject*) { log.push_back(entry); };
  }

  TestForm* form = nullptr;
  Log log;

 private:
  std::unique_ptr<TApplication> application_;
  std::unique_ptr<Deadline> deadline_;
};

// A list of 648 lines, more than a menu could show on any screen, opens as a
// few rows under the field; any line is reached in a few moves.
TEST_F(ScreenInputTest, ADropDownOpensAShortScrollingListThatKeysWheelAndTypingDrive) {
  TComboBox* combo = form->ComboBox1;
  combo->Style = csDropDownList;
  const int count = 648;
  for (int i = 0; i < count; ++i) combo->AddItem(String(L"Animation #") + IntToStr(i), nullptr);
  combo->OnClick = Record("click");
  combo->OnChange = Record("change");
  Fl_Widget* field = vcl::ScreenWidget(*combo);
  const ScreenPoint formOrigin = ScreenOrigin(*field->window());

  // Clicks the field; the list that opened, or null.
  auto open = [&]() -> Fl_Window* {
    person::ClickOn(*field);
    if (!PumpUntil([] { return Fl::grab() != nullptr; }) || !AwaitDrawn(*Fl::grab())) return nullptr;
    return Fl::grab();
  };
  // Keys pressed in the open list; true once it has closed.
  auto keys = [&](const std::string& names) {
    person::Keys(names);
    return PumpUntil([] { return Fl::grab() == nullptr; });
  };
  auto chosenAfter = [&](const std::string& names) {
    EXPECT_NE(open(), nullptr);
    EXPECT_TRUE(keys(names)) << names;
    return combo->ItemIndex.Get();
  };

  Fl_Window* list = open();
  ASSERT_NE(list, nullptr);
  Fl_Browser* lines = Find<Fl_Browser>(*list);
  ASSERT_NE(lines, nullptr);
  const ScreenPoint at = ScreenOrigin(*list);
  EXPECT_EQ(at.x, formOrigin.x + field->x());
  EXPECT_EQ(at.y, formOrigin.y + field->y() + field->h());
  EXPECT_EQ(list->w(), field->w());
  EXPECT_EQ(lines->size(), count);
  int rows = 0;
  for (int line = 1; line <= count; ++line) rows += lines->displayed(line) ? 1 : 0;
  EXPECT_GE(rows, 5);
  EXPECT_LE(rows, 12);
  EXPECT_TRUE(lines->scrollbar.visible());
  EXPECT_TRUE(keys("End Return"));
  EXPECT_EQ(combo->ItemIndex, count - 1);
  EXPECT_EQ(log, (Log{"click", "change"}));

  // Page Down and Page Up move by the same page of rows, Home and End to the ends.
  const int page = chosenAfter("Home Next Return");
  EXPECT_GE(page, 2);
  EXPECT_LE(page, rows);
  EXPECT_EQ(chosenAfter("Next Return"), 2 * page);
  EXPECT_EQ(chosenAfter("Prior Down Down Up Return"), page + 1);

  // Typing finds a line by its words: "647" is the last, "3" the fourth.
  EXPECT_NE(open(), nullptr);
  person::Type("647");
  EXPECT_TRUE(keys("Return"));
  EXPECT_EQ(combo->ItemIndex, 647);
  EXPECT_NE(open(), nullptr);
  person::Type("3");
  EXPECT_TRUE(keys("Return"));
  EXPECT_EQ(combo->ItemIndex, 3);

  // The wheel scrolls three rows a notch; Escape and a click elsewhere close
  // it, choosing nothing.
  log.clear();
  list = open();
  ASSERT_NE(list, nullptr);
  lines = Find<Fl_Browser>(*list);
  const int top = lines->topline();
  const ScreenPoint listAt = ScreenOrigin(*list);
  person::Wheel(listAt.x + list->w() / 2, listAt.y + list->h() / 2, 3);
  EXPECT_TRUE(PumpUntil([&] { return lines->topline() == top + 9; })) << top << " " << lines->topline();
  EXPECT_TRUE(keys("Escape"));
  EXPECT_NE(open(), nullptr);
  person::Click(formOrigin.x + 390, formOrigin.y + 290);
  EXPECT_TRUE(PumpUntil([] { return Fl::grab() == nullptr; }));
  EXPECT_EQ(combo->ItemIndex, 3);
  EXPECT_TRUE(log.empty());

  // A click on a line chooses it: here the top one shown.
  list = open();
  ASSERT_NE(list, nullptr);
  const int topLine = Find<Fl_Browser>(*list)->topline();
  const ScreenPoint clickAt = ScreenOrigin(*list);
  person::Click(clickAt.x + list->w() / 3, clickAt.y + 5);
  EXPECT_TRUE(PumpUntil([] { return Fl::grab() == nullptr; }));
  EXPECT_EQ(combo->ItemIndex, topLine - 1);
  EXPECT_EQ(log, (Log{"click", "change"}));
}

// The closed list is drawn as the desktop draws one: a white field beside a
// grey button with a dark arrow.
TEST_F(ScreenInputTest, AClosedDropDownListIsAFieldWithAnArrowButton) {
  form->ComboBox1->Style = csDropDownList;
  Fl_Widget* box = vcl::ScreenWidget(*form->ComboBox1);
  Fl_Window* window = vcl::ScreenWindow(*form);
  Fl::flush();
  const std::array<int, 3> field = PixelAt(window, box->x() + box->w() / 2, box->y() + box->h() / 2);
  const std::array<int, 3> button = PixelAt(window, box->x() + box->w() - 3, box->y() + 3);
  EXPECT_GE(*std::min_element(field.begin(), field.end()), 240);
  EXPECT_LT(*std::max_element(button.begin(), button.end()), 235);
  EXPECT_LT(DarkestIn(window, box->x() + box->w() - 14, box->y() + 4, 11, box->h() - 8), 96);
}

// '@' starts one of the toolkit's symbols and '&' a shortcut mark in its
// labels; a message box shows both as written, over the window that raised it.
TEST_F(ScreenInputTest, AMessageBoxShowsItsTextExactlyOverTheWindowThatRaisedIt) {
  TestForm* second = ShowForm(520, 380);
  second->Button1->OnClick = Record("clicked");
  person::ClickOn(*vcl::ScreenWidget(*second->Button1));
  ASSERT_TRUE(PumpUntil([this] { return !log.empty(); }));

  const std::string text = "Saved to /tmp/a@b/c&d.wad @-> 100%";
  int drawnWidth = -1, plainWidth = 0, boxWidth = 0;
  ScreenPoint boxCentre;
  WhenShown box("the message box", ModalTitled("Notice"), [&](Fl_Window& window) {
    const ScreenPoint at = ScreenOrigin(window);
    boxCentre = {at.x + window.w() / 2, at.y + window.h() / 2};
    for (int i = 0; i < window.children(); ++i) {
      auto* label = dynamic_cast<Fl_Box*>(window.child(i));
      if (label == nullptr || label->w() <= boxWidth) continue;
      boxWidth = label->w();
      int height = 0;
      drawnWidth = 0;
      label->measure_label(drawnWidth, height);
      plainWidth = static_cast<int>(std::lround(TextWidth(text, label->labelfont(), label->labelsize())));
    }
    person::ClickOn(*Find<Fl_Return_Button>(window));
  });
  EXPECT_EQ(MessageBoxW(nullptr, String::FromUtf8(text).c_str(), L"Notice", MB_OK | MB_ICONWARNING),
            IDOK);
  ASSERT_EQ(box.Failure(), "");

  EXPECT_NEAR(drawnWidth, plainWidth, 1);
  EXPECT_LE(plainWidth, boxWidth);
  Fl_Window* raiser = vcl::ScreenWindow(*second);
  const ScreenPoint raiserAt = ScreenOrigin(*raiser);
  EXPECT_NEAR(boxCentre.x, raiserAt.x + raiser->w() / 2, 1);
  EXPECT_NEAR(boxCentre.y, raiserAt.y + raiser->h() / 2, 1);
}

// A box is wide enough for its caption too, set as title bars set it (the
// desktop's sans face, bold, 9 points) beside the window's icon and three
// buttons about as wide as the bar is high.
TEST_F(ScreenInputTest, AMessageBoxIsWideEnoughForItsCaption) {
  Fl::set_font(FL_FREE_FONT + 1, "BDejaVu Sans");
  for (const char* caption : {"Ulvo Dide Rizid", "A caption far longer than the text below it"}) {
    WhenShown box("the box", ModalTitled(caption), [&](Fl_Window& window) {
      EXPECT_GE(window.w(), TextWidth(caption, FL_FREE_FONT + 1, 12) + 4 * vcl::kCaptionHeight) << caption;
      person::ClickOn(*Find<Fl_Return_Button>(window));
    });
    MessageBoxW(nullptr, L"File Saved", String::FromUtf8(caption).c_str(), MB_OK);
    EXPECT_EQ(box.Failure(), "");
  }
}

// Names typed into the toolkit's own chooser (what a display without a
// desktop shows) name the file the dialog rules give: within the folder shown.
TEST_F(ScreenInputTest, FileDialogsTakeTypedNamesWithinTheFolderTheyShow) {
  vcl::UseToolkitFileChooser();
  const fs::path root = UniqueTempPath("choosers", "");
  for (const char* folder : {"wads", "out", "elsewhere"}) fs::create_directories(root / folder);
  for (const char* name : {"a.wad", "b.wad"}) std::ofstream(root / "wads" / name) << "WAD";
  setenv(vcl::kStartFolderVariable, (root / "wads").c_str(), 1);
  fs::current_path(root / "elsewhere");  // the program's working folder is another

  int filterWidth = 0, filterRoom = 0;
  // Runs the dialog with the keys pressed and the text typed into it; the
  // name it answers with, or empty when cancelled.
  auto run = [&](TOpenDialog* dialog, const std::string& keys, const std::string& typed) {
    WhenShown chooser("the file dialog", ModalTitled(dialog->Title.Get().ToUtf8()),
                      [&](Fl_Window& window) {
      if (auto* filters = Find<Fl_Choice>(window)) {
        filterWidth = static_cast<int>(TextWidth(filters->text(), filters->textfont(), filters->textsize()));
        filterRoom = filters->w() - filters->h();  // less the arrow's square
      }
      const ScreenPoint at = ScreenOrigin(window);
      person::MoveTo(at.x + window.w() / 2, at.y + window.h() / 2);
      if (!keys.empty()) person::Keys(keys);
      // Each line is typed and entered.
      std::istringstream lines(typed);
      for (std::string line; std::getline(lines, line);) {
        person::Type(line);
        person::Keys("Return");
      }
    });
    const bool chosen = dialog->Execute();
    EXPECT_EQ(chooser.Failure(), "") << typed;
    return chosen ? fs::path(dialog->FileName.Get().ToUtf8()) : fs::path();
  };

  TOpenDialog* open = form->OpenDialog1;
  open->Title = L"Open WAD File";
  open->Filter = L"Tomb Raider WAD File|*.wad";
  // The first dialog starts in the start folder; a bare name is found there.
  EXPECT_EQ(run(open, "", "a.wad"), root / "wads" / "a.wad");
  EXPECT_LE(filterWidth, filterRoom);
  // Typed over the preselected name: a path relative to the folder shown.
  EXPECT_EQ(run(open, "", "../wads/b.wad"), root / "wads" / "b.wad");
  // A full path typed into the emptied field, from its leading separator.
  EXPECT_EQ(run(open, "ctrl+a BackSpace", (root / "wads" / "a.wad").string()),
            root / "wads" / "a.wad");

  auto* save = new TSaveDialog(form);
  save->Title = L"Save WAD File...";
  save->Filter = L"Tomb Raider WAD Files|*.wad";
  save->InitialDir = String::FromUtf8((root / "out").string());
  // The field starts with the folder as a folder: a name typed after it lands in it.
  EXPECT_EQ(run(save, "End", "new"), root / "out" / "new");
  // The preset name, typed over, is replaced within its folder.
  EXPECT_EQ(run(save, "", "renamed"), root / "out" / "renamed");
  // A folder typed and entered is opened; the name typed next lands in it.
  EXPECT_EQ(run(save, "ctrl+a BackSpace", std::string("../wads") + "\n" + "kept"),
            root / "wads" / "kept");

  unsetenv(vcl::kStartFolderVariable);
  fs::current_path(root.parent_path());
  fs::remove_all(root);
}

// Disabled, the track bar's thumb fades with its ticks.
TEST_F(ScreenInputTest, ADisabledTrackBarIsDrawnDisabled) {
  TTrackBar& bar = *form->TrackBar1;
  Fl_Widget* widget = vcl::ScreenWidget(bar);
  Fl_Window* window = vcl::ScreenWindow(*form);
  // Along the thumb, on the side away from the ticks.
  auto darkestOfThumb = [&] {
    Fl::flush();
    return DarkestIn(window, widget->x(), widget->y() + bar.ThumbCentre() - TTrackBar::kThumbLength,
                     widget->w() / 2, 2 * TTrackBar::kThumbLength);
  };
  const int enabled = darkestOfThumb();
  bar.Enabled = false;
  const int disabled = darkestOfThumb();
  EXPECT_GT(disabled, enabled + 24);
}

// On screen a presented frame waits for the display's next refresh (the
// virtual display reports no rate and is taken as refreshing at 60 Hz).
TEST_F(ScreenInputTest, FramesPresentedOnScreenWaitForTheDisplaysRefresh) {
  HWND panel = form->Panel1->Handle;
  const int width = form->Panel1->Width, height = form->Panel1->Height;
  const std::vector<std::uint32_t> frame(static_cast<size_t>(width) * height, 0xFF336699u);
  const int frames = 31;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) panel->ShowFrame(frame.data(), width, height, width * 4);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took.count(), (frames - 1) / 60.0 * 0.98);
}

}  // namespace
