#pragma once
// File dialogs on screen: the desktop's own file dialog where the toolkit can
// reach it (GTK), else the toolkit's own chooser; both start in the dialog's
// folder, show the program's filter and answer with the file the user named.

#include "vcl/Dialogs.h"

namespace vcl::fltk {

class FileChoosers : public FileDialogService {
 public:
  std::optional<String> Run(const FileDialogRequest& request) override;
};

}  // namespace vcl::fltk
