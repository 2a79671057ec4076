#include "ui/MessageBoxes.h"

#include <array>

#include "ui/AnimCommForm.h"
#include "ui/ChangeForm.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"

namespace {

// Disables the editor's windows for its lifetime and then gives each back the
// state it had.
class InputBlock {
 public:
  InputBlock() {
    if (!MainIsInitialized()) return;
    const MainUnit& unit = Main();
    const std::array<TCustomForm*, 3> forms{unit.Form2, unit.Form1, unit.Form3};
    for (std::size_t i = 0; i < forms.size(); ++i) {
      if (forms[i] == nullptr || !forms[i]->GetEnabled()) continue;
      forms[i]->SetEnabled(false);
      blocked_[i] = forms[i];
    }
  }
  ~InputBlock() {
    for (TCustomForm* form : blocked_)
      if (form != nullptr) form->SetEnabled(true);
  }
  InputBlock(const InputBlock&) = delete;
  InputBlock& operator=(const InputBlock&) = delete;

 private:
  std::array<TCustomForm*, 3> blocked_{};
};

}  // namespace

int ShowMessageBox(const String& text, const String& caption, UINT type) {
  InputBlock block;
  return MessageBoxW(nullptr, text.c_str(), caption.c_str(), type);
}
