#pragma once
// Where a file dialog starts, and which file a name typed into it names. Both
// the desktop's dialog and the toolkit's own chooser go by these rules, so a
// name means the same file whichever of the two the user sees.

#include "vcl/Dialogs.h"

namespace vcl {

// Names the folder the user started the program from, for a launcher that
// changes the program's working folder before starting it.
inline constexpr const char* kStartFolderVariable = "VCL_START_FOLDER";

// The folder the program was started from: the folder VCL_START_FOLDER names
// when it names one, else the working folder.
String StartFolder();

// The folder a dialog shows first: its initial folder, else the folder of its
// file name, else the start folder. Always a full path.
String DialogFolder(const FileDialogRequest& request);

// The file a dialog shows chosen at first: its file name's last part in the
// folder it shows; empty when it has no file name.
String PresetFile(const FileDialogRequest& request);

// A name typed into a dialog: a full path names itself, any other name (a
// bare name, or a path such as "../wads/lara.wad") is taken within the folder
// the dialog shows. "." and ".." are resolved by name; a trailing separator
// is kept, since it marks a folder.
String ResolveTypedName(const String& typed, const String& folder);

}  // namespace vcl
