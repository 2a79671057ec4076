#pragma once
// The application object: creates the forms (the first is the main form),
// runs until the main form closes, calls the idle handler whenever there is
// no input (again at once while the handler reports that it is not done),
// and shows every exception that leaves a handler, after which the program
// goes on.

#include <functional>
#include <memory>

#include "vcl/Backend.h"
#include "vcl/Forms.h"
#include "vcl/SysUtils.h"

class TApplication : public TComponent {
 public:
  // Without a backend the application has no display: the test drives it.
  explicit TApplication(std::unique_ptr<vcl::Backend> backend = nullptr);
  ~TApplication() override;

  void Initialize() {}
  // Creates a form owned by the application: construction, then the
  // reference is set, then OnCreate. An exception from OnCreate passes to
  // the caller.
  template <class F>
  void CreateForm(F** reference) {
    F* form = new F(this);
    if (reference) *reference = form;
    form->OnCreate(form);
    if (!mainForm_) mainForm_ = form;
  }
  // Shows the main form and handles input and idle time until the main form
  // closes or Terminate is called. Without a display it returns as soon as
  // the idle handler reports that it is done, since no input can come.
  void Run();
  void Terminate() { terminated_ = true; }
  // One idle call: returns the handler's Done (true without a handler, and
  // after an exception, which is shown).
  bool Idle();
  void ShowException(const Exception* exception);

  TCustomForm* GetMainForm() const { return mainForm_; }
  bool GetTerminated() const { return terminated_; }
  bool GetMainFormOnTaskBar() const { return mainFormOnTaskBar_; }
  void SetMainFormOnTaskBar(bool value) { mainFormOnTaskBar_ = value; }
  vcl::Backend* GetBackend() const { return backend_.get(); }

  ReadOnlyProperty<TApplication, TCustomForm*, &TApplication::GetMainForm> MainForm{this};
  ReadOnlyProperty<TApplication, bool, &TApplication::GetTerminated> Terminated{this};
  Property<TApplication, bool, &TApplication::GetMainFormOnTaskBar,
           &TApplication::SetMainFormOnTaskBar>
      MainFormOnTaskBar{this};

  TIdleEvent OnIdle;

 private:
  std::unique_ptr<vcl::Backend> backend_;
  TApplication* previous_;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool mainFormOnTaskBar_ = false;
};

// The application of the running program (the last one constructed).
extern TApplication* Application;

namespace vcl {

// Runs an action where input or idle time is dispatched: an exception that
// leaves it is shown by the application and goes no further. Returns false
// when an exception was shown.
bool Guard(const std::function<void()>& action);

}  // namespace vcl
