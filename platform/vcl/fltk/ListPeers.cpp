// List boxes and combo boxes. The toolkit reports which line the user chose;
// the control selects it and fires its events, and the peer shows the lines
// and the selection the control holds.

#include <algorithm>
#include <functional>
#include <string>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/fl_draw.H>

#include "vcl/Lists.h"
#include "vcl/Metrics.h"
#include "vcl/User.h"
#include "vcl/fltk/DropDownList.h"
#include "vcl/fltk/WidgetPeer.h"

namespace vcl::fltk {
namespace {

std::vector<String> Lines(const TStrings& items) {
  std::vector<String> lines;
  for (int i = 0; i < items.GetCount(); ++i) lines.push_back(items[i]);
  return lines;
}

class ListBoxPeer : public WidgetPeer {
 public:
  explicit ListBoxPeer(TListBox& list) : WidgetPeer(list, new Fl_Hold_Browser(0, 0, 1, 1)), list_(list) {
    auto* browser = static_cast<Fl_Hold_Browser*>(Widget());
    browser->format_char(0);  // lines are plain text
    browser->textsize(kUiFontSize);
    browser->when(FL_WHEN_RELEASE_ALWAYS);
    browser->callback(Chosen, this);
  }

 protected:
  bool ShowsCaption() const override { return false; }
  void SyncState() override {
    auto* browser = static_cast<Fl_Hold_Browser*>(Widget());
    std::vector<String> lines = Lines(*list_.GetItems());
    if (lines != shown_) {
      // Lines are added one at a time while a list is filled: only the new
      // ones go in then.
      const bool extends = lines.size() > shown_.size() &&
                           std::equal(shown_.begin(), shown_.end(), lines.begin());
      if (!extends) browser->clear();
      for (size_t i = extends ? shown_.size() : 0; i < lines.size(); ++i)
        browser->add(lines[i].ToUtf8().c_str());
      shown_ = std::move(lines);
    }
    const int index = list_.GetItemIndex();
    if (index < 0)
      browser->deselect();
    else if (browser->value() != index + 1)
      browser->select(index + 1);
  }

 private:
  static void Chosen(Fl_Widget* widget, void* data) {
    auto* peer = static_cast<ListBoxPeer*>(data);
    const int line = static_cast<Fl_Hold_Browser*>(widget)->value();
    if (line > 0) User::ChooseItem(&peer->list_, line - 1);
    peer->Sync();
  }

  TListBox& list_;
  std::vector<String> shown_;
};

// The closed box of the list style, drawn as the platform draws it: a field
// showing the chosen item (highlighted while the box has the keyboard) next
// to the arrow button. A press opens the list.
class ComboFace : public Fl_Widget {
 public:
  ComboFace() : Fl_Widget(0, 0, 1, 1) { box(FL_DOWN_BOX); }
  int handle(int event) override;
  void Show(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    redraw();
  }

 protected:
  void draw() override;

 private:
  std::string text_;
};

// The text field of the editable style.
class ComboInput : public Fl_Input {
 public:
  ComboInput() : Fl_Input(0, 0, 1, 1) {}
  int handle(int event) override;
};

// A drop-down field: the editable text field or the list style's closed box,
// and the arrow button. The button opens the list; the keys of a closed
// list go to `keys` before the field sees them.
class ComboGroup : public Fl_Group {
 public:
  static constexpr int kButtonWidth = 17;

  ComboGroup() : Fl_Group(0, 0, 1, 1) {
    input = new ComboInput;
    button = new Fl_Button(0, 0, 1, 1, "@-22>");
    face = new ComboFace;
    end();
    resizable(nullptr);
    input->textsize(kUiFontSize);
    input->when(FL_WHEN_CHANGED);
    button->labelsize(kUiFontSize);
    button->clear_visible_focus();  // the keyboard stays in the field
    UseUiFont(*face);
  }

  void resize(int x, int y, int w, int h) override {
    Fl_Widget::resize(x, y, w, h);
    Place();
  }

  void Place() {
    Fl_Widget* field = listStyle ? static_cast<Fl_Widget*>(face) : input;
    (listStyle ? static_cast<Fl_Widget*>(input) : face)->hide();
    field->show();
    field->resize(x(), y(), w() - kButtonWidth, h());
    button->resize(x() + w() - kButtonWidth, y(), kButtonWidth, h());
  }

  // The field of the style, which takes the keyboard.
  Fl_Widget* Field() const { return listStyle ? static_cast<Fl_Widget*>(face) : input; }

  ComboInput* input;
  Fl_Button* button;
  ComboFace* face;
  bool listStyle = false;
  std::function<bool()> keys;
};

bool ClosedListKey(Fl_Widget& field) {
  auto* group = static_cast<ComboGroup*>(field.parent());
  return group->keys && group->keys();
}

int ComboInput::handle(int event) {
  if (event == FL_KEYBOARD && ClosedListKey(*this)) return 1;
  return Fl_Input::handle(event);
}

int ComboFace::handle(int event) {
  switch (event) {
    case FL_PUSH:
      if (Fl::visible_focus()) Fl::focus(this);
      do_callback();
      return 1;
    case FL_FOCUS:
    case FL_UNFOCUS:
      redraw();
      return 1;
    case FL_KEYBOARD: return ClosedListKey(*this) ? 1 : 0;
    default: return Fl_Widget::handle(event);
  }
}

void ComboFace::draw() {
  draw_box(box(), FL_BACKGROUND2_COLOR);
  const int left = x() + Fl::box_dx(box()), top = y() + Fl::box_dy(box());
  const int width = w() - Fl::box_dw(box()), height = h() - Fl::box_dh(box());
  Fl_Color ink = active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR);
  if (Fl::focus() == this && active_r()) {
    fl_color(FL_SELECTION_COLOR);
    fl_rectf(left + 1, top + 1, width - 2, height - 2);
    ink = fl_contrast(FL_FOREGROUND_COLOR, FL_SELECTION_COLOR);
  }
  fl_push_clip(left, top, width, height);
  fl_color(ink);
  fl_font(labelfont(), labelsize());
  // The item as written: no symbols, no shortcut marks.
  fl_draw(text_.c_str(), left + 3, top, width - 6, height, FL_ALIGN_LEFT, nullptr, 0);
  fl_pop_clip();
}

class ComboBoxPeer : public WidgetPeer {
 public:
  explicit ComboBoxPeer(TComboBox& combo) : WidgetPeer(combo, new ComboGroup), combo_(combo) {
    Group()->input->callback(Typed, this);
    Group()->button->callback(DropDown, this);
    Group()->face->callback(DropDown, this);
    Group()->keys = [this] { return Key(); };
  }

 protected:
  bool ShowsCaption() const override { return false; }
  void SyncState() override {
    ComboGroup* group = Group();
    const bool listStyle = combo_.GetStyle() == csDropDownList;
    if (listStyle != group->listStyle) {
      group->listStyle = listStyle;
      group->Place();
    }
    shown_ = Lines(*combo_.GetItems());
    const std::string text = combo_.GetText().ToUtf8();
    if (text != group->input->value()) group->input->value(text.c_str());
    group->face->Show(text);
  }

 private:
  ComboGroup* Group() const { return static_cast<ComboGroup*>(Widget()); }

  static void Typed(Fl_Widget* widget, void* data) {
    auto* peer = static_cast<ComboBoxPeer*>(data);
    User::TypeText(&peer->combo_, String::FromUtf8(static_cast<Fl_Input*>(widget)->value()));
    peer->Sync();
  }

  // The list opens under the whole box, field and button together; the
  // field has the keyboard before and after.
  static void DropDown(Fl_Widget*, void* data) {
    auto* peer = static_cast<ComboBoxPeer*>(data);
    if (!peer->combo_.TakesInput()) return;
    peer->Group()->Field()->take_focus();
    std::vector<std::string> lines;
    for (const String& line : peer->shown_) lines.push_back(line.ToUtf8());
    TComboBox* combo = &peer->combo_;
    OpenDropDown(*peer->Group(), lines, combo->GetItemIndex(), [combo](int index) {
      User::ChooseItem(combo, index);
      combo->Changed();
    });
  }

  // On the closed list, as on the platform: Down and Up step the choice,
  // Alt+Down opens the list.
  bool Key() {
    const int key = Fl::event_key();
    const int mods = Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META);
    if (key == FL_Down && mods == FL_ALT) {
      DropDown(nullptr, this);
      return true;
    }
    if ((key != FL_Down && key != FL_Up) || mods != 0) return false;
    User::PressKey(&combo_, key == FL_Down ? VK_DOWN : VK_UP);
    combo_.Changed();
    return true;
  }

  TComboBox& combo_;
  std::vector<String> shown_;
};

}  // namespace

std::unique_ptr<WidgetPeer> MakeListBoxPeer(TControl& control) {
  return std::make_unique<ListBoxPeer>(static_cast<TListBox&>(control));
}

std::unique_ptr<WidgetPeer> MakeComboBoxPeer(TControl& control) {
  return std::make_unique<ComboBoxPeer>(static_cast<TComboBox&>(control));
}

}  // namespace vcl::fltk
