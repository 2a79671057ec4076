// Start-up of the main window's unit and window: the unit's state (and the
// file-size signal, which must not end the program), the Direct3D device on
// the 3D panel, the idle handler, "Strings.xml", the statistics font and the
// floor grid.

#include <cassert>
#include <csignal>
#include <filesystem>

#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"
#include "ui/ViewProjection.h"
#include "xml/XML.h"

namespace {

std::unique_ptr<MainUnit> unit;

constexpr DWORD kHardwareVertexProcessing = 0x40;
constexpr float kDragSpeed = 1.2f;
constexpr float kStartZoom = 6.0f;
constexpr const char* kStringsFile = "Strings.xml";

}  // namespace

float ViewAspect(int width, int height) {
  if (height <= 0) return 1.0f;
  const int whole = width / height;
  return whole != 0 ? static_cast<float>(whole)
                    : static_cast<float>(width) / static_cast<float>(height);
}

MainUnit::MainUnit() = default;
MainUnit::~MainUnit() = default;

MainUnit& Main() {
  assert(unit != nullptr);
  return *unit;
}

bool MainIsInitialized() { return unit != nullptr; }

void Main_Initialize() {
  // A file that outgrows the user's file-size limit would otherwise end the
  // editor, unsaved edits and all; ignored, the write fails with its error
  // and the save reports it.
  std::signal(SIGXFSZ, SIG_IGN);
  unit = std::make_unique<MainUnit>();
  unit->fpsTimer.Start();
  unit->playbackTimer.Start();
}

void Main_Finalize() { unit.reset(); }

std::string ToNarrowString(const String& wide) { return wide.ToUtf8(); }

// Through UTF-8: a path built from wide text would be converted by the C
// locale, which cannot hold names outside ASCII.
String FolderOf(const String& fileName) {
  return String::FromUtf8(std::filesystem::path(fileName.ToUtf8()).parent_path().string());
}

void TForm2::FormCreate(TObject* Sender) {
  MainUnit& M = Main();
  OpenDialog1->SetFilter(L"wad file| *.wad");
  for (TControl* test : std::array<TControl*, 9>{Button11, Button10, Edit11, Edit12, Edit13, Edit21,
                                                 Edit18, Edit19, Edit20})
    test->SetVisible(false);
  if (!CreateDirect3D()) {
    Application->Terminate();
    return;
  }
  Application->OnIdle = Bind(this, &TForm2::MyIdleHandler);
  M.d3dDevice->SetClearColor(kClearRed, kClearGreen, kClearBlue);
  SetViewProjection();
  M.mouseControl = std::make_unique<MouseD3D>(kDragSpeed, kStartZoom);
  M.stringsXml = std::make_unique<XML>(kStringsFile);
  CreateStatsFont(M.stats, M.d3dDevice->GetDevice());
  M.cages.BuildFloorGrid(*M.d3dDevice);
  ClearRotationUndo();
}

// Direct3D and its device on the 3D panel; without them the editor cannot
// show anything, so the user is told and the program ends.
bool TForm2::CreateDirect3D() {
  MainUnit& M = Main();
  if (FAILED(M.d3dMain.CreateD3D())) {
    ShowMessageBox(L"Direct3D 8 could not be started, so the editor cannot run.",
                   M.loadErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  dxDevice8* device = nullptr;
  const HRESULT created =
      M.d3dMain.CreateDevice(Panel1->GetHandle(), true, &device, kHardwareVertexProcessing);
  M.d3dDevice.reset(device);
  if (FAILED(created) || M.d3dDevice == nullptr || M.d3dDevice->GetDevice() == nullptr) {
    M.d3dDevice.reset();
    ShowMessageBox(
        L"The Direct3D device could not be created on the 3D view, so the editor "
        L"cannot run.",
        M.loadErrorCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  return true;
}

void TForm2::SetViewProjection() {
  const int width = GetWidth();
  const int height = GetHeight();
  Main().d3dDevice->SetProjection(kNearPlane, kFarPlane, ViewAspect(width, height), kFieldOfView,
                                  width, height);
}
