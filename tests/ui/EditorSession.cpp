#include "EditorSession.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "ui/EditorEntry.h"

namespace uitest {

namespace {

std::filesystem::path MakeWorkingFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "wadeditor-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  return pattern;
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

}  // namespace

EditorSession::EditorSession(std::optional<std::string> stringsXml)
    : previousFolder_(std::filesystem::current_path()), folder_(MakeWorkingFolder()) {
  std::filesystem::current_path(folder_);
  if (stringsXml) WriteText(folder_ / "Strings.xml", *stringsXml);
  Main_Initialize();
  CreateEditorForms();
  Form().Show();
}

EditorSession::~EditorSession() {
  Main_Finalize();
  std::filesystem::current_path(previousFolder_);
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void EditorSession::Frames(int count) {
  for (int i = 0; i < count; ++i) desktop.App().Idle();
}

void EditorSession::Open(const std::filesystem::path& file) {
  desktop.dialogs.Answer(String::FromUtf8(file.string()));
  User::ChooseMenuItem(Form().OpenLevel1);
}

void EditorSession::Save(const std::filesystem::path& file) {
  desktop.dialogs.Answer(String::FromUtf8(file.string()));
  User::ChooseMenuItem(Form().SaveWad1);
}

void EditorSession::Choose(int moveable, int animation) {
  User::ChooseItem(Form().ListBox1, moveable);
  User::ChooseItem(Form().ComboBox1, animation);
}

void EditorSession::ShowKeyFrame(int keyFrame) {
  User::TypeText(Form().SpinEdit1, IntToStr(keyFrame));
}

void EditorSession::PressBar(TTrackBar* bar, int along) {
  const int across = bar->GetWidth() / 2;
  User::MouseDown(bar, mbLeft, {}, across, along);
  User::MouseUp(bar, mbLeft, {}, across, along);
}

void EditorSession::ClickPanel(int x, int y) { User::Click(Form().Panel1, x, y); }

std::uint32_t EditorSession::PanelPixel(int x, int y) const {
  const vcl::PanelWindow& window = Main().Form2->Panel1->Window();
  return window.FramePixels()[static_cast<std::size_t>(y * window.FrameWidth() + x)];
}

const std::vector<std::uint32_t>& EditorSession::PanelPixels() const {
  return Main().Form2->Panel1->Window().FramePixels();
}

std::vector<String> ListLines(const TListBox* list) {
  std::vector<String> lines;
  for (int i = 0; i < list->GetItems()->GetCount(); ++i) lines.push_back((*list->GetItems())[i]);
  return lines;
}

std::string DataFileText(const std::string& name) {
  std::ifstream in(std::filesystem::path(UI_DATA_DIR) / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace uitest
