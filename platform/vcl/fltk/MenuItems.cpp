#include "vcl/fltk/MenuItems.h"

#include <FL/Fl.H>

#include "vcl/Metrics.h"

namespace vcl::fltk {

void MenuItems::Add(const std::string& label, int flags, void* data, Fl_Callback* callback) {
  labels_.push_back(label);
  Fl_Menu_Item item{};
  item.text = labels_.back().c_str();
  item.callback_ = callback;
  item.user_data_ = data;
  item.flags = flags;
  item.labelfont_ = FL_HELVETICA;
  item.labelsize_ = kUiFontSize;
  items_.push_back(item);
}

void MenuItems::EndList() { items_.push_back(Fl_Menu_Item{}); }

void MenuItems::DivideAfterLast() {
  if (!items_.empty() && items_.back().text) items_.back().flags |= FL_MENU_DIVIDER;
}

}  // namespace vcl::fltk
