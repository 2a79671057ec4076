#pragma once
// Message boxes on screen: an application-modal dialog with the caption,
// the text, the style's icon and an OK button, wide enough for its text and
// for its caption in the title bar, over the form window shown last.

#include "win32/MessageBox.h"

namespace vcl::fltk {

class MessageDialogs : public MessageService {
 public:
  int Show(HWND owner, const MessageRecord& box) override;
};

}  // namespace vcl::fltk
