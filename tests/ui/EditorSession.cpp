#include "EditorSession.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "ui/AnimCommForm.h"
#include "ui/ChangeForm.h"
#include "ui/EditorEntry.h"

namespace uitest {

WorkingFolder::WorkingFolder() : previous(std::filesystem::current_path()) {
  std::string pattern = (std::filesystem::temp_directory_path() / "wadeditor-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  path = pattern;
  std::filesystem::current_path(path);
}

WorkingFolder::~WorkingFolder() {
  std::filesystem::current_path(previous);
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

EditorSession::EditorSession(std::optional<std::string> stringsXml) {
  if (stringsXml) std::ofstream(Folder() / "Strings.xml", std::ios::binary) << *stringsXml;
  Main_Initialize();
  CreateEditorForms();
  Form().Show();
}

void EditorSession::Answer(const std::filesystem::path& file, TMenuItem* item) {
  desktop.dialogs.Answer(String::FromUtf8(file.string()));
  User::ChooseMenuItem(item);
}

void EditorSession::PressBar(TTrackBar* bar, int along) {
  User::MouseDown(bar, mbLeft, {}, bar->GetWidth() / 2, along);
  User::MouseUp(bar, mbLeft, {}, bar->GetWidth() / 2, along);
}

WadFile EditorSession::CommitSaveAndRead() {
  User::Click(Form().Button2);
  Save(Folder() / "saved.wad");
  WadFile saved;
  if (ReadWad((Folder() / "saved.wad").string(), saved) == 0)
    throw std::runtime_error("the saved file cannot be read back");
  return saved;
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

std::array<std::pair<TButton*, TForm*>, 2> Editors(TForm2& main) {
  return {{{main.Button8, Main().Form3}, {main.Button7, Main().Form1}}};
}

}  // namespace uitest
