#pragma once
// On-screen tests with a person's real input. Each test process gets a
// virtual X display of its own, so tests running side by side cannot click
// into each other's windows and nothing reaches a developer's desktop; the
// mouse and keyboard events are real X events, sent by xdotool through the
// X server's test extension, so they reach the windows through the toolkit
// exactly as a person's do.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Fl_Widget;
class Fl_Window;
struct _XDisplay;

namespace testsupport {

using namespace std::chrono_literals;

// Starts the process's virtual display (once) and points DISPLAY at it; call
// before the toolkit opens a display. Empty when it runs, else why it cannot.
std::string StartPrivateDisplay();

// Starts a window manager (Openbox) on the process's virtual display (and the
// display first), once; empty when it runs, else why it cannot.
std::string StartWindowManager();

// The 32-bit items (windows, atoms) of a property of an X window.
std::vector<unsigned long> WindowProperty(_XDisplay* display, unsigned long window, const char* name);

// Where a shown window's top-left corner lies on the screen, as the X server
// has it; a widget lies at that point plus its own x and y.
struct ScreenPoint {
  int x = 0, y = 0;
};
ScreenPoint ScreenOrigin(const Fl_Window& window);

// The width of a line of text in a toolkit font and size, in pixels.
double TextWidth(const std::string& text, int font, int size);

// A person at the display. Each call returns once the events are sent; the
// toolkit sees them when the test's thread next handles events, in the order
// sent. Without a window manager the keyboard goes to the window under the
// pointer (or to the toolkit's popup that holds the input).
namespace person {
void MoveTo(int x, int y);
void Click(int x, int y, int button = 1);
// A click at the centre of a shown widget.
void ClickOn(const Fl_Widget& widget);
void Type(const std::string& text);
// xdotool key names, blank separated: "Return", "ctrl+a BackSpace".
void Keys(const std::string& keys);
// Wheel notches at a point: positive scrolls down.
void Wheel(int x, int y, int notches);
}  // namespace person

// Acts on a window while the test's thread is held in the toolkit (a modal
// dialog or message box, a menu or drop-down list holding the input): polls
// from the toolkit's own loop until `find` gives the window, runs the action
// once (on the test's thread, so it may look at the window's widgets), and
// makes sure the window goes: one still up `within` after the action is
// closed, and the failure recorded.
class WhenShown {
 public:
  WhenShown(std::string what, std::function<Fl_Window*()> find,
            std::function<void(Fl_Window&)> action, std::chrono::milliseconds within = 10s);
  ~WhenShown();
  WhenShown(const WhenShown&) = delete;
  WhenShown& operator=(const WhenShown&) = delete;

  // Empty when the window came, was acted on and went.
  std::string Failure() const;

 private:
  static void Poll(void* data);

  std::string what_;
  std::function<Fl_Window*()> find_;
  std::function<void(Fl_Window&)> action_;
  std::chrono::milliseconds within_;
  std::chrono::steady_clock::time_point since_;
  Fl_Window* acted_ = nullptr;
  std::string failure_;
};

// Finders for WhenShown: the modal window of a title; the popup holding the
// input (a menu's items, a drop-down list).
std::function<Fl_Window*()> ModalTitled(const std::string& title);
std::function<Fl_Window*()> InputHoldingPopup();

// Frees the test's thread from the time on, so that a test whose input went
// astray still ends: closes any popup (menu, drop-down list) holding the
// input and any modal window, and ends the application's run.
class Deadline {
 public:
  explicit Deadline(std::chrono::seconds within);
  ~Deadline();
  bool Passed() const { return passed_; }

 private:
  static void End(void* data);
  bool passed_ = false;
};

// A left press and release at the centre of a shown widget, handed straight
// to the toolkit as the display delivers them (the pointer does not move).
void ToolkitClick(Fl_Widget& widget);

// Handles what the display sends until the condition holds; false when the
// time ran out first.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds within = 5s);

// Waits until a shown window is on the screen and drawn; false when it did
// not come within the time.
bool AwaitDrawn(Fl_Window& window, std::chrono::milliseconds within = 5s);

}  // namespace testsupport

#define SKIP_WITHOUT_PRIVATE_DISPLAY()                                      \
  do {                                                                      \
    const std::string why = ::testsupport::StartPrivateDisplay();           \
    if (!why.empty()) GTEST_SKIP() << "no virtual display for real input: " << why; \
  } while (0)
