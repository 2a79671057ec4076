// The track bar, drawn from the control's state. Presses, drags and keys go
// to the control as user actions: the thumb moves only when the control says.

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "vcl/TrackBar.h"
#include "vcl/User.h"
#include "vcl/fltk/WidgetPeer.h"

namespace vcl::fltk {
namespace {

WORD KeyCode(int key) {
  switch (key) {
    case FL_Up: return VK_UP;
    case FL_Down: return VK_DOWN;
    case FL_Left: return VK_LEFT;
    case FL_Right: return VK_RIGHT;
    case FL_Page_Up: return VK_PRIOR;
    case FL_Page_Down: return VK_NEXT;
    case FL_Home: return VK_HOME;
    case FL_End: return VK_END;
    default: return 0;
  }
}

class TrackBarView : public Fl_Widget {
 public:
  static constexpr int kTickLength = 4;
  static constexpr int kChannelWidth = 4;

  explicit TrackBarView(TTrackBar& bar) : Fl_Widget(0, 0, 1, 1), bar_(bar) {}

  void draw() override {
    draw_box(FL_FLAT_BOX, FL_BACKGROUND_COLOR);
    const bool vertical = bar_.GetOrientation() == trVertical;
    const int across = vertical ? w() : h();
    const int centre = across / 2 - kTickLength / 2;
    const int first = bar_.PixelOf(bar_.GetMin());
    const int last = bar_.PixelOf(bar_.GetMax());
    // The channel.
    Box(FL_DOWN_BOX, first, centre - kChannelWidth / 2, last - first + 1, kChannelWidth);
    // Ticks on the far side of the channel.
    fl_color(active_r() ? FL_FOREGROUND_COLOR : FL_INACTIVE_COLOR);
    const int frequency = bar_.GetFrequency() > 0 ? bar_.GetFrequency() : 1;
    for (long p = bar_.GetMin(); p <= bar_.GetMax(); p += frequency) {
      const int pixel = bar_.PixelOf(static_cast<int>(p));
      Line(pixel, across - kTickLength - 1, pixel, across - 2);
    }
    // The thumb; a disabled one is hollowed out, as the ticks and channel fade.
    const int thumbAcross = across - kTickLength - 6;
    Box(FL_UP_BOX, bar_.ThumbCentre() - TTrackBar::kThumbLength / 2, centre - thumbAcross / 2,
        TTrackBar::kThumbLength, thumbAcross,
        active_r() ? FL_BACKGROUND_COLOR : fl_lighter(FL_BACKGROUND_COLOR));
    if (Fl::focus() == this) draw_focus();
  }

  int handle(int event) override {
    const int localX = Fl::event_x() - x();
    const int localY = Fl::event_y() - y();
    switch (event) {
      case FL_PUSH:
        if (Fl::event_button() != FL_LEFT_MOUSE) return 0;
        if (Fl::visible_focus()) Fl::focus(this);
        User::MouseDown(&bar_, mbLeft, EventShift(), localX, localY);
        return 1;
      case FL_DRAG:
        User::MouseMove(&bar_, EventShift(), localX, localY);
        return 1;
      case FL_RELEASE:
        User::MouseUp(&bar_, mbLeft, EventShift(), localX, localY);
        return 1;
      case FL_FOCUS:
      case FL_UNFOCUS:
        redraw();
        return 1;
      case FL_KEYBOARD:
        if (const WORD key = KeyCode(Fl::event_key())) {
          User::PressKey(&bar_, key);
          return 1;
        }
        return 0;
      default: return Fl_Widget::handle(event);
    }
  }

 private:
  // Drawing in channel coordinates: along the channel and across it. Boxes
  // take the widget's state, so a disabled bar draws them in faded colours.
  void Box(Fl_Boxtype type, int along, int across, int length, int thickness,
           Fl_Color color = FL_BACKGROUND_COLOR) {
    if (bar_.GetOrientation() == trVertical)
      draw_box(type, x() + across, y() + along, thickness, length, color);
    else
      draw_box(type, x() + along, y() + across, length, thickness, color);
  }
  void Line(int along1, int across1, int along2, int across2) {
    if (bar_.GetOrientation() == trVertical)
      fl_line(x() + across1, y() + along1, x() + across2, y() + along2);
    else
      fl_line(x() + along1, y() + across1, x() + along2, y() + across2);
  }

  TTrackBar& bar_;
};

class TrackBarPeer : public WidgetPeer {
 public:
  explicit TrackBarPeer(TTrackBar& bar) : WidgetPeer(bar, new TrackBarView(bar)) {}

 protected:
  bool ShowsCaption() const override { return false; }
};

}  // namespace

std::unique_ptr<WidgetPeer> MakeTrackBarPeer(TControl& control) {
  return std::make_unique<TrackBarPeer>(static_cast<TTrackBar&>(control));
}

}  // namespace vcl::fltk
