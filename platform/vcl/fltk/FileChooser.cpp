#include "vcl/fltk/FileChooser.h"

#include <string>

#include <FL/Fl.H>
#include <FL/Fl_File_Chooser.H>

#include "vcl/FileFilter.h"

namespace vcl::fltk {

std::optional<String> FileChoosers::Run(const FileDialogRequest& request) {
  const std::string folder = request.initialDir.IsEmpty() ? "." : request.initialDir.ToUtf8();
  const std::string filter = ChooserFilter(request.filter);
  const std::string title = request.title.ToUtf8();
  const int type =
      request.kind == FileDialogKind::Save ? Fl_File_Chooser::CREATE : Fl_File_Chooser::SINGLE;
  Fl_Group::current(nullptr);
  Fl_File_Chooser chooser(folder.c_str(), filter.empty() ? nullptr : filter.c_str(), type,
                          title.c_str());
  chooser.preview(0);
  if (!request.fileName.IsEmpty()) chooser.value(request.fileName.ToUtf8().c_str());
  chooser.show();
  while (chooser.shown()) Fl::wait();
  if (chooser.count() == 0 || !chooser.value()) return std::nullopt;
  return String::FromUtf8(chooser.value());
}

}  // namespace vcl::fltk
