#include "vcl/Application.h"

#include "win32/MessageBox.h"

TApplication* Application = nullptr;

namespace {

void ShowErrorBox(const String& text) {
  MessageBoxW(nullptr, text.c_str(), L"Error", MB_OK | MB_ICONERROR);
}

}  // namespace

TApplication::TApplication(std::unique_ptr<vcl::Backend> backend)
    : TComponent(nullptr), backend_(std::move(backend)), previous_(Application) {
  Application = this;
}

TApplication::~TApplication() {
  // The forms go before the backend whose windows they hold.
  DestroyComponents();
  backend_.reset();
  Application = previous_;
}

void TApplication::Run() {
  if (!mainForm_) return;
  vcl::Guard([this] { mainForm_->Show(); });
  while (!terminated_) {
    if (backend_) backend_->ProcessPending();
    if (terminated_) break;
    const bool done = Idle();
    if (terminated_) break;
    if (done && !(backend_ && backend_->WaitForInput())) break;
  }
}

bool TApplication::Idle() {
  bool done = true;
  // After an exception the loop waits for input before idling again, so that
  // a handler that fails every time does not flood the user with messages.
  if (!vcl::Guard([this, &done] { OnIdle(this, done); })) return true;
  return done;
}

void TApplication::ShowException(const Exception* exception) {
  ShowErrorBox(exception ? exception->Message : String());
}

namespace vcl {

bool Guard(const std::function<void()>& action) {
  auto show = [](const Exception& exception) {
    if (Application)
      Application->ShowException(&exception);
    else
      ShowErrorBox(exception.Message);
  };
  try {
    action();
    return true;
  } catch (const Exception& exception) {
    show(exception);
  } catch (const std::exception& other) {
    show(Exception(String::FromUtf8(other.what())));
  } catch (...) {
    show(Exception(String()));
  }
  return false;
}

}  // namespace vcl
