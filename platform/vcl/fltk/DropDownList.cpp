#include "vcl/fltk/DropDownList.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <memory>

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Window.H>

#include "vcl/Metrics.h"

namespace vcl::fltk {
namespace {

// Keys typed within this time of each other search as one text.
constexpr std::chrono::milliseconds kTypingPause{1000};
constexpr int kFrame = 2;  // the list's border, each side
constexpr int kRowsPerNotch = 3;

bool StartsWithIgnoringCase(const std::string& text, size_t from, const std::string& start) {
  if (text.size() - from < start.size()) return false;
  for (size_t i = 0; i < start.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[from + i])) !=
        std::tolower(static_cast<unsigned char>(start[i])))
      return false;
  return true;
}

// The typed text starts the line, or one of its words (a word's leading
// punctuation aside, so "64" finds "Animation #64"), ignoring case.
bool MatchesTyped(const std::string& line, const std::string& typed) {
  if (StartsWithIgnoringCase(line, 0, typed)) return true;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != ' ') continue;
    size_t word = i + 1;
    while (word < line.size() && std::ispunct(static_cast<unsigned char>(line[word]))) ++word;
    if (StartsWithIgnoringCase(line, word, typed)) return true;
  }
  return false;
}

class DropList : public Fl_Hold_Browser {
 public:
  DropList(int x, int y, int w, int h) : Fl_Hold_Browser(x, y, w, h) {}
  // The height of a line as drawn, font leading included.
  int LineHeight() { return size() > 0 ? item_height(item_first()) : incr_height(); }
  // Moves the highlight to a line (1-based) and scrolls it into view.
  void Highlight(int line) {
    line = Select(line);
    if (line < Top())
      ScrollTo(line);
    else if (line >= Top() + VisibleRows())
      ScrollTo(line - VisibleRows() + 1);
  }
  // Highlights the chosen line (1-based) in the middle of the rows, as near
  // as the list can come while its rows stay filled.
  void ShowChosen(int line) { ScrollTo(Select(line) - (VisibleRows() - 1) / 2); }
  // Scrolls by whole rows; the list stops at its ends.
  void ScrollBy(int rows) { ScrollTo(Top() + rows); }
  int VisibleRows() { return std::max(1, (h() - 2 * kFrame) / std::max(1, LineHeight())); }

 private:
  // Highlights a line (1-based), the nearest there is; returns that line.
  int Select(int line) {
    line = std::clamp(line, 1, std::max(size(), 1));
    select(line);
    return line;
  }
  // The line at the top, by the position the list takes at once when
  // scrolled (its own top line follows only when it is drawn).
  int Top() { return position() / std::max(1, LineHeight()) + 1; }
  void ScrollTo(int top) {
    top = std::clamp(top, 1, std::max(1, size() - VisibleRows() + 1));
    position((top - 1) * LineHeight());
  }
};

class DropDownWindow : public Fl_Window {
 public:
  DropDownWindow(int x, int y, int w, int h, const std::vector<std::string>& lines,
                 std::function<void(int)> chosen)
      : Fl_Window(x, y, w, h), lines_(lines), chosen_(std::move(chosen)) {
    list_ = new DropList(0, 0, w, h);
    end();
    list_->format_char(0);  // lines are plain text
    list_->has_scrollbar(Fl_Browser_::VERTICAL);  // long lines are cut, as on the desktop
    list_->textsize(kUiFontSize);
    list_->when(FL_WHEN_RELEASE_ALWAYS);
    list_->callback(Clicked, this);
    for (const std::string& line : lines_) list_->add(line.c_str());
    border(0);
    set_override();
  }

  int handle(int event) override {
    switch (event) {
      case FL_PUSH:
        if (!Inside()) {
          Close(-1);
          return 1;
        }
        return Fl_Window::handle(event);
      case FL_MOUSEWHEEL:
        // Three rows a notch, as the desktop's lists scroll.
        if (Inside()) list_->ScrollBy(kRowsPerNotch * Fl::event_dy());
        return 1;
      case FL_KEYBOARD: return Key();
      default: return Fl_Window::handle(event);
    }
  }

  DropList* List() const { return list_; }
  // The widget that gets the keyboard back when the list closes.
  void ReturnFocusTo(Fl_Widget* widget) {
    if (widget != nullptr) returnFocus_ = std::make_unique<Fl_Widget_Tracker>(widget);
  }

 private:
  bool Inside() const {
    return Fl::event_x() >= 0 && Fl::event_y() >= 0 && Fl::event_x() < w() && Fl::event_y() < h();
  }

  int Key() {
    const int line = std::max(list_->value(), 1);
    const int page = std::max(1, list_->VisibleRows() - 1);
    switch (Fl::event_key()) {
      case FL_Up: list_->Highlight(line - 1); return 1;
      case FL_Down: list_->Highlight(line + 1); return 1;
      case FL_Page_Up: list_->Highlight(line - page); return 1;
      case FL_Page_Down: list_->Highlight(line + page); return 1;
      case FL_Home: list_->Highlight(1); return 1;
      case FL_End: list_->Highlight(list_->size()); return 1;
      case FL_Enter:
      case FL_KP_Enter: Close(list_->value() - 1); return 1;
      case FL_Escape: Close(-1); return 1;
      default: break;
    }
    if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META) || Fl::event_length() == 0) return 1;
    Typed(Fl::event_text());
    return 1;
  }

  // The search text grows while keys come quickly; a longer text may still
  // match the highlighted line, a fresh one looks from the line after it.
  void Typed(const std::string& text) {
    const auto now = std::chrono::steady_clock::now();
    const bool fresh = typed_.empty() || now - lastKey_ > kTypingPause;
    typed_ = fresh ? text : typed_ + text;
    lastKey_ = now;
    const int count = list_->size();
    const int from = std::max(list_->value(), 1) - 1 + (fresh ? 1 : 0);
    for (int step = 0; step < count; ++step) {
      const int index = (from + step) % count;
      if (MatchesTyped(lines_[static_cast<size_t>(index)], typed_)) {
        list_->Highlight(index + 1);
        return;
      }
    }
  }

  static void Clicked(Fl_Widget*, void* data) {
    auto* window = static_cast<DropDownWindow*>(data);
    if (Fl::event() == FL_RELEASE && window->list_->value() > 0) window->Close(window->list_->value() - 1);
  }

  // Closes the list, then reports the choice (-1: none).
  void Close(int index);

  std::vector<std::string> lines_;
  std::function<void(int)> chosen_;
  DropList* list_ = nullptr;
  std::string typed_;
  std::chrono::steady_clock::time_point lastKey_;
  std::unique_ptr<Fl_Widget_Tracker> returnFocus_;
};

DropDownWindow* openList = nullptr;

void DropDownWindow::Close(int index) {
  std::function<void(int)> chosen = std::move(chosen_);
  if (Fl::grab() == this) Fl::grab(nullptr);
  hide();
  openList = nullptr;
  if (returnFocus_ && returnFocus_->exists()) Fl::focus(returnFocus_->widget());
  Fl::delete_widget(this);
  if (index >= 0 && chosen) chosen(index);
}

}  // namespace

void OpenDropDown(Fl_Widget& field, const std::vector<std::string>& lines, int selected,
                  std::function<void(int)> chosen) {
  if (openList != nullptr || lines.empty() || field.window() == nullptr) return;
  const int fieldX = field.window()->x_root() + field.x();
  const int fieldY = field.window()->y_root() + field.y();

  Fl_Group::current(nullptr);
  auto window = std::make_unique<DropDownWindow>(0, 0, field.w(), 1, lines, chosen);
  DropList* list = window->List();
  const int rows = std::min(static_cast<int>(lines.size()), kDropDownRows);
  const int height = rows * list->LineHeight() + 2 * kFrame;
  int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
  Fl::screen_xywh(screenX, screenY, screenW, screenH, fieldX, fieldY);
  const bool roomBelow = fieldY + field.h() + height <= screenY + screenH;
  window->resize(fieldX, roomBelow ? fieldY + field.h() : fieldY - height, field.w(), height);
  list->resize(0, 0, field.w(), height);
  // Scrolled only now that the list has its rows.
  list->ShowChosen(selected + 1);
  window->ReturnFocusTo(Fl::focus());
  openList = window.release();
  openList->show();
  Fl::grab(openList);
}

Fl_Window* OpenDropDownWindow() { return openList; }

}  // namespace vcl::fltk
