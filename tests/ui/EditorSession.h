#pragma once
// A running editor with no display, for tests and benchmarks: recorded
// message boxes, a clock that moves when told, scripted file dialogs, the
// main window's unit and the three windows, working in a fresh folder of its
// own (where "Strings.xml" is written when given, and where opening a WAD
// writes its texture dump). Drive the windows with vcl/User.h.

#include <filesystem>
#include <optional>
#include <string>

#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "vcl/Headless.h"
#include "vcl/User.h"

namespace uitest {

// The colour of the 3D view where nothing is drawn.
inline constexpr std::uint32_t kClearPixel = 0xFF00FFFF;

class EditorSession {
 public:
  // stringsXml: the text of "Strings.xml" in the working folder, or none.
  explicit EditorSession(std::optional<std::string> stringsXml);
  ~EditorSession();
  EditorSession(const EditorSession&) = delete;
  EditorSession& operator=(const EditorSession&) = delete;

  TForm2& Form() { return *Main().Form2; }
  const std::filesystem::path& Folder() const { return folder_; }

  // Runs the application's idle handler count times: one frame each.
  void Frames(int count = 1);
  // File, "Open WAD" / "Save Wad", the dialog answered with the file.
  void Open(const std::filesystem::path& file);
  void Save(const std::filesystem::path& file);
  // Clicks line m of the moveable list, then item a of the animation list.
  void Choose(int moveable, int animation);
  // Types a keyframe number into the keyframe field.
  void ShowKeyFrame(int keyFrame);
  // A left press and release on a track bar, at a pixel along its channel.
  void PressBar(TTrackBar* bar, int along);
  // Clicks the 3D panel at a pixel.
  void ClickPanel(int x, int y);
  // The last frame the 3D panel showed.
  const std::vector<std::uint32_t>& PanelPixels() const;
  std::uint32_t PanelPixel(int x, int y) const;

  vcl::HeadlessDesktop desktop;

 private:
  std::filesystem::path previousFolder_;
  std::filesystem::path folder_;
};

// The lines of a list box.
std::vector<String> ListLines(const TListBox* list);

// The text of a file of the repository's data folder.
std::string DataFileText(const std::string& name);

}  // namespace uitest
