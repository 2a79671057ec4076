#pragma once
// A desktop with no display, for tests: an application without a backend,
// message boxes recorded (each answered OK), a clock that moves only when the
// test advances it, and file dialogs answered from a script. The test drives
// the forms with vcl/User.h and pumps idle time with Application->Idle().

#include <memory>

#include "vcl/Application.h"
#include "vcl/Dialogs.h"
#include "win32/MessageBox.h"
#include "win32/TickCount.h"

namespace vcl {

class HeadlessDesktop {
 public:
  HeadlessDesktop();
  ~HeadlessDesktop();
  HeadlessDesktop(const HeadlessDesktop&) = delete;
  HeadlessDesktop& operator=(const HeadlessDesktop&) = delete;

  TApplication& App() { return *application_; }

  RecordingMessageService messages;
  ManualTickClock clock;
  ScriptedFileDialogs dialogs;

 private:
  ScopedMessageService messageScope_{messages};
  ScopedTickClock clockScope_{clock};
  ScopedFileDialogService dialogScope_{dialogs};
  std::unique_ptr<TApplication> application_;
};

}  // namespace vcl
