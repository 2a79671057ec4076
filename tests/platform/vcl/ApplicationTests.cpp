// The application object and forms: creation order, the run loop and idle
// time, showing, closing, enabling and focus, and exceptions from handlers.

#include "FormFixture.h"
#include "vcl/Metrics.h"

namespace {

Log creationLog;

// A form that notes when it is built and when its OnCreate runs.
class NotingForm : public TForm {
 public:
  explicit NotingForm(TComponent* owner) : TForm(owner) {
    creationLog.push_back("constructed");
    OnCreate = [this](TObject* sender) {
      creationLog.push_back(sender == this && created == this ? "created, reference set" : "?");
    };
  }
  static NotingForm* created;
};
NotingForm* NotingForm::created = nullptr;

}  // namespace

TEST(Application, CreatesFormsAndMakesTheFirstTheMainForm) {
  vcl::HeadlessDesktop desktop;
  creationLog.clear();
  TForm* second = nullptr;
  Application->CreateForm(&NotingForm::created);
  Application->CreateForm(&second);
  EXPECT_EQ(creationLog, (Log{"constructed", "created, reference set"}));
  EXPECT_EQ(Application->MainForm.Get(), NotingForm::created);
  EXPECT_FALSE(NotingForm::created->Visible);
}

TEST(Application, RunsIdleTimeUntilTheMainFormCloses) {
  vcl::HeadlessDesktop desktop;
  TForm* main = nullptr;
  Application->CreateForm(&main);
  int shows = 0, idles = 0;
  main->OnShow = [&](TObject*) { ++shows; };
  Application->OnIdle = [&](TObject*, bool& done) {
    done = false;  // called again at once
    if (++idles == 5) main->Close();
  };
  Application->Run();
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(idles, 5);
  EXPECT_TRUE(Application->Terminated);
  EXPECT_FALSE(main->Visible);
}

TEST(Application, WithoutADisplayRunEndsWhenIdleTimeIsDone) {
  vcl::HeadlessDesktop desktop;
  TForm* main = nullptr;
  Application->CreateForm(&main);
  int idles = 0;
  Application->OnIdle = [&](TObject*, bool& done) { done = ++idles == 3; };
  Application->Run();
  EXPECT_EQ(idles, 3);
  EXPECT_TRUE(main->Visible);
}

TEST(Application, ShowsEveryKindOfExceptionFromIdleTimeAndGoesOn) {
  vcl::HeadlessDesktop desktop;
  int calls = 0;
  Application->OnIdle = [&](TObject*, bool& done) {
    done = false;
    ++calls;
    if (calls == 1) throw EConvertError(L"bad number");
    if (calls == 2) throw std::runtime_error("out of range");
    if (calls == 3) throw 42;
  };
  // After an exception the round counts as done.
  EXPECT_TRUE(Application->Idle());
  EXPECT_TRUE(Application->Idle());
  EXPECT_TRUE(Application->Idle());
  EXPECT_FALSE(Application->Idle());
  const auto& boxes = desktop.messages.Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, L"bad number");
  EXPECT_EQ(boxes[1].text, L"out of range");
  EXPECT_EQ(boxes[2].text, L"");
}

TEST(Application, AnExceptionFromOnCreateReachesTheCaller) {
  vcl::HeadlessDesktop desktop;
  struct FailingForm : TForm {
    explicit FailingForm(TComponent* owner) : TForm(owner) {
      OnCreate = [](TObject*) { throw Exception(L"no device"); };
    }
  };
  FailingForm* form = nullptr;
  EXPECT_THROW(Application->CreateForm(&form), Exception);
  EXPECT_NE(form, nullptr);
  EXPECT_TRUE(desktop.messages.Boxes().empty());
}

using FormBehaviour = FormTest;

TEST_F(FormBehaviour, ShowRunsOnShowOnceBeforeItReturns) {
  TForm* other = nullptr;
  Application->CreateForm(&other);
  other->OnShow = [&](TObject*) { log.push_back(other->Visible ? "shown" : "hidden"); };
  other->Show();
  log.push_back("after show");
  other->Show();
  other->Hide();
  other->Visible = true;
  EXPECT_EQ(log, (Log{"shown", "after show", "shown"}));
}

TEST_F(FormBehaviour, CloseAsksOnCloseThenHides) {
  TCloseAction answer = caNone;
  form->OnClose = [&](TObject*, TCloseAction& action) {
    log.push_back(action == caHide ? "asked, hide offered" : "?");
    action = answer;
  };
  EXPECT_TRUE(User::CloseWindow(form));
  EXPECT_TRUE(form->Visible);
  answer = caHide;
  User::CloseWindow(form);
  EXPECT_FALSE(form->Visible);
  EXPECT_TRUE(Application->Terminated);  // the test form is the main form
  EXPECT_EQ(log, (Log{"asked, hide offered", "asked, hide offered"}));
}

// A window that opens another disables itself: it takes no input then, while
// the program's own calls on it still work.
TEST_F(FormBehaviour, ADisabledFormTakesNoUserInput) {
  form->Button1->OnClick = Record("click");
  form->OnClose = [this](TObject*, TCloseAction&) { log.push_back("close"); };
  form->Enabled = false;
  EXPECT_FALSE(User::Click(form->Button1));
  EXPECT_FALSE(User::TypeText(form->Edit1, L"x"));
  EXPECT_FALSE(User::CloseWindow(form));
  form->Edit1->Text = L"set by the program";
  form->Button1->OnClick(nullptr);  // handlers can be called with no sender
  EXPECT_EQ(form->Edit1->Text.Get(), String(L"set by the program"));

  form->Enabled = true;
  form->Hide();
  EXPECT_FALSE(User::Click(form->Button1));
  EXPECT_EQ(log, Log{"click"});
}

TEST_F(FormBehaviour, FocusControlMovesTheFocusAndTheFieldLeftIsPutRight) {
  form->SpinEdit1->MinValue = 1;
  form->SpinEdit1->MaxValue = 5;
  User::TypeText(form->SpinEdit1, L"0");
  EXPECT_EQ(form->ActiveControl.Get(), form->SpinEdit1);
  form->FocusControl(nullptr);
  EXPECT_EQ(form->ActiveControl.Get(), nullptr);
  EXPECT_EQ(form->SpinEdit1->Text.Get(), String(L"1"));
}

TEST_F(FormBehaviour, OuterSizeAddsTheFrameTitleAndMenuBar) {
  EXPECT_EQ(form->ClientWidth, 400);
  EXPECT_EQ(form->Width, 400 + 2 * vcl::kFrameWidth);
  EXPECT_EQ(form->Height, 300 + vcl::kCaptionHeight + 2 * vcl::kFrameWidth + vcl::kMenuBarHeight);
  form->Menu = nullptr;
  EXPECT_EQ(form->ClientHeight, 300);
  EXPECT_EQ(form->Height, 300 + vcl::kCaptionHeight + 2 * vcl::kFrameWidth);
  form->Width = 500;
  EXPECT_EQ(form->ClientWidth, 500 - 2 * vcl::kFrameWidth);
}

TEST_F(FormBehaviour, OnlyAShownFormIsAskedToPaint) {
  form->OnPaint = Record("paint");
  EXPECT_TRUE(User::PaintWindow(form));
  form->Hide();
  EXPECT_FALSE(User::PaintWindow(form));
  EXPECT_EQ(log, Log{"paint"});
}
