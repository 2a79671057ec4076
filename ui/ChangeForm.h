#pragma once
// The State Change Editor window. It exists from start-up on, hidden; its
// controls and handlers come with the state-change editing.

#include "vcl/Vcl.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner);
};
