#pragma once
// Message boxes on screen: an application-modal dialog with the caption,
// the text, the style's icon and an OK button.

#include "win32/MessageBox.h"

namespace vcl::fltk {

class MessageDialogs : public MessageService {
 public:
  int Show(HWND owner, const MessageRecord& box) override;
};

}  // namespace vcl::fltk
