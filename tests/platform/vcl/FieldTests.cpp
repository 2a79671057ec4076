// Edits and spin edits: when their change events fire, what typing may do,
// and how the spin edit reads, clamps and steps its value.

#include "FormFixture.h"

using FieldTest = FormTest;

TEST_F(FieldTest, EditFiresChangeOnlyWhenTheTextReallyChanges) {
  form->Edit1->OnChange = [this](TObject* sender) {
    log.push_back(sender == form->Edit1 ? "change:" + form->Edit1->Text.Get().ToUtf8() : "?");
  };
  form->Edit1->Text = L"5";
  form->Edit1->Text = L"5";
  User::TypeText(form->Edit1, L"5");
  User::TypeText(form->Edit1, L"12");
  form->Edit1->Text = L"";
  EXPECT_EQ(log, (Log{"change:5", "change:12", "change:"}));
}

TEST_F(FieldTest, ReadOnlyAndDigitsOnlyEditsRefuseTypingButNotTheProgram) {
  form->Edit1->OnChange = Record("change");
  form->Edit1->NumbersOnly = true;
  EXPECT_FALSE(User::TypeText(form->Edit1, L"1a"));
  EXPECT_FALSE(User::TypeText(form->Edit1, L"-1"));
  EXPECT_TRUE(User::TypeText(form->Edit1, L"42"));
  EXPECT_EQ(form->Edit1->Text.Get(), String(L"42"));

  form->Edit1->ReadOnly = true;
  EXPECT_FALSE(User::TypeText(form->Edit1, L"7"));
  form->Edit1->Text = L"x1";
  EXPECT_EQ(form->Edit1->Text.Get(), String(L"x1"));
  EXPECT_EQ(log, (Log{"change", "change"}));
}

TEST_F(FieldTest, SpinValueClampsOnlyWhenTheRangeIsNotEmpty) {
  TCSpinEdit* spin = form->SpinEdit1;
  spin->Value = 1000;  // range 0..0: no clamping
  EXPECT_EQ(spin->Value, 1000);
  spin->MinValue = -1;
  spin->MaxValue = 12;
  spin->Value = 13;
  EXPECT_EQ(spin->Value, 12);
  spin->Value = -5;
  EXPECT_EQ(spin->Value, -1);
  EXPECT_EQ(spin->Text.Get(), String(L"-1"));
}

TEST_F(FieldTest, SpinChangingTheRangeKeepsTheValueUntilTheFieldIsLeft) {
  TCSpinEdit* spin = form->SpinEdit1;
  spin->MinValue = -1;
  spin->MaxValue = 20;
  spin->Value = 15;
  spin->OnChange = Record("change");
  spin->MaxValue = 3;
  EXPECT_EQ(spin->Value, 15);
  EXPECT_TRUE(log.empty());

  User::TypeText(spin, L"9");
  User::LeaveField(spin);
  EXPECT_EQ(spin->Text.Get(), String(L"3"));
  EXPECT_EQ(log, (Log{"change", "change"}));
}

// A typo is never taken as a value: while the text is no number the field
// stands for the last number it held, and leaving it shows that number again.
TEST_F(FieldTest, SpinTextThatIsNoNumberKeepsTheLastNumberAndShowsItAgainOnLeaving) {
  TCSpinEdit* spin = form->SpinEdit1;
  spin->MinValue = -1;
  spin->MaxValue = 5;
  spin->Value = 3;
  spin->OnChange = [this](TObject*) { log.push_back(form->SpinEdit1->Text.Get().ToUtf8()); };
  for (const wchar_t* bad : {L"", L"-", L"abc", L"2x", L"99999999999"}) {
    User::TypeText(spin, bad);
    EXPECT_EQ(spin->Value, 3) << String(bad).ToUtf8();
  }
  User::LeaveField(spin);
  EXPECT_EQ(spin->Text.Get(), String(L"3"));
  EXPECT_EQ(log, (Log{"", "-", "abc", "2x", "99999999999", "3"}));

  // Numbers in range stay as typed, the minimum too; the last of them counts.
  User::TypeText(spin, L"-1");
  User::TypeText(spin, L"+4");
  User::TypeText(spin, L"4q");
  User::LeaveField(spin);
  EXPECT_EQ(spin->Text.Get(), String(L"4"));
  User::TypeText(spin, L"-1");
  User::LeaveField(spin);
  EXPECT_EQ(spin->Value, -1);
}

TEST_F(FieldTest, ClickingElsewhereLeavesTheFieldBeforeTheClickIsHandled) {
  TCSpinEdit* spin = form->SpinEdit1;
  spin->MinValue = 0;
  spin->MaxValue = 10;
  spin->OnChange = [this](TObject*) { log.push_back("spin:" + form->SpinEdit1->Text.Get().ToUtf8()); };
  form->Button1->OnClick = Record("button");
  User::TypeText(spin, L"50");
  User::Click(form->Button1);
  EXPECT_EQ(log, (Log{"spin:50", "spin:10", "button"}));
  EXPECT_TRUE(form->Button1->Focused());
}

TEST_F(FieldTest, SpinArrowKeysStepWithinTheRange) {
  TCSpinEdit* spin = form->SpinEdit1;
  spin->MinValue = 0;
  spin->MaxValue = 2;
  spin->Value = 1;
  User::PressKey(spin, VK_UP);
  User::PressKey(spin, VK_UP);
  EXPECT_EQ(spin->Value, 2);
  User::PressKey(spin, VK_DOWN);
  EXPECT_EQ(spin->Value, 1);
}

// A handler that sets a spin edit's value runs the spin edit's handler to its
// end before the setter returns.
TEST_F(FieldTest, SettingAValueRunsTheChangeHandlerBeforeTheSetterReturns) {
  form->SpinEdit1->OnChange = [this](TObject* sender) {
    log.push_back(sender == form->SpinEdit1 ? "spin start" : "?");
    form->Edit1->Text = L"from spin";
    log.push_back("spin end");
  };
  form->Edit1->OnChange = Record("edit");
  form->Button1->OnClick = [this](TObject*) {
    log.push_back("click start");
    form->SpinEdit1->Value = 3;
    log.push_back("click end");
  };
  User::Click(form->Button1);
  EXPECT_EQ(log, (Log{"click start", "spin start", "edit", "spin end", "click end"}));
}

// An exception in a nested handler stops that handler and every handler
// around it, is shown once, and leaves what was done before in place.
TEST_F(FieldTest, AnExceptionInANestedHandlerIsShownOnceAndKeepsTheStepsDone) {
  form->SpinEdit1->OnChange = [this](TObject*) {
    log.push_back("spin");
    StrToInt(form->Edit1->Text);
    log.push_back("spin after conversion");
  };
  form->Button1->OnClick = [this](TObject*) {
    form->CheckBox1->Checked = true;
    form->SpinEdit1->Value = form->SpinEdit1->Value + 7;
    log.push_back("click after spin");
  };
  form->Edit1->Text = L"seven";
  EXPECT_TRUE(User::Click(form->Button1));

  EXPECT_EQ(log, Log{"spin"});
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, L"'seven' is not a valid integer value");
  EXPECT_EQ(Boxes()[0].type & MB_ICONMASK, MB_ICONERROR);
  EXPECT_TRUE(form->CheckBox1->Checked);
  EXPECT_EQ(form->SpinEdit1->Value, 7);

  // The program goes on.
  form->Edit1->Text = L"1";
  User::Click(form->Button1);
  EXPECT_EQ(log, (Log{"spin", "spin", "spin after conversion", "click after spin"}));
  EXPECT_EQ(form->SpinEdit1->Value, 14);
  EXPECT_EQ(Boxes().size(), 1u);
}
