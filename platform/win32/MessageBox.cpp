#include "win32/MessageBox.h"

#include <cstdio>

namespace {

// Without a window layer a box can only be reported on the console.
class ConsoleMessageService : public MessageService {
 public:
  int Show(HWND, const MessageRecord& box) override {
    std::fprintf(stderr, "[%ls] %ls\n", box.caption.c_str(), box.text.c_str());
    return IDOK;
  }
};

ConsoleMessageService consoleService;
MessageService* currentService = &consoleService;

}  // namespace

int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  MessageRecord box{text ? text : L"", caption ? caption : L"", type};
  return currentService->Show(owner, box);
}

int RecordingMessageService::Show(HWND, const MessageRecord& box) {
  boxes_.push_back(box);
  return IDOK;
}

MessageService& CurrentMessageService() { return *currentService; }

ScopedMessageService::ScopedMessageService(MessageService& service)
    : previous_(currentService) {
  currentService = &service;
}

ScopedMessageService::~ScopedMessageService() { currentService = previous_; }
