#pragma once
// The screen side of the library. Without a backend (no display) controls
// keep their state and user input comes only through vcl/User.h; with one,
// each shown form gets a window and each control a widget, and the toolkit's
// events reach the controls through the same user actions.

class TCustomForm;

namespace vcl {

class Backend {
 public:
  virtual ~Backend() = default;
  // Gives the form a window and its controls widgets (and peers).
  virtual void Realize(TCustomForm& form) = 0;
  // Handles the input and window events that are waiting, without blocking.
  virtual void ProcessPending() = 0;
  // Blocks until there is input; false when none can ever come.
  virtual bool WaitForInput() = 0;
};

}  // namespace vcl
