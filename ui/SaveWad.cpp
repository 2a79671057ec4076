// File, "Save Wad": encodes the committed animation model and the anim
// commands into the WAD record and writes it under the chosen name, with
// ".wad" added unless the name already ends in it. The file a symbolic link
// names is replaced; a name that cannot be replaced whole is refused, and the
// message says why.

#include "model/KeyFrameStream.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"

namespace {

const String kWadExtension = L".wad";

// Only the lower-case ending counts: "A.WAD" is saved as "A.WAD.wad".
bool EndsInWad(const String& name) {
  const std::wstring& text = name.Wide();
  const std::wstring& ending = kWadExtension.Wide();
  return text.size() >= ending.size() &&
         text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// The edited model and commands into the WAD record; a model that cannot be
// encoded is refused with the reason, and the record keeps what it held.
bool EncodeModel(MainUnit& M) {
  EncodeResult result = RebuildKeyFrameData(M.animaciones, M.wadfile);
  if (result) result = EncodeAnimCommands(M.comandos, M.wadfile);
  if (!result)
    ShowMessageBox(String(L"The WAD cannot be saved: ") + String::FromUtf8(result.message),
                   L"Warning", MB_OK | MB_ICONEXCLAMATION);
  return result.ok;
}

}  // namespace

void TForm2::SaveWad1Click(TObject* Sender) {
  MainUnit& M = Main();
  // Only a WAD that was read can be written.
  if (M.wadfile.version != kWadVersion) return;
  SaveDialog1->SetTitle(L"Save WAD File...");
  SaveDialog1->SetFilter(L"Tomb Raider WAD Files|*.wad");
  SaveDialog1->SetInitialDir(M.lastFolder);
  if (!SaveDialog1->Execute()) return;
  if (!EncodeModel(M)) return;
  const String chosen = SaveDialog1->GetFileName();
  const String written = EndsInWad(chosen) ? chosen : chosen + kWadExtension;
  std::string why;
  if (WriteWad(ToNarrowString(written), M.wadfile, &why) == 0) {
    ShowMessageBox(String(L"The file could not be written: ") + written + L"\n" + String::FromUtf8(why),
                   M.loadErrorCaption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  M.captionText = written;
  SetText(M.captionText);
  M.lastFolder = FolderOf(written);
  ShowMessageBox(L"File Saved", L"Ulvo Dide Rizid", MB_OK);
}
