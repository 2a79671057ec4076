// The test form in a real window: toolkit events injected into it reach the
// controls as a person's input would, state set by the program shows on the
// widgets, a presented frame shows in the panel, and a screenshot of the
// window is written as screen-controls.png beside the test.

#include <gtest/gtest.h>

#include <cstring>

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>

#include "ScreenInput.h"
#include "ScreenPixels.h"
#include "TestForm.h"
#include "vcl/Screen.h"
#include "vcl/User.h"

namespace {

using Log = std::vector<std::string>;

// Injects toolkit events as the display would deliver them.
class Injector {
 public:
  explicit Injector(Fl_Window* window) : window_(window) {}

  void Press(int x, int y, int button = FL_LEFT_MOUSE) {
    Mouse(FL_PUSH, x, y, button, FL_BUTTON(button));
  }
  void Drag(int x, int y, int button = FL_LEFT_MOUSE) {
    Mouse(FL_DRAG, x, y, button, FL_BUTTON(button));
  }
  void Release(int x, int y, int button = FL_LEFT_MOUSE) { Mouse(FL_RELEASE, x, y, button, 0); }
  void ClickCentre(Fl_Widget* widget) {
    const int x = widget->x() + widget->w() / 2;
    const int y = widget->y() + widget->h() / 2;
    Press(x, y);
    Release(x, y);
  }
  void Type(const char* text) {
    Fl::e_keysym = static_cast<unsigned char>(text[0]);
    Fl::e_text = const_cast<char*>(text);
    Fl::e_length = static_cast<int>(std::strlen(text));
    Fl::e_state = 0;
    Fl::handle(FL_KEYBOARD, window_);
  }
  void Key(int key) {
    Fl::e_keysym = key;
    Fl::e_text = const_cast<char*>("");
    Fl::e_length = 0;
    Fl::e_state = 0;
    Fl::handle(FL_KEYBOARD, window_);
  }

 private:
  void Mouse(int event, int x, int y, int button, int state) {
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_x_root = window_->x_root() + x;
    Fl::e_y_root = window_->y_root() + y;
    Fl::e_keysym = FL_Button + button;
    Fl::e_state = state;
    Fl::e_clicks = 0;
    Fl::e_is_click = 0;
    Fl::handle(event, window_);
  }

  Fl_Window* window_;
};

// Lets the display catch up.
void Settle() {
  for (int i = 0; i < 20; ++i) Fl::wait(0.01);
  Fl::flush();
}

}  // namespace

TEST(Screen, TheTestFormWorksInARealWindow) {
  SKIP_WITHOUT_PRIVATE_DISPLAY();
  std::unique_ptr<vcl::Backend> backend = vcl::CreateScreenBackend();
  if (!backend) GTEST_SKIP() << "the X display cannot be opened";
  TApplication application(std::move(backend));
  RecordingMessageService messages;  // no modal box may stop the test
  ScopedMessageService messageScope(messages);

  TestForm* form = nullptr;
  Application->CreateForm(&form);
  Log log;
  auto record = [&log](const std::string& entry) { return [&log, entry](TObject*) { log.push_back(entry); }; };
  form->Button1->OnClick = record("button");
  form->CheckBox1->OnClick = record("check");
  form->RadioButton2->OnClick = record("radio 2");
  form->ListBox1->OnClick = record("list");
  form->ComboBox1->OnClick = record("combo click");
  form->ComboBox1->OnChange = record("combo change");
  form->Edit1->OnChange = record("edit");
  form->SpinEdit1->OnChange = record("spin");
  form->TrackBar1->OnChange = record("track");
  form->Open1->OnClick = record("open");
  POINT clicked{-1, -1};
  form->Panel1->OnClick = [&](TObject*) {
    GetCursorPos(&clicked);
    ScreenToClient(form->Panel1->Handle, &clicked);
  };
  for (const wchar_t* line : {L"0-Lara", L"1-Pistols", L"2-Uzi"}) {
    form->ListBox1->AddItem(line, nullptr);
    form->ComboBox1->AddItem(line, nullptr);
  }
  form->RadioButton1->Checked = true;
  int paints = 0;
  form->OnPaint = [&](TObject*) { ++paints; };
  form->Show();
  Fl_Window* window = vcl::ScreenWindow(*form);
  ASSERT_NE(window, nullptr);
  const testsupport::Deadline deadline(std::chrono::seconds(30));
  Settle();
  ASSERT_TRUE(window->shown());
  Injector inject(window);

  // Buttons, check boxes and radio buttons.
  inject.ClickCentre(vcl::ScreenWidget(*form->Button1));
  inject.ClickCentre(vcl::ScreenWidget(*form->CheckBox1));
  inject.ClickCentre(vcl::ScreenWidget(*form->RadioButton2));
  EXPECT_TRUE(form->CheckBox1->Checked);
  EXPECT_FALSE(form->RadioButton1->Checked);
  EXPECT_TRUE(form->RadioButton2->Checked);

  // Typing into the edit, after selecting its text.
  auto* input = static_cast<Fl_Input*>(vcl::ScreenWidget(*form->Edit1));
  inject.ClickCentre(input);
  input->position(0, input->size());
  inject.Type("4");
  inject.Type("2");
  EXPECT_EQ(form->Edit1->Text.Get(), String(L"42"));

  // The second line of the list, and the third item of the combo box.
  Fl_Widget* list = vcl::ScreenWidget(*form->ListBox1);
  inject.Press(list->x() + 20, list->y() + 2 + 13 + 6);
  inject.Release(list->x() + 20, list->y() + 2 + 13 + 6);
  EXPECT_EQ(form->ListBox1->ItemIndex, 1);
  inject.ClickCentre(static_cast<Fl_Group*>(vcl::ScreenWidget(*form->ComboBox1))->child(1));
  inject.Key(FL_Down);
  inject.Key(FL_Down);
  inject.Key(FL_Enter);
  EXPECT_EQ(form->ComboBox1->ItemIndex, 2);

  // The spin edit's up button, then the up arrow key in its field.
  auto* spinBox = static_cast<Fl_Group*>(vcl::ScreenWidget(*form->SpinEdit1));
  inject.ClickCentre(spinBox->child(1));
  EXPECT_EQ(form->SpinEdit1->Value, 1);
  inject.ClickCentre(spinBox->child(0));
  inject.Key(FL_Up);
  EXPECT_EQ(form->SpinEdit1->Value, 2);

  // A drag of the track bar's thumb to the bottom.
  Fl_Widget* bar = vcl::ScreenWidget(*form->TrackBar1);
  const int barX = bar->x() + bar->w() / 2;
  inject.Press(barX, bar->y() + form->TrackBar1->ThumbCentre());
  inject.Drag(barX, bar->y() + bar->h() + 20);
  inject.Release(barX, bar->y() + bar->h() + 20);
  EXPECT_EQ(form->TrackBar1->Position, 360);

  // A click on the panel, and a menu item.
  Fl_Widget* panel = vcl::ScreenWidget(*form->Panel1);
  inject.Press(panel->x() + 150, panel->y() + 120);
  inject.Release(panel->x() + 150, panel->y() + 120);
  EXPECT_EQ(clicked.x, 150);
  EXPECT_EQ(clicked.y, 120);
  Fl_Menu_Bar* menuBar = vcl::ScreenMenuBar(*form);
  ASSERT_NE(menuBar, nullptr);
  menuBar->picked(menuBar->find_item("File/Open"));

  EXPECT_EQ(log, (Log{"button", "check", "radio 2", "edit", "edit", "list", "combo click",
                      "combo change", "spin", "spin", "track", "open"}));

  // State set by the program shows on the widgets.
  form->Edit1->Text = L"set";
  form->ListBox1->ItemIndex = 0;
  form->Button2->Visible = false;
  form->Open1->Enabled = false;
  EXPECT_STREQ(input->value(), "set");
  EXPECT_EQ(static_cast<Fl_Hold_Browser*>(list)->value(), 1);
  EXPECT_FALSE(vcl::ScreenWidget(*form->Button2)->visible());
  EXPECT_FALSE(menuBar->find_item("File/Open")->active());

  // A disabled form takes no clicks.
  const size_t events = log.size();
  form->Enabled = false;
  inject.ClickCentre(vcl::ScreenWidget(*form->Button1));
  form->Enabled = true;
  EXPECT_EQ(log.size(), events);

  // A frame presented into the panel's window shows in the panel.
  const int width = form->Panel1->Width, height = form->Panel1->Height;
  std::vector<std::uint32_t> frame(static_cast<size_t>(width) * height, 0xFF00FFFFu);
  form->Panel1->Handle->ShowFrame(frame.data(), width, height, width * 4);
  Settle();
  EXPECT_EQ(PixelAt(window, panel->x() + 100, panel->y() + 140), (std::array<int, 3>{0, 255, 255}));
  EXPECT_TRUE(vcl::WriteScreenshot(*form, "screen-controls.png"));

  // The run: idle time comes continuously until the close button, pressed
  // while the loop runs, closes the main form.
  int idles = 0;
  Application->OnIdle = [&](TObject*, bool& done) {
    done = false;
    ++idles;
  };
  Fl::add_timeout(0.2, [](void* data) { static_cast<Fl_Window*>(data)->do_callback(); }, window);
  Application->Run();
  EXPECT_GT(idles, 10);
  EXPECT_FALSE(form->Visible);
  EXPECT_TRUE(Application->Terminated);
  EXPECT_GE(paints, 1);
  EXPECT_TRUE(messages.Boxes().empty());
  EXPECT_FALSE(deadline.Passed());
}
