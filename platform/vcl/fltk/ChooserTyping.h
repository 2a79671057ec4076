#pragma once
// The toolkit's own file chooser (shown where the desktop has no dialog the
// toolkit can use) rewrites its name field as the user types: it takes a
// relative name from the program's working folder, not the folder it shows,
// and changes folder at every separator, so names typed over the preset one,
// relative paths and paths typed from their leading separator come out
// garbled or refused. While an object of this class lives, the chooser leaves
// the typed text alone until Enter or OK, then takes it by the dialog rules
// (vcl/DialogPaths.h): a folder is opened; an existing file, or any file for
// a save, is chosen. Its filters are shown in the forms' UI font, whole.
// Nothing changes when the desktop's dialog shows instead.

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
