#pragma once
// The Dide Command Editor window. It exists from start-up on, hidden; its
// controls and handlers come with the anim-command editing.

#include "vcl/Vcl.h"

class TForm3 : public TForm {
 public:
  explicit TForm3(TComponent* owner);
};
