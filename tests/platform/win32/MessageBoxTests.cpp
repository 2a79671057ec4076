// Message boxes go to the installed service, which records them as asked.

#include <gtest/gtest.h>

#include "win32/MessageBox.h"

TEST(MessageBox, RecordsTextCaptionAndStyleAndAnswersOk) {
  RecordingMessageService recorder;
  ScopedMessageService scope(recorder);
  EXPECT_EQ(MessageBoxW(nullptr, L"You can't delete more Key Frames", L"Warning",
                        MB_OK | MB_ICONEXCLAMATION),
            IDOK);
  EXPECT_EQ(MessageBoxW(nullptr, nullptr, nullptr, MB_OK), IDOK);
  EXPECT_EQ(recorder.Boxes(),
            (std::vector<MessageRecord>{
                {L"You can't delete more Key Frames", L"Warning", MB_ICONEXCLAMATION},
                {L"", L"", MB_OK}}));
}

TEST(MessageBox, ScopesRestoreTheServiceBeforeThem) {
  RecordingMessageService outer, inner;
  ScopedMessageService outerScope(outer);
  {
    ScopedMessageService innerScope(inner);
    MessageBoxW(nullptr, L"inner", L"", MB_OK);
  }
  MessageBoxW(nullptr, L"outer", L"", MB_OK);
  ASSERT_EQ(inner.Boxes().size(), 1u);
  ASSERT_EQ(outer.Boxes().size(), 1u);
  EXPECT_EQ(outer.Boxes()[0].text, L"outer");
}
