// List boxes and combo boxes. The toolkit reports which line the user chose;
// the control selects it and fires its events, and the peer shows the lines
// and the selection the control holds.

#include <algorithm>

#include <FL/Fl_Button.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>

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

// An editable field with a drop-down button; in the list style the button
// covers the whole box and shows the chosen item. The button opens the list.
class ComboGroup : public Fl_Group {
 public:
  static constexpr int kButtonWidth = 17;

  ComboGroup() : Fl_Group(0, 0, 1, 1) {
    input = new Fl_Input(0, 0, 1, 1);
    button = new Fl_Button(0, 0, 1, 1);
    end();
    resizable(nullptr);
    input->textsize(kUiFontSize);
    input->when(FL_WHEN_CHANGED);
    button->labelsize(kUiFontSize);
  }

  void resize(int x, int y, int w, int h) override {
    Fl_Widget::resize(x, y, w, h);
    Place();
  }

  void Place() {
    if (listStyle) {
      input->hide();
      button->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
      button->resize(x(), y(), w(), h());
    } else {
      input->show();
      button->align(FL_ALIGN_CENTER);
      input->resize(x(), y(), w() - kButtonWidth, h());
      button->resize(x() + w() - kButtonWidth, y(), kButtonWidth, h());
    }
  }

  Fl_Input* input;
  Fl_Button* button;
  bool listStyle = false;
};

class ComboBoxPeer : public WidgetPeer {
 public:
  explicit ComboBoxPeer(TComboBox& combo) : WidgetPeer(combo, new ComboGroup), combo_(combo) {
    Group()->input->callback(Typed, this);
    Group()->button->callback(DropDown, this);
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
    group->button->copy_label(listStyle ? LabelText(combo_.GetText(), true).c_str() : "@-22>");
  }

 private:
  ComboGroup* Group() const { return static_cast<ComboGroup*>(Widget()); }

  static void Typed(Fl_Widget* widget, void* data) {
    auto* peer = static_cast<ComboBoxPeer*>(data);
    User::TypeText(&peer->combo_, String::FromUtf8(static_cast<Fl_Input*>(widget)->value()));
    peer->Sync();
  }

  // The list opens under the whole box, input field and button together.
  static void DropDown(Fl_Widget*, void* data) {
    auto* peer = static_cast<ComboBoxPeer*>(data);
    if (!peer->combo_.TakesInput()) return;
    std::vector<std::string> lines;
    for (const String& line : peer->shown_) lines.push_back(line.ToUtf8());
    TComboBox* combo = &peer->combo_;
    OpenDropDown(*peer->Group(), lines, combo->GetItemIndex(), [combo](int index) {
      User::ChooseItem(combo, index);
      combo->Changed();
    });
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
