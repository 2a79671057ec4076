#pragma once
// The toolkit's own file chooser, the one shown where the desktop has no file
// dialog the toolkit can use, rewrites its name field while the user types:
// it takes a relative name from the program's working folder instead of the
// folder it shows and changes folder at every separator typed, so a name
// typed over the preset one, a relative path or a path typed from its
// leading separator ends up garbled or refused. While an object of this
// class lives, the chooser leaves the typed text alone until Enter or OK, and
// then takes it as the dialog rules say (vcl/DialogPaths.h): a folder is
// opened, an existing file (any file, for a save) is chosen. It also sizes
// the chooser's filter list to the forms' UI font, so the filter shows whole.
// Nothing changes when the desktop's dialog is shown instead.

#include <optional>

#include "vcl/Dialogs.h"

class Fl_Button;
class Fl_File_Chooser;
class Fl_File_Input;
class Fl_Widget;
class Fl_Window;

namespace vcl::fltk {

class ChooserTyping {
 public:
  explicit ChooserTyping(FileDialogKind kind);
  ~ChooserTyping();
  ChooserTyping(const ChooserTyping&) = delete;
  ChooserTyping& operator=(const ChooserTyping&) = delete;

  // The folder the toolkit's chooser shows (while the dialog object that
  // owns it lives), or the given one when it was not shown.
  String FolderShown(const String& otherwise) const;

 private:
  // Runs whenever the toolkit waits for events: takes over the chooser once
  // it is up.
  static void LookForChooser(void* data);
  void TakeOver(Fl_Window& window);
  static void NameTyped(Fl_Widget* widget, void* data);
  static void OkPressed(Fl_Widget* widget, void* data);
  void Accept();

  FileDialogKind kind_;
  Fl_Window* window_ = nullptr;
  Fl_File_Chooser* chooser_ = nullptr;
  Fl_File_Input* name_ = nullptr;
  Fl_Button* ok_ = nullptr;
};

}  // namespace vcl::fltk
