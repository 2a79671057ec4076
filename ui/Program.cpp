// The editor program: the one place that opens the screen, creates the
// application on it and runs the editor's windows.

#include <cstdio>

#include "ui/EditorEntry.h"
#include "ui/MainUnit.h"
#include "vcl/Application.h"
#include "vcl/Screen.h"

int main() {
  std::unique_ptr<vcl::Backend> screen = vcl::CreateScreenBackend();
  if (screen == nullptr) {
    std::fputs(
        "wadanimeditor: no display to open its window on; set DISPLAY, or run it on a "
        "virtual one with xvfb-run\n",
        stderr);
    return 1;
  }
  TApplication application(std::move(screen));
  Main_Initialize();
  const int result = WinMain();
  Main_Finalize();
  return result;
}
