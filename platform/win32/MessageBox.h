#pragma once
// Message boxes. MessageBoxW hands every box to the current message service:
// on screen the window layer installs one that shows a modal dialog; without a
// display the service records the box and answers as a person pressing OK
// would, so that tests can check what the user was told.

#include <string>
#include <vector>

#include "win32/NativeWindow.h"

// Buttons (only the OK box is offered) and icons, as the style word combines them.
constexpr UINT MB_OK = 0x00000000u;
constexpr UINT MB_ICONHAND = 0x00000010u;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030u;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040u;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0u;

// The answer of an OK box.
constexpr int IDOK = 1;

// Shows a box with the text, the caption and the style's icon; returns the
// button pressed. A null text or caption counts as empty.
int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// One box as it was asked for.
struct MessageRecord {
  std::wstring text;
  std::wstring caption;
  UINT type = MB_OK;
  bool operator==(const MessageRecord&) const = default;
};

class MessageService {
 public:
  virtual ~MessageService() = default;
  // Shows the box and returns the button the user pressed.
  virtual int Show(HWND owner, const MessageRecord& box) = 0;
};

// Records every box and answers IDOK at once.
class RecordingMessageService : public MessageService {
 public:
  int Show(HWND owner, const MessageRecord& box) override;

  const std::vector<MessageRecord>& Boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }

 private:
  std::vector<MessageRecord> boxes_;
};

// The service MessageBoxW uses. With none installed, boxes are written to the
// standard error stream and answered with IDOK.
MessageService& CurrentMessageService();

// Installs a service for the lifetime of this object, then restores the one
// that was current before.
class ScopedMessageService {
 public:
  explicit ScopedMessageService(MessageService& service);
  ~ScopedMessageService();
  ScopedMessageService(const ScopedMessageService&) = delete;
  ScopedMessageService& operator=(const ScopedMessageService&) = delete;

 private:
  MessageService* previous_;
};
