#include "vcl/fltk/FileChooser.h"

#include <string>

#include <FL/Fl_Group.H>
#include <FL/Fl_Native_File_Chooser.H>

#include "vcl/DialogPaths.h"
#include "vcl/FileFilter.h"
#include "vcl/fltk/ChooserTyping.h"
#include "vcl/fltk/OwnerWindows.h"

namespace vcl::fltk {

std::optional<String> FileChoosers::Run(const FileDialogRequest& request) {
  const bool save = request.kind == FileDialogKind::Save;
  const std::string folder = DialogFolder(request).ToUtf8();
  const std::string preset = PresetFile(request).ToUtf8();
  const std::string filter = ChooserFilter(request.filter);
  const std::string title = request.title.ToUtf8();

  Fl_Group::current(nullptr);
  Fl_Native_File_Chooser chooser(save ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                                      : Fl_Native_File_Chooser::BROWSE_FILE);
  chooser.title(title.c_str());
  if (!filter.empty()) chooser.filter(filter.c_str());
  chooser.directory(folder.c_str());
  // The folder is set apart from the name, so the chooser shows it as a
  // folder and a name typed over the preset one lands in it.
  if (!preset.empty()) chooser.preset_file(preset.c_str());

  ChooserTyping typing(request.kind);
  // Transient for the form window shown last: the window manager keeps the
  // dialog in front of it.
  OpenOver(TopFormWindow());
  if (chooser.show() != 0) return std::nullopt;
  const char* chosen = chooser.filename();
  if (chosen == nullptr || *chosen == '\0') return std::nullopt;
  return ResolveTypedName(String::FromUtf8(chosen), typing.FolderShown(String::FromUtf8(folder)));
}

}  // namespace vcl::fltk
