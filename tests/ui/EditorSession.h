#pragma once
// A running editor with no display, for tests and benchmarks: recorded
// message boxes, a clock that moves when told, scripted file dialogs and the
// three windows, working in a fresh folder of its own (where "Strings.xml" is
// written when given, and where opening a WAD writes its texture dump). Drive
// the windows with vcl/User.h.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/WadFile.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "vcl/Headless.h"
#include "vcl/User.h"

namespace uitest {

// The colour of the 3D view where nothing is drawn.
inline constexpr std::uint32_t kClearPixel = 0xFF00FFFF;

// A fresh temporary folder, the working folder while the object lives.
struct WorkingFolder {
  WorkingFolder();
  ~WorkingFolder();
  std::filesystem::path previous, path;
};

class EditorSession {
 public:
  // stringsXml: the text of "Strings.xml" in the working folder, or none.
  explicit EditorSession(std::optional<std::string> stringsXml = std::nullopt);
  ~EditorSession() { Main_Finalize(); }

  TForm2& Form() { return *Main().Form2; }
  const std::filesystem::path& Folder() const { return folder_.path; }
  const std::vector<MessageRecord>& Boxes() const { return desktop.messages.Boxes(); }
  // Runs the application's idle handler count times: one frame each.
  void Frames(int count = 1) {
    for (int i = 0; i < count; ++i) desktop.App().Idle();
  }
  // File, "Open WAD" / "Save Wad", the dialog answered with the file.
  void Open(const std::filesystem::path& file) { Answer(file, Form().OpenLevel1); }
  void Save(const std::filesystem::path& file) { Answer(file, Form().SaveWad1); }
  // Clicks line m of the moveable list, then item a of the animation list.
  void Choose(int m, int a) {
    User::ChooseItem(Form().ListBox1, m);
    User::ChooseItem(Form().ComboBox1, a);
  }
  void ShowKeyFrame(int k) { User::TypeText(Form().SpinEdit1, IntToStr(k)); }
  void ClickPanel(int x, int y) { User::Click(Form().Panel1, x, y); }
  // A left press and release on a track bar, at a pixel along its channel.
  void PressBar(TTrackBar* bar, int along);
  // The last frame the 3D panel showed.
  const std::vector<std::uint32_t>& PanelPixels() { return Form().Panel1->Window().FramePixels(); }
  std::uint32_t PanelPixel(int x, int y) {
    return PanelPixels()[static_cast<std::size_t>(y * Form().Panel1->Window().FrameWidth() + x)];
  }
  // "Update KeyFrame", then saves as "saved.wad" in the folder and reads it back.
  WadFile CommitSaveAndRead();

  vcl::HeadlessDesktop desktop;

 private:
  void Answer(const std::filesystem::path& file, TMenuItem* item);
  WorkingFolder folder_;
};

// The two editors, of Dide commands and of state changes, with the main
// window's buttons that open them.
std::array<std::pair<TButton*, TForm*>, 2> Editors(TForm2& main);
// The lines of a list box.
std::vector<String> ListLines(const TListBox* list);
// The text of a file of the repository's data folder.
std::string DataFileText(const std::string& name);

}  // namespace uitest
