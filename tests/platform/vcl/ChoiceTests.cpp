// Check boxes, radio buttons, list boxes and combo boxes: which changes fire
// events, in what order, and what the user's choices select.

#include "FormFixture.h"

using ChoiceTest = FormTest;

TEST_F(ChoiceTest, CheckBoxFiresClickOnlyOnARealChange) {
  form->CheckBox1->OnClick = [this](TObject*) {
    log.push_back(form->CheckBox1->Checked ? "checked" : "unchecked");
  };
  form->CheckBox1->Checked = false;
  form->CheckBox1->Checked = true;
  form->CheckBox1->Checked = true;
  User::Click(form->CheckBox1);
  User::Click(form->CheckBox1);
  EXPECT_EQ(log, (Log{"checked", "unchecked", "checked"}));
}

TEST_F(ChoiceTest, RadioButtonsExcludeTheirSiblingsOnly) {
  form->RadioButton1->OnClick = Record("first");
  form->RadioButton2->OnClick = Record("second");
  form->RadioButton3->OnClick = Record("third");
  form->RadioButton1->Checked = true;
  form->RadioButton3->Checked = true;  // in the group box: another parent
  EXPECT_TRUE(form->RadioButton1->Checked);

  User::Click(form->RadioButton2);
  EXPECT_FALSE(form->RadioButton1->Checked);
  EXPECT_TRUE(form->RadioButton2->Checked);
  EXPECT_TRUE(form->RadioButton3->Checked);

  // Clicking the checked one changes nothing; unchecking fires nothing.
  User::Click(form->RadioButton2);
  form->RadioButton2->Checked = false;
  EXPECT_EQ(log, (Log{"first", "third", "second"}));
}

TEST_F(ChoiceTest, ListBoxFiresClickOnlyForTheUsersChoice) {
  TListBox* list = form->ListBox1;
  list->OnClick = [this](TObject*) { log.push_back("click " + std::to_string(form->ListBox1->ItemIndex)); };
  for (int i = 0; i < 3; ++i) list->AddItem(IntToStr(i) + L"-Lara", nullptr);
  list->ItemIndex = 1;
  list->ItemIndex = 7;
  EXPECT_EQ(list->ItemIndex, -1);

  EXPECT_TRUE(User::ChooseItem(list, 2));
  EXPECT_TRUE(User::ChooseItem(list, 2));
  EXPECT_FALSE(User::ChooseItem(list, 3));
  EXPECT_EQ((*list->Items)[2], String(L"2-Lara"));
  EXPECT_THROW((*list->Items)[3], Exception);

  list->Clear();
  EXPECT_EQ(list->ItemIndex, -1);
  EXPECT_EQ(list->Items->Count, 0);
  EXPECT_EQ(log, (Log{"click 2", "click 2"}));
}

TEST_F(ChoiceTest, ComboBoxChoiceFiresClickThenChangeAndTypingFiresChange) {
  TComboBox* combo = form->ComboBox1;
  combo->OnClick = [this](TObject*) { log.push_back("click " + std::to_string(form->ComboBox1->ItemIndex)); };
  combo->OnChange = [this](TObject*) { log.push_back("change " + form->ComboBox1->Text.Get().ToUtf8()); };
  for (int i = 0; i < 3; ++i) combo->Items->Add(L"Animation #" + IntToStr(i));

  User::ChooseItem(combo, 1);
  User::TypeText(combo, L"Animation #9");
  EXPECT_EQ(combo->ItemIndex, 1);
  EXPECT_EQ(log, (Log{"click 1", "change Animation #1", "change Animation #9"}));
}

TEST_F(ChoiceTest, ComboBoxProgramCallsFireNothing) {
  TComboBox* combo = form->ComboBox1;
  combo->OnClick = Record("click");
  combo->OnChange = Record("change");
  combo->Items->Add(L"a");
  combo->Items->Add(L"b");
  combo->ItemIndex = 1;
  EXPECT_EQ(combo->Text.Get(), String(L"b"));
  combo->ItemIndex = 2;
  EXPECT_EQ(combo->ItemIndex, -1);
  EXPECT_EQ(combo->Text.Get(), String());
  combo->Text = L"typed by the program";
  combo->ItemIndex = 0;
  combo->Clear();
  EXPECT_EQ(combo->ItemIndex, -1);
  EXPECT_EQ(combo->Text.Get(), String());
  EXPECT_TRUE(log.empty());
}

TEST_F(ChoiceTest, DropDownListComboRefusesTyping) {
  TComboBox* combo = form->ComboBox1;
  combo->Style = csDropDownList;
  combo->Items->Add(L"Die");
  combo->OnChange = Record("change");
  EXPECT_FALSE(User::TypeText(combo, L"Die"));
  EXPECT_TRUE(User::ChooseItem(combo, 0));
  EXPECT_EQ(combo->Text.Get(), String(L"Die"));
  EXPECT_EQ(log, Log{"change"});
}
