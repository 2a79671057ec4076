#include "vcl/fltk/MessageDialog.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include "vcl/Metrics.h"
#include "vcl/String.h"
#include "vcl/fltk/OwnerWindows.h"
#include "vcl/fltk/WidgetPeer.h"

namespace vcl::fltk {
namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kMinTextWidth = 160;
constexpr int kMaxTextWidth = 480;
constexpr int kLabelSlack = 8;
// Title bars set the caption in the desktop's sans face, bold, at about 9
// points, beside the window's icon and up to three buttons (minimise,
// maximise, close) about as wide as the bar is high.
constexpr Fl_Font kTitleFace = FL_FREE_FONT;
constexpr int kTitleFontSize = 12;
constexpr int kTitleBarSquares = 4;

struct IconLook {
  const char* mark;
  Fl_Color color;
};

// The mark and colour of the style's icon; no mark for a box without one.
IconLook IconFor(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONERROR: return {"X", FL_RED};
    case MB_ICONEXCLAMATION: return {"!", FL_YELLOW};
    case MB_ICONINFORMATION: return {"i", FL_BLUE};
    default: return {nullptr, FL_BLACK};
  }
}

void Close(Fl_Widget* widget, void*) { widget->window()->hide(); }

// The width of a box whose title bar shows the caption whole.
int CaptionWidth(const std::string& caption) {
  static const bool faceSet = (Fl::set_font(kTitleFace, "Bsans"), true);
  static_cast<void>(faceSet);
  fl_font(kTitleFace, kTitleFontSize);
  return kMargin + static_cast<int>(std::ceil(fl_width(caption.c_str()))) +
         kTitleBarSquares * kCaptionHeight + kMargin;
}

// Over the window that raised the box, or in the middle of the screen;
// kept on the screen.
void Centre(Fl_Window& box, const Fl_Window* raiser) {
  int left = 0, top = 0, width = 0, height = 0;
  Fl::screen_work_area(left, top, width, height);
  if (raiser != nullptr) {
    left = raiser->x_root();
    top = raiser->y_root();
    width = raiser->w();
    height = raiser->h();
  }
  int x = left + (width - box.w()) / 2;
  int y = top + (height - box.h()) / 2;
  int screenLeft = 0, screenTop = 0, screenWidth = 0, screenHeight = 0;
  Fl::screen_work_area(screenLeft, screenTop, screenWidth, screenHeight, x, y);
  x = std::clamp(x, screenLeft, std::max(screenLeft, screenLeft + screenWidth - box.w()));
  y = std::clamp(y, screenTop, std::max(screenTop, screenTop + screenHeight - box.h()));
  box.position(x, y);
}

}  // namespace

int MessageDialogs::Show(HWND, const MessageRecord& box) {
  // Shown as written: '@' would otherwise start one of the toolkit's symbols.
  const std::string text = LabelText(String(box.text), false);
  const std::string caption = String(box.caption).ToUtf8();
  const IconLook icon = IconFor(box.type);

  fl_font(FL_HELVETICA, kUiFontSize);
  int textWidth = kMaxTextWidth, textHeight = 0;
  fl_measure(text.c_str(), textWidth, textHeight, 1);
  // The label is drawn a little inside its box; the slack keeps the measured
  // lines from wrapping again.
  textWidth = std::clamp(textWidth + kLabelSlack, kMinTextWidth, kMaxTextWidth);
  textHeight = std::max(textHeight, kIconSize);
  const int iconSpace = icon.mark ? kIconSize + kMargin : 0;
  const int width = std::max(kMargin + iconSpace + textWidth + kMargin, CaptionWidth(caption));
  const int height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;

  Fl_Group::current(nullptr);
  Fl_Window window(width, height, caption.c_str());
  if (icon.mark) {
    auto* mark = new Fl_Box(kMargin, kMargin, kIconSize, kIconSize, icon.mark);
    mark->box(FL_OVAL_BOX);
    mark->color(icon.color);
    mark->labelfont(FL_HELVETICA_BOLD);
    mark->labelsize(2 * kUiFontSize);
    mark->labelcolor(icon.color == FL_YELLOW ? FL_BLACK : FL_WHITE);
  }
  auto* message = new Fl_Box(kMargin + iconSpace, kMargin, textWidth, textHeight);
  message->copy_label(text.c_str());
  message->labelfont(FL_HELVETICA);
  message->labelsize(kUiFontSize);
  message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  auto* ok = new Fl_Return_Button((width - kButtonWidth) / 2, height - kMargin - kButtonHeight,
                                  kButtonWidth, kButtonHeight, "OK");
  ok->labelsize(kUiFontSize);
  ok->callback(Close);
  window.end();
  window.set_modal();
  // Over the form window shown last, and transient for it, so that the
  // window manager keeps the box in front of the window it belongs to.
  Fl_Window* raiser = TopFormWindow();
  Centre(window, raiser);
  OpenOver(raiser);
  window.show();
  while (window.shown()) Fl::wait();
  return IDOK;
}

}  // namespace vcl::fltk
