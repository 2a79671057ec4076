#include "scene/KeyFrameCages.h"

#include <array>

#include "d3d/Device8.h"
#include "d3d8/D3DXTexture.h"
#include "scene/DisplayUnits.h"

namespace {

constexpr int kTileCount = 10;
constexpr float kTileSize = 512.0f;
constexpr int kTextureRectSize = 64;
constexpr DWORD kCalculatedCageGroup = 0;
constexpr int kRenderByFlags = 0;

struct Corner {
  float x, y, z;
};

// Adds a quad with its corners in strip order, texturing it with the whole
// rectangle (0, 0, 64, 64) of the texture when there is one.
void AddQuad(dxBufferTextura& buffer, DWORD flags, DWORD group, IDirect3DTexture8* texture,
             const std::array<Corner, 4>& corners) {
  auto quad = std::make_unique<dxCuadradoTex>(flags, group);
  quad->SetTextureRect(texture, 0, 0, kTextureRectSize, kTextureRectSize);
  for (const Corner& c : corners) quad->AddVertex(c.x, c.y, c.z);
  if (SUCCEEDED(buffer.AddPolygon(quad.get()))) quad.release();
}

// The four wireframe quads of a box in WAD units, which between them hold
// its twelve edges.
using CageBox = std::array<std::int32_t, 6>;

void AddCage(dxBufferTextura& buffer, dxDevice8& device, const CageBox& box, DWORD group) {
  const DisplayPoint a = ToDisplay(box[0], box[1], box[2]);
  const DisplayPoint b = ToDisplay(box[3], box[4], box[5]);
  const float x1 = a.x, y1 = a.y, z1 = a.z, x2 = b.x, y2 = b.y, z2 = b.z;
  const std::array<std::array<Corner, 4>, 4> quads{{
      {{{x1, y2, z1}, {x1, y1, z1}, {x2, y2, z1}, {x2, y1, z1}}},
      {{{x1, y2, z2}, {x1, y1, z2}, {x2, y2, z2}, {x2, y1, z2}}},
      {{{x1, y2, z2}, {x1, y2, z1}, {x1, y1, z2}, {x1, y1, z1}}},
      {{{x2, y2, z2}, {x2, y2, z1}, {x2, y1, z2}, {x2, y1, z1}}},
  }};
  for (const auto& corners : quads)
    AddQuad(buffer, POLY_WIREFRAME, group, device.LoadTexture(kCageTextureName), corners);
}

}  // namespace

KeyFrameCages::KeyFrameCages() = default;

KeyFrameCages::~KeyFrameCages() {
  if (floorTexture != nullptr) floorTexture->Release();
}

void KeyFrameCages::BuildKeyFrameBoxes(dxDevice8& device, const AnimationModel& animaciones) {
  keyFrameBoxList.reset();
  keyFrameBoxList = std::make_unique<dxBufferTextura>();
  DWORD group = 0;
  for (const auto& anim : animaciones) {
    if (!anim) continue;
    for (const KeyFrame& keyFrame : anim->keyFrames)
      AddCage(*keyFrameBoxList, device,
              CageBox{keyFrame.box[0], keyFrame.box[1], keyFrame.box[2], keyFrame.box[3],
                      keyFrame.box[4], keyFrame.box[5]},
              group++);
  }
  device.AddBuffer(keyFrameBoxList.get());
}

void KeyFrameCages::BuildBoundsBox(dxDevice8& device, std::int32_t x1, std::int32_t y1,
                                   std::int32_t z1, std::int32_t x2, std::int32_t y2,
                                   std::int32_t z2) {
  boundsBoxList.reset();
  boundsBoxList = std::make_unique<dxBufferTextura>();
  AddCage(*boundsBoxList, device, CageBox{x1, y1, z1, x2, y2, z2}, kCalculatedCageGroup);
  device.AddBuffer(boundsBoxList.get());
}

void KeyFrameCages::BuildFloorGrid(dxDevice8& device, const wchar_t* textureFile) {
  floorGridList.reset();
  if (floorTexture != nullptr) {
    floorTexture->Release();
    floorTexture = nullptr;
  }
  if (device.GetDevice() != nullptr &&
      FAILED(D3DXCreateTextureFromFileW(device.GetDevice(), textureFile, &floorTexture)))
    floorTexture = nullptr;
  floorGridList = std::make_unique<dxBufferTextura>();
  for (int i = 0; i < kTileCount; ++i) {
    for (int j = 0; j < kTileCount; ++j) {
      const float x0 = kTileSize * i, x1 = kTileSize * (i + 1);
      const float z0 = kTileSize * j, z1 = kTileSize * (j + 1);
      AddQuad(*floorGridList, POLY_CULL_CCW, 0, floorTexture,
              {Corner{x0, 0, z1}, Corner{x1, 0, z1}, Corner{x0, 0, z0}, Corner{x1, 0, z0}});
    }
  }
  device.AddBuffer(floorGridList.get());
}

void KeyFrameCages::DrawKeyFrameBox(dxDevice8& device, const AnimationModel& animaciones,
                                    std::int32_t g, std::int32_t k, std::int32_t panX,
                                    std::int32_t panY, std::int32_t unused, float rotY,
                                    float rotX, float zoom, bool calculated) {
  dxBufferTextura* cages = calculated ? boundsBoxList.get() : keyFrameBoxList.get();
  if (cages == nullptr) return;
  DWORD group = kCalculatedCageGroup;
  if (!calculated) {
    const auto shown = static_cast<std::size_t>(g);
    if (g < 0 || shown >= animaciones.size() || !animaciones[shown] || k < 0 ||
        static_cast<std::size_t>(k) >= animaciones[shown]->keyFrames.size())
      return;
    std::size_t before = 0;
    for (std::size_t a = 0; a < shown; ++a)
      if (animaciones[a]) before += animaciones[a]->keyFrames.size();
    group = static_cast<DWORD>(before + static_cast<std::size_t>(k));
  }
  cages->ResetWorld();
  cages->Translate(static_cast<float>(panX), static_cast<float>(panY), 0.0f);
  cages->RotateY(rotY);
  cages->RotateX(rotX);
  cages->Scale(zoom);
  device.Render(cages, kRenderByFlags, group);
}
