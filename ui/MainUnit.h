#pragma once
// What the main window's unit keeps for the whole run: its texts, the
// Direct3D objects, the open WAD and everything built from it, the selection
// and view, the timers, the rotation undo stack and the three windows.
//
// It is one object, created by Main_Initialize and destroyed by Main_Finalize,
// so that every run of the editor (the program, or a test session) starts from
// the same state. The members are declared in build order: what is built from
// a member comes after it and so is destroyed before it.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "d3d/Direct3DMain.h"
#include "d3d/MouseD3D.h"
#include "d3d/Ms3dModel.h"
#include "model/AnimCommands.h"
#include "model/AnimationModel.h"
#include "model/WadFile.h"
#include "scene/KeyFrameCages.h"
#include "scene/MeshList.h"
#include "scene/MoveableView.h"
#include "scene/StatsFont.h"
#include "scene/TextureInfo.h"
#include "scene/TexturePages.h"
#include "ui/FrameTimer.h"
#include "ui/RotationUndo.h"
#include "vcl/String.h"

class XML;
class TForm1;
class TForm2;
class TForm3;

// Statistics lines of the 3D view: five narrow lines of 30 bytes.
inline constexpr int kStatsLineCount = 5;
inline constexpr std::size_t kStatsLineBytes = 30;

struct MainUnit {
  MainUnit();
  ~MainUnit();
  MainUnit(const MainUnit&) = delete;
  MainUnit& operator=(const MainUnit&) = delete;

  String captionText{L"Ulvo Dide Rizid 1.3"};
  String loadErrorText{L"No se puede cargar el archivo TR4"};
  String loadErrorCaption{L"Error"};

  // Direct3D and what draws with it for the whole run.
  dxMain d3dMain;
  std::unique_ptr<dxDevice8> d3dDevice;
  StatsFont stats;
  KeyFrameCages cages;
  std::unique_ptr<MouseD3D> mouseControl;
  std::unique_ptr<XML> stringsXml;
  FrameTimer fpsTimer;
  FrameTimer playbackTimer;
  std::array<std::array<char, kStatsLineBytes>, kStatsLineCount> statsLines{};
  float lastFps = -1.0f;

  // The open WAD and what is built from it.
  WadFile wadfile;
  TextureInfo textureInfo;
  std::unique_ptr<trTextura> textures;
  std::unique_ptr<Lista_Mesh> meshList;
  AnimationModel animaciones;
  AnimCommandArray comandos;  // its size is NumTotalComandos
  std::vector<std::unique_ptr<wadMoveableD3D>> moveableViews;
  // Folder of the last file opened or saved: where the save dialog starts.
  String lastFolder;

  // Selection and view.
  wadMoveableD3D* currentMoveable = nullptr;
  int currentAnimation = 0;  // within the moveable; -1 for none
  int _Animacion = 0;        // global index of the chosen animation
  int pivoteAnimacion = 0;   // global index of the moveable's first animation
  bool isPlaying = false;
  std::vector<dxBufferTextura*> selectedBuffers;  // one per mesh of the moveable shown
  std::array<float, 2> viewRotation{};            // about Y, about X
  float viewZoom = 6.0f;
  std::array<float, 2> viewPan{};
  bool showCalculatedBounds = false;
  int pickedMesh = 0;  // position in selectedBuffers; -1 once forgotten
  bool suppressTrackBarWrite = false;
  bool skipNextTrackBar1Write = false;
  RotationUndoStack RotationUndo;
  // The last keyframe copied, a copy of its own, and the moveable it came from.
  std::optional<KeyFrame> keyFrameClipboard;
  int copySourceMoveable = 0;

  // The Animation Wizard's last run: the animation's keyframes before it, its
  // Length, and the animation it changed (moveable line, index within it).
  AnimKeyFrames wizardUndoFrames;
  int wizardUndoLength = 0;
  int wizardUndoMoveable = -1;
  int wizardUndoAnimation = -1;
  // The model the test controls read.
  Ms3dModel ms3dModel;

  TForm2* Form2 = nullptr;
  TForm1* Form1 = nullptr;
  TForm3* Form3 = nullptr;
};

// The unit of the running editor; only valid between Main_Initialize and Main_Finalize.
MainUnit& Main();
bool MainIsInitialized();

// Creates the unit and starts its timers; Main_Finalize destroys it.
void Main_Initialize();
void Main_Finalize();

// A file name as the file functions take it: the UTF-8 form of the whole name.
std::string ToNarrowString(const String& wide);

// The folder part of a file name (empty for a bare name).
String FolderOf(const String& fileName);
