#pragma once
// Captions and captioned frames: labels, group boxes and radio groups. They
// show text and hold controls; they take no input of their own.

#include "vcl/Controls.h"

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* owner) : TControl(owner) {}
};

// A captioned frame around other controls.
class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TComponent* owner) : TWinControl(owner) {}
};

// A captioned frame, drawn as a group box; the editor uses it for its caption.
class TRadioGroup : public TGroupBox {
 public:
  explicit TRadioGroup(TComponent* owner) : TGroupBox(owner) {}
};
