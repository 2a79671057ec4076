#pragma once
// A toolkit menu built from captions: the item array and the label texts it
// points at, kept together for as long as a menu widget shows them.

#include <deque>
#include <string>
#include <vector>

#include <FL/Fl_Menu_Item.H>

namespace vcl::fltk {

class MenuItems {
 public:
  // Appends an item; flags are the toolkit's (FL_SUBMENU, FL_MENU_INACTIVE,
  // ...). Choosing it calls the callback with the data, or without a
  // callback the menu widget's own.
  void Add(const std::string& label, int flags, void* data, Fl_Callback* callback = nullptr);
  // Ends the list of a submenu, or of the whole menu.
  void EndList();
  // Marks the last item added with a divider line below it.
  void DivideAfterLast();
  bool Empty() const { return items_.empty(); }
  const Fl_Menu_Item* Array() const { return items_.data(); }

 private:
  std::deque<std::string> labels_;
  std::vector<Fl_Menu_Item> items_;
};

}  // namespace vcl::fltk
