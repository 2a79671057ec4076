#include "ScreenInput.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <thread>
#include <stdexcept>
#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include "vcl/Application.h"

extern char** environ;

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;

// Starts a program with its standard output into outFd (-1: nowhere); 0
// when it cannot start.
pid_t Spawn(const std::vector<std::string>& args, int outFd) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (outFd >= 0)
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  else
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed ? 0 : pid;
}

// Starts the X server as a child that the system ends with this process,
// however this process ends (a crash, a killed test); 0 when it is not
// installed.
pid_t StartServer(const std::vector<std::string>& args) {
  std::string program;
  for (std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : ""); std::getline(path, program, ':');) {
    program += "/" + args[0];
    if (access(program.c_str(), X_OK) == 0) break;
    program.clear();
  }
  if (program.empty()) return 0;
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid < 0 ? 0 : pid;
  // The child: only calls that are safe after a fork.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) _exit(1);
  const int quiet = open("/dev/null", O_WRONLY);
  dup2(quiet, STDOUT_FILENO);
  dup2(quiet, STDERR_FILENO);
  execv(program.c_str(), argv.data());
  _exit(127);
}

// Runs xdotool to its end; its standard output.
std::string Tool(std::vector<std::string> args) {
  args.insert(args.begin(), "xdotool");
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for xdotool");
  const pid_t pid = Spawn(args, out[1]);
  close(out[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  if (pid == 0 || waitpid(pid, &status, 0) != pid) throw std::runtime_error("xdotool did not run");
  return text;
}

// Closes a window that input left up: Escape ends a popup (which holds the
// keyboard) or a dialog under the pointer; hiding a dialog ends its loop too.
void Close(Fl_Window& window) {
  const ScreenPoint at = ScreenOrigin(window);
  person::MoveTo(at.x + window.w() / 2, at.y + window.h() / 2);
  person::Keys("Escape");
  if (window.border()) window.hide();
}

class PrivateDisplay {
 public:
  ~PrivateDisplay() { Stop(); }

  std::string Start() {
    if (started_) return failure_;
    started_ = true;
    if (fl_display != nullptr) {
      failure_ = "the toolkit opened another display in this process first";
      return failure_;
    }
    failure_ = StartXvfb();
    if (!failure_.empty()) return failure_;
    try {
      Tool({"version"});
    } catch (const std::runtime_error&) {
      failure_ = "xdotool is not installed";
    }
    return failure_;
  }

 private:
  // Xvfb picks a free display and writes its number into the pipe once it
  // takes connections.
  std::string StartXvfb() {
    int ready[2];
    if (pipe(ready) != 0) return "no pipe";
    fcntl(ready[0], F_SETFD, FD_CLOEXEC);
    // Without -noreset the server resets whenever its last client leaves,
    // refusing connections meanwhile: xdotool's come and go.
    xvfb_ = StartServer({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                         "1280x1024x24", "-nolisten", "tcp", "-noreset"});
    close(ready[1]);
    std::string number;
    pollfd wait{ready[0], POLLIN, 0};
    while (xvfb_ > 0 && poll(&wait, 1, 10000) > 0) {
      char c = 0;
      if (read(ready[0], &c, 1) != 1 || c == '\n') break;
      number += c;
    }
    close(ready[0]);
    if (xvfb_ <= 0) return "Xvfb is not installed";
    if (number.empty()) return "Xvfb did not start";
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return std::string();
  }

  void Stop() {
    if (xvfb_ <= 0) return;
    kill(xvfb_, SIGTERM);
    waitpid(xvfb_, nullptr, 0);
    xvfb_ = 0;
  }

  bool started_ = false;
  std::string failure_;
  pid_t xvfb_ = 0;
};

PrivateDisplay privateDisplay;

// A window manager says it runs by a window named on the root window.
bool WindowManagerRuns() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  const bool runs = !WindowProperty(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK").empty();
  XCloseDisplay(display);
  return runs;
}

}  // namespace

std::string StartPrivateDisplay() { return privateDisplay.Start(); }

std::string StartWindowManager() {
  // Once a process; the window manager ends with the process or its display.
  static const std::string failure = []() -> std::string {
    if (std::string display = privateDisplay.Start(); !display.empty()) return display;
    if (StartServer({"openbox", "--sm-disable"}) <= 0) return "Openbox is not installed";
    for (const auto end = Clock::now() + 10s; !WindowManagerRuns(); std::this_thread::sleep_for(20ms))
      if (Clock::now() > end) return "Openbox did not start";
    return std::string();
  }();
  return failure;
}

std::vector<unsigned long> WindowProperty(Display* display, unsigned long window, const char* name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> items;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, AnyPropertyType,
                         &type, &format, &count, &after, &data) == Success &&
      data != nullptr && format == 32) {
    const auto* values = reinterpret_cast<const unsigned long*>(data);
    items.assign(values, values + count);
  }
  if (data != nullptr) XFree(data);
  return items;
}

double TextWidth(const std::string& text, int font, int size) {
  fl_font(font, size);
  return fl_width(text.c_str());
}

ScreenPoint ScreenOrigin(const Fl_Window& window) {
  ScreenPoint origin;
  ::Window child = 0;
  XTranslateCoordinates(fl_display, fl_xid(&window), RootWindow(fl_display, fl_screen), 0, 0,
                        &origin.x, &origin.y, &child);
  return origin;
}

namespace person {

void MoveTo(int x, int y) { Tool({"mousemove", std::to_string(x), std::to_string(y)}); }

void Click(int x, int y, int button) {
  MoveTo(x, y);
  Tool({"click", std::to_string(button)});
}

void ClickOn(const Fl_Widget& widget) {
  const ScreenPoint origin = ScreenOrigin(*widget.window());
  Click(origin.x + widget.x() + widget.w() / 2, origin.y + widget.y() + widget.h() / 2);
}

void Type(const std::string& text) { Tool({"type", "--delay", "15", "--", text}); }

void Keys(const std::string& keys) {
  std::vector<std::string> args{"key", "--delay", "15"};
  std::istringstream names(keys);
  for (std::string name; names >> name;) args.push_back(name);
  Tool(args);
}

void Wheel(int x, int y, int notches) {
  MoveTo(x, y);
  Tool({"click", "--repeat", std::to_string(std::abs(notches)), "--delay", "15",
        notches > 0 ? "5" : "4"});
}

}  // namespace person

WhenShown::WhenShown(std::string what, std::function<Fl_Window*()> find,
                     std::function<void(Fl_Window&)> action, std::chrono::milliseconds within)
    : what_(std::move(what)),
      find_(std::move(find)),
      action_(std::move(action)),
      within_(within),
      since_(Clock::now()) {
  Fl::add_timeout(0.02, Poll, this);
}

WhenShown::~WhenShown() { Fl::remove_timeout(Poll, this); }

std::string WhenShown::Failure() const {
  if (acted_ == nullptr) return what_ + " did not come up";
  return failure_;
}

// The window is still among those shown (compared by address only: a
// window that went may be gone).
bool StillShown(const Fl_Window* window) {
  for (Fl_Window* shown = Fl::first_window(); shown != nullptr; shown = Fl::next_window(shown))
    if (shown == window) return true;
  return false;
}

void WhenShown::Poll(void* data) {
  auto* watch = static_cast<WhenShown*>(data);
  const bool late = Clock::now() - watch->since_ > watch->within_;
  if (watch->acted_ == nullptr) {
    Fl_Window* shown = watch->find_();
    if (shown == nullptr) {
      if (!late) Fl::repeat_timeout(0.02, Poll, data);
      return;  // once late, it never came, and nothing holds the test
    }
    watch->acted_ = shown;
    watch->since_ = Clock::now();
    try {
      watch->action_(*shown);
    } catch (const std::exception& error) {
      watch->failure_ = error.what();
    }
  } else if (!StillShown(watch->acted_)) {
    return;  // it went
  } else if (late) {
    if (watch->failure_.find(" was still up") == std::string::npos)
      watch->failure_ += (watch->failure_.empty() ? "" : "; ") + watch->what_ +
                         " was still up after the input, and was closed";
    // Whatever the input raised over it goes first (an alert, say).
    Close(Fl::modal() != nullptr ? *Fl::modal() : *watch->acted_);
    Fl::repeat_timeout(0.5, Poll, data);
    return;
  }
  Fl::repeat_timeout(0.02, Poll, data);
}

std::function<Fl_Window*()> ModalTitled(const std::string& title) {
  return [title]() -> Fl_Window* {
    Fl_Window* modal = Fl::modal();
    return modal != nullptr && modal->label() != nullptr && title == modal->label() ? modal : nullptr;
  };
}

// While a popup holds the input, the tallest borderless window shown: a
// menu's items (a menu bar's grab is a window of its own that never shows),
// or a drop-down list.
std::function<Fl_Window*()> InputHoldingPopup() {
  return []() -> Fl_Window* {
    if (Fl::grab() == nullptr) return nullptr;
    Fl_Window* popup = nullptr;
    for (Fl_Window* window = Fl::first_window(); window != nullptr; window = Fl::next_window(window))
      if (!window->border() && window->visible() && (popup == nullptr || window->h() > popup->h()))
        popup = window;
    return popup;
  };
}

Deadline::Deadline(std::chrono::seconds within) {
  Fl::add_timeout(static_cast<double>(within.count()), End, this);
}

Deadline::~Deadline() { Fl::remove_timeout(End, this); }

// Keeps freeing the test's thread until the deadline is dropped.
void Deadline::End(void* data) {
  static_cast<Deadline*>(data)->passed_ = true;
  if (Fl::grab() != nullptr) person::Keys("Escape");
  if (Fl_Window* modal = Fl::modal()) Close(*modal);
  if (Application != nullptr) Application->Terminate();
  Fl::repeat_timeout(1.0, End, data);
}

void ToolkitClick(Fl_Widget& widget) {
  Fl_Window* window = widget.window();
  Fl::e_x = widget.x() + widget.w() / 2;
  Fl::e_y = widget.y() + widget.h() / 2;
  Fl::e_x_root = window->x_root() + Fl::e_x;
  Fl::e_y_root = window->y_root() + Fl::e_y;
  Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
  Fl::e_clicks = 0;
  Fl::e_is_click = 0;
  Fl::e_state = FL_BUTTON1;
  Fl::handle(FL_PUSH, window);
  Fl::e_state = 0;
  Fl::handle(FL_RELEASE, window);
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds within) {
  const auto end = Clock::now() + within;
  while (!condition()) {
    if (Clock::now() > end) return false;
    Fl::wait(0.02);
  }
  return true;
}

}  // namespace testsupport

namespace testsupport {

bool AwaitDrawn(Fl_Window& window, std::chrono::milliseconds within) {
  const bool mapped = PumpUntil(
      [&window] {
        XWindowAttributes attributes{};
        return window.shown() &&
               XGetWindowAttributes(fl_display, fl_xid(&window), &attributes) != 0 &&
               attributes.map_state == IsViewable;
      },
      within);
  // The server sent its exposure with the map: handle it and draw.
  XSync(fl_display, False);
  Fl::check();
  Fl::flush();
  XSync(fl_display, False);
  return mapped;
}

}  // namespace testsupport
