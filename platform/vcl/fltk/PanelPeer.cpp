// The panel: shows the last frame presented into its window (its caption
// until the first), paces the frames presented by the display's refresh,
// reports mouse presses, moves and releases, and holds the widgets of the
// controls inside it.

#include <algorithm>

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "vcl/Panel.h"
#include "vcl/User.h"
#include "vcl/fltk/RefreshClock.h"
#include "vcl/fltk/WidgetPeer.h"

namespace vcl::fltk {
namespace {

TMouseButton EventButton() {
  switch (Fl::event_button()) {
    case FL_RIGHT_MOUSE: return mbRight;
    case FL_MIDDLE_MOUSE: return mbMiddle;
    default: return mbLeft;
  }
}

class PanelView : public Fl_Group {
 public:
  explicit PanelView(TPanel& panel) : Fl_Group(0, 0, 1, 1), panel_(panel) {
    end();
    resizable(nullptr);
    box(FL_FLAT_BOX);
    align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  }

  void draw() override {
    const PanelWindow& window = panel_.Window();
    if (window.FrameCount() == 0) {
      draw_box();
      draw_label();
    } else {
      const int width = std::min(w(), window.FrameWidth());
      const int height = std::min(h(), window.FrameHeight());
      fl_draw_image(FrameLine, this, x(), y(), width, height, kBytesPerPixel);
    }
    draw_children();
  }

  int handle(int event) override {
    const int localX = Fl::event_x() - x();
    const int localY = Fl::event_y() - y();
    switch (event) {
      case FL_PUSH:
        if (Fl_Group::handle(event)) return 1;
        User::MouseDown(&panel_, EventButton(), EventShift(), localX, localY);
        return 1;
      case FL_DRAG:
      case FL_MOVE:
        if (event == FL_MOVE && Fl_Group::handle(event)) return 1;
        User::MouseMove(&panel_, EventShift(), localX, localY);
        return 1;
      case FL_RELEASE:
        User::MouseUp(&panel_, EventButton(), EventShift(), localX, localY);
        return 1;
      case FL_ENTER:
        Fl_Group::handle(event);
        return 1;  // so that moves come here
      default: return Fl_Group::handle(event);
    }
  }

 private:
  static constexpr int kBytesPerPixel = 3;

  // One line of the frame as RGB bytes (the frame holds 0xAARRGGBB values).
  static void FrameLine(void* data, int x, int y, int width, uchar* out) {
    const PanelWindow& window = static_cast<PanelView*>(data)->panel_.Window();
    const std::uint32_t* pixel =
        &window.FramePixels()[static_cast<size_t>(y) * window.FrameWidth() + x];
    for (int i = 0; i < width; ++i, ++pixel) {
      *out++ = static_cast<uchar>(*pixel >> 16);
      *out++ = static_cast<uchar>(*pixel >> 8);
      *out++ = static_cast<uchar>(*pixel);
    }
  }

  TPanel& panel_;
};

class PanelPeer : public WidgetPeer {
 public:
  explicit PanelPeer(TPanel& panel) : WidgetPeer(panel, new PanelView(panel)), panel_(panel) {
    panel_.SetFramePacer(&DisplayRefresh());
  }
  ~PanelPeer() override { panel_.SetFramePacer(nullptr); }

 protected:
  Fl_Group* ChildGroup() override { return static_cast<Fl_Group*>(Widget()); }

 private:
  TPanel& panel_;
};

}  // namespace

std::unique_ptr<WidgetPeer> MakePanelPeer(TControl& control) {
  return std::make_unique<PanelPeer>(static_cast<TPanel&>(control));
}

}  // namespace vcl::fltk
