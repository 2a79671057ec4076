// Labels and captioned frames.

#include <FL/Fl_Box.H>
#include <FL/fl_draw.H>

#include "vcl/fltk/WidgetPeer.h"

namespace vcl::fltk {
namespace {

// A frame whose caption sits on its top edge, interrupting the line.
class FrameGroup : public Fl_Group {
 public:
  FrameGroup() : Fl_Group(0, 0, 1, 1) {
    end();
    resizable(nullptr);
    box(FL_NO_BOX);
    align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
  }

 protected:
  void draw() override {
    static constexpr int kCaptionIndent = 8;
    fl_font(labelfont(), labelsize());
    const int lineY = y() + labelsize() / 2;
    // Drawn in the group's state: faded when it is disabled.
    draw_box(FL_ENGRAVED_FRAME, x(), lineY, w(), h() - (lineY - y()), FL_BACKGROUND_COLOR);
    if (label() && *label()) {
      int textWidth = 0, textHeight = 0;
      measure_label(textWidth, textHeight);
      fl_color(FL_BACKGROUND_COLOR);
      fl_rectf(x() + kCaptionIndent - 2, y(), textWidth + 4, labelsize() + 2);
      draw_label(x() + kCaptionIndent, y(), textWidth, labelsize() + 2,
                 FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    }
    draw_children();
  }
};

// A label's text starts at its left edge, as the platform's labels do (the
// toolkit would indent it).
class LabelBox : public Fl_Box {
 public:
  LabelBox() : Fl_Box(0, 0, 1, 1) {}

 protected:
  void draw() override { draw_label(x(), y(), w(), h(), align()); }
};

// A label sizes itself to its caption, so a caption drawn in this font, which
// may be wider than the one the form was laid out with, shows whole.
class LabelPeer : public WidgetPeer {
 public:
  explicit LabelPeer(TControl& control) : WidgetPeer(control, new LabelBox) {
    Widget()->box(FL_NO_BOX);
    Widget()->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE);
  }

 protected:
  void SyncState() override {
    int textWidth = 0, textHeight = 0;
    Widget()->measure_label(textWidth, textHeight);
    if (textWidth > Widget()->w())
      Widget()->resize(Widget()->x(), Widget()->y(), textWidth, Widget()->h());
  }
};

class GroupBoxPeer : public WidgetPeer {
 public:
  explicit GroupBoxPeer(TControl& control) : WidgetPeer(control, new FrameGroup) {}

 protected:
  Fl_Group* ChildGroup() override { return static_cast<Fl_Group*>(Widget()); }
};

}  // namespace

std::unique_ptr<WidgetPeer> MakeLabelPeer(TControl& control) {
  return std::make_unique<LabelPeer>(control);
}

std::unique_ptr<WidgetPeer> MakeGroupBoxPeer(TControl& control) {
  return std::make_unique<GroupBoxPeer>(control);
}

}  // namespace vcl::fltk
