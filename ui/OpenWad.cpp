// File, "Open WAD": reads the chosen file and builds everything drawn from it
// (texture pages, mesh buffers, the animation model, the anim commands, one
// view per moveable, the keyframe cages) and the moveable list.
//
// The file is read into a record of its own first; only when that succeeded is
// the open WAD replaced, so a file that cannot be read leaves the editor as it
// was, unsaved edits included. The message then says why under its first
// line; nothing that is not a regular file is waited on.

#include "model/KeyFrameStream.h"
#include "scene/MeshParser.h"
#include "ui/Main.h"
#include "ui/MainUnit.h"
#include "ui/MessageBoxes.h"
#include "ui/MoveableNames.h"

namespace {

constexpr int kWadMeshFormat = 2;

// The mesh words as the bytes they were in the file.
std::vector<std::uint8_t> MeshBytes(const std::vector<std::uint16_t>& words) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(words.size() * 2);
  for (std::uint16_t word : words) {
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(word >> 8));
  }
  return bytes;
}

}  // namespace

void TForm2::OpenLevel1Click(TObject* Sender) {
  MainUnit& M = Main();
  if (M.d3dDevice == nullptr) return;
  OpenDialog1->SetTitle(L"Open WAD File");
  OpenDialog1->SetFilter(L"Tomb Raider WAD File|*.wad");
  if (!OpenDialog1->Execute()) return;
  const String fileName = OpenDialog1->GetFileName();
  WadFile read;
  std::string why;
  if (ReadWad(ToNarrowString(fileName), read, &why) == 0) {
    ShowMessageBox(M.loadErrorText + L"\n" + String::FromUtf8(why), M.loadErrorCaption, MB_OK);
    return;
  }
  ForgetSelection();
  M.moveableViews.clear();
  M.meshList.reset();
  M.textures.reset();
  M.textureInfo = TextureInfo{};
  M.animaciones.clear();
  M.comandos.clear();
  M.wadfile = std::move(read);
  const WadFile& wad = M.wadfile;
  dxDevice8& device = *M.d3dDevice;

  LoadTextureInfo(M.textureInfo, wad.textureBytes.data(), wad.numTextureBytes());
  M.textures = std::make_unique<trTextura>(M.textureInfo);
  DumpTexturePages(M.textureInfo);
  M.textures->CreateTextures(&device);
  const std::vector<std::uint8_t> meshBytes = MeshBytes(wad.meshWords);
  if (ParseMeshData(meshBytes.data(), static_cast<std::uint32_t>(meshBytes.size()), M.meshList,
                    kWadMeshFormat) == 0)
    M.meshList = std::make_unique<Lista_Mesh>(kWadMeshFormat);
  std::uint32_t keyFrameTotal = 0;
  DecodeKeyFrames(M.animaciones, wad, keyFrameTotal);
  M.comandos = DecodeAnimCommands(wad);
  M.meshList->BuildD3D(device, *M.textures, wad);

  ListBox1->Clear();
  ComboBox1->Clear();
  for (std::uint32_t i = 0; i < wad.numMoveables(); ++i) {
    auto view = std::make_unique<wadMoveableD3D>(&wad, static_cast<std::int32_t>(i),
                                                 M.meshList.get(), wadMoveableD3D::kModeRootMotion);
    view->BuildHierarchy();
    const WadMoveable& moveable = wad.moveables[i];
    view->LoadAnimations(M.animaciones, moveable.animIndex,
                         static_cast<std::int32_t>(CountMoveableAnimations(wad, i)), false);
    M.moveableViews.push_back(std::move(view));
    const std::string name = MoveableName(M.stringsXml.get(), moveable.objectId);
    ListBox1->AddItem(IntToStr(static_cast<int>(i)) + L"-" + String::FromUtf8(name), nullptr);
  }
  M.cages.BuildKeyFrameBoxes(device, M.animaciones);

  M.captionText = fileName;
  SetText(M.captionText);
  M.lastFolder = FolderOf(fileName);
  ClearRotationUndo();
  DisableWizardUndo();
  M.currentAnimation = 0;
}

// Nothing of the WAD being replaced stays chosen, picked or highlighted.
void TForm2::ForgetSelection() {
  MainUnit& M = Main();
  M.showCalculatedBounds = false;
  M.currentMoveable = nullptr;
  M.selectedBuffers.clear();
  M.pickedMesh = -1;
  for (TTrackBar* bar : {TrackBar1, TrackBar2, TrackBar3}) bar->SetEnabled(false);
}
