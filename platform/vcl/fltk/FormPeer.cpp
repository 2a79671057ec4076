#include "vcl/fltk/FormPeer.h"

#include <algorithm>

#include <FL/Fl.H>

#include "vcl/Application.h"
#include "vcl/Menus.h"
#include "vcl/Metrics.h"
#include "vcl/Screen.h"
#include "vcl/User.h"
#include "vcl/fltk/OwnerWindows.h"

namespace vcl::fltk {
namespace {

bool IsUserInput(int event) {
  switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
    case FL_DRAG:
    case FL_KEYBOARD:
    case FL_KEYUP:
    case FL_SHORTCUT:
    case FL_MOUSEWHEEL:
    case FL_PASTE:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE: return true;
    default: return false;
  }
}

void MenuPicked(Fl_Widget*, void* data) { User::ChooseMenuItem(static_cast<TMenuItem*>(data)); }

// Adds the items under an item: separators become dividers, items with
// sub-items submenus.
void AddItems(const TMenuItem& parent, MenuItems& menu, std::string& signature) {
  for (int i = 0; i < parent.GetCount(); ++i) {
    TMenuItem* item = parent.Item(i);
    signature += item->GetCaption().ToUtf8() + (item->GetEnabled() ? "+" : "-");
    if (item->IsLine()) {
      menu.DivideAfterLast();
      continue;
    }
    int flags = item->GetEnabled() ? 0 : FL_MENU_INACTIVE;
    if (item->GetCount() > 0) flags |= FL_SUBMENU;
    menu.Add(LabelText(item->GetCaption(), true), flags, item, MenuPicked);
    if (item->GetCount() > 0) {
      signature += "{";
      AddItems(*item, menu, signature);
      menu.EndList();
      signature += "}";
    }
  }
}

// The main form's window when it is up and the form is another: the window
// the form opens over.
Fl_Window* OpenedOver(const TCustomForm& form) {
  const TCustomForm* main = Application != nullptr ? Application->GetMainForm() : nullptr;
  if (main == nullptr || main == &form) return nullptr;
  Fl_Window* window = ScreenWindow(*main);
  return window != nullptr && window->shown() && window->visible() ? window : nullptr;
}

// Where the top of the form's window (its menu bar, or its client area)
// lies as designed.
POINT DesignedOrigin(const TCustomForm& form) {
  const POINT client = form.ClientOrigin();
  return POINT{client.x, client.y - (form.GetMenu() ? kMenuBarHeight : 0)};
}

}  // namespace

FormWindow::FormWindow(TCustomForm& form) : Fl_Window(1, 1), form_(form) {
  menuBar_ = new Fl_Menu_Bar(0, 0, 1, kMenuBarHeight);
  end();
  resizable(nullptr);
  menuBar_->textsize(kUiFontSize);
  menuBar_->hide();
  callback(Closed, this);
}

FormWindow::~FormWindow() {
  Fl::remove_timeout(Paint, this);
  FormWindowGone(*this);
}

int FormWindow::handle(int event) {
  // A disabled form takes no input.
  if (!form_.GetEnabled() && IsUserInput(event)) return 1;
  return Fl_Window::handle(event);
}

void FormWindow::hide() {
  FormWindowGone(*this);
  Fl_Window::hide();
}

void FormWindow::ShowAt(int x, int y, Fl_Window* owner) {
  position(x, y);
  clear_modal_states();
  if (owner != nullptr) {
    // Placed by the program, not by the window manager's own rule.
    force_position(1);
    set_non_modal();
    OpenOver(owner);
  }
  show();
  FormWindowShown(*this);
  if (form_.GetBorderStyle() == bsDialog) AskForDialogTitleBar(*this);
}

void FormWindow::draw() {
  if ((damage() & (FL_DAMAGE_ALL | FL_DAMAGE_EXPOSE)) && !paintPending_) {
    paintPending_ = true;
    Fl::add_timeout(0.0, Paint, this);
  }
  Fl_Window::draw();
}

void FormWindow::Closed(Fl_Widget*, void* data) {
  // The toolkit closes windows on Escape too; a form closes only from its
  // close button.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  auto* window = static_cast<FormWindow*>(data);
  User::CloseWindow(&window->form_);
}

void FormWindow::Paint(void* data) {
  auto* window = static_cast<FormWindow*>(data);
  window->paintPending_ = false;
  User::PaintWindow(&window->form_);
}

FormPeer::FormPeer(TCustomForm& form) : WidgetPeer(form, new FormWindow(form)), form_(form) {}

void FormPeer::Sync() {
  FormWindow* window = Window();
  const int menuBar = form_.GetMenu() ? kMenuBarHeight : 0;
  const int width = form_.GetClientWidth();
  const int height = form_.GetClientHeight() + menuBar;
  if (window->w() != width || window->h() != height) {
    window->size(width, height);
    window->size_range(width, height, width, height);
  }
  const std::string caption = form_.GetText().ToUtf8();
  if (!window->label() || caption != window->label()) window->copy_label(caption.c_str());
  SyncMenu();
  if (form_.GetVisible() && !window->shown()) ShowWindow();
  if (!form_.GetVisible() && window->shown()) window->hide();
  // Showing a shown window raises it: the active form comes to the front.
  const bool active = form_.GetActive() && window->shown();
  if (active && !shownActive_) window->show();
  shownActive_ = active;
}

// Over the main window, a form keeps its designed place relative to it,
// within the screen.
void FormPeer::ShowWindow() {
  Fl_Window* owner = OpenedOver(form_);
  int x = form_.GetLeft(), y = form_.GetTop();
  if (owner != nullptr) {
    const POINT at = DesignedOrigin(form_);
    const POINT ownerAt = DesignedOrigin(*Application->GetMainForm());
    x = owner->x() + at.x - ownerAt.x;
    y = owner->y() + at.y - ownerAt.y;
    int left = 0, top = 0, width = 0, height = 0;
    Fl::screen_work_area(left, top, width, height, owner->x(), owner->y());
    x = std::clamp(x, left, std::max(left, left + width - Window()->w()));
    y = std::clamp(y, top, std::max(top, top + height - Window()->h()));
  }
  Window()->ShowAt(x, y, owner);
}

void FormPeer::SyncMenu() {
  Fl_Menu_Bar* bar = Window()->MenuBar();
  const TMainMenu* mainMenu = form_.GetMenu();
  if (!mainMenu) {
    bar->hide();
    return;
  }
  MenuItems menu;
  std::string signature;
  AddItems(*mainMenu->GetItems(), menu, signature);
  menu.EndList();
  bar->resize(0, 0, form_.GetClientWidth(), kMenuBarHeight);
  bar->show();
  if (signature == shownMenu_) return;
  menu_ = std::move(menu);
  shownMenu_ = signature;
  bar->menu(menu_.Array());
  bar->redraw();
}

}  // namespace vcl::fltk
