#pragma once
// File dialogs on screen: the toolkit's file chooser, with the program's
// filter translated.

#include "vcl/Dialogs.h"

namespace vcl::fltk {

class FileChoosers : public FileDialogService {
 public:
  std::optional<String> Run(const FileDialogRequest& request) override;
};

}  // namespace vcl::fltk
