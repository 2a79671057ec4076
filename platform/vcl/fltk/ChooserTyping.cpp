#include "vcl/fltk/ChooserTyping.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/filename.H>
#include <FL/fl_ask.H>

#include "vcl/DialogPaths.h"
#include "vcl/Metrics.h"

namespace vcl::fltk {
namespace {

// The first widget of the type inside a group, at any depth.
template <class W>
W* Find(Fl_Group& group) {
  for (int i = 0; i < group.children(); ++i) {
    Fl_Widget* child = group.child(i);
    if (auto* found = dynamic_cast<W*>(child)) return found;
    if (Fl_Group* inner = child->as_group())
      if (W* found = Find<W>(*inner)) return found;
  }
  return nullptr;
}

// The filters in the forms' UI font, each as "description (pattern)".
void ShowFilters(Fl_Choice& filters) {
  filters.textsize(kUiFontSize);
  for (int i = 0; i < filters.size() - 1; ++i) {
    const char* text = filters.text(i);
    const char* pattern = text != nullptr ? std::strrchr(text, '(') : nullptr;
    if (pattern == nullptr || pattern == text || pattern[-1] == ' ') continue;
    const std::string spaced = std::string(text, pattern) + " " + pattern;
    filters.replace(i, spaced.c_str());
  }
}

bool IsEnterKey() {
  return Fl::event() == FL_KEYBOARD &&
         (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter);
}

}  // namespace

ChooserTyping::ChooserTyping(FileDialogKind kind) : kind_(kind) {
  Fl::add_check(LookForChooser, this);
}

ChooserTyping::~ChooserTyping() { Fl::remove_check(LookForChooser, this); }

String ChooserTyping::FolderShown(const String& otherwise) const {
  return chooser_ != nullptr ? String::FromUtf8(chooser_->directory()) : otherwise;
}

// The chooser is application-modal: once up, it is the modal window.
void ChooserTyping::LookForChooser(void* data) {
  auto* typing = static_cast<ChooserTyping*>(data);
  Fl_Window* modal = Fl::modal();
  if (typing->window_ != nullptr || modal == nullptr) return;
  if (Find<Fl_File_Input>(*modal) != nullptr && Find<Fl_File_Browser>(*modal) != nullptr)
    typing->TakeOver(*modal);
}

// The chooser's window carries the chooser as its user data.
void ChooserTyping::TakeOver(Fl_Window& window) {
  window_ = &window;
  chooser_ = static_cast<Fl_File_Chooser*>(window.user_data());
  name_ = Find<Fl_File_Input>(window);
  ok_ = Find<Fl_Return_Button>(window);
  name_->callback(NameTyped, this);
  name_->when(FL_WHEN_CHANGED | FL_WHEN_ENTER_KEY_ALWAYS);
  if (ok_ != nullptr) ok_->callback(OkPressed, this);
  if (auto* filters = Find<Fl_Choice>(window)) ShowFilters(*filters);
  window.redraw();
}

void ChooserTyping::NameTyped(Fl_Widget*, void* data) {
  auto* typing = static_cast<ChooserTyping*>(data);
  if (IsEnterKey()) {
    typing->Accept();
    return;
  }
  if (typing->ok_ == nullptr) return;
  if (*typing->name_->value() != '\0')
    typing->ok_->activate();
  else
    typing->ok_->deactivate();
}

void ChooserTyping::OkPressed(Fl_Widget*, void* data) { static_cast<ChooserTyping*>(data)->Accept(); }

// A folder is opened; a file is chosen when it exists or is to be saved.
void ChooserTyping::Accept() {
  const String typed = String::FromUtf8(name_->value());
  if (typed.IsEmpty()) return;
  const std::string path = ResolveTypedName(typed, FolderShown(String())).ToUtf8();
  if (fl_filename_isdir(path.c_str())) {
    chooser_->directory(path.c_str());
    return;
  }
  if (kind_ == FileDialogKind::Open && ::access(path.c_str(), F_OK) != 0) {
    fl_alert("%s", Fl_File_Chooser::existing_file_label);
    return;
  }
  name_->value(path.c_str());
  window_->hide();
}

}  // namespace vcl::fltk
