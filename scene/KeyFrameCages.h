#pragma once
// Wireframe cages of keyframe bounding boxes, and the floor grid.
//
// One buffer holds the cage of every keyframe of every animation, each cage
// tagged with its keyframe's running number over all animations (global
// animation order, then keyframe order), so that one cage can be drawn alone.
// A second buffer holds the one cage of a calculated box (group 0). A box is
// six WAD values: corner A x, y, z, then corner B x, y, z; either corner may
// hold the smaller value on any axis.
//
// The floor, 10 x 10 tiles of 512 display units from the origin along +X and
// +Z, is built once and kept; no frame draws it.

#include <cstdint>
#include <memory>

#include "d3d8/Direct3D8.h"
#include "model/AnimationModel.h"

class dxBufferTextura;
class dxDevice8;

// Name the cage quads ask the device for; it gives no texture.
constexpr const char* kCageTextureName = "Solid.bmp";
// The floor texture, from the working directory.
constexpr const wchar_t* kFloorTextureFile = L"solid.bmp";

class KeyFrameCages {
 public:
  KeyFrameCages();
  ~KeyFrameCages();
  KeyFrameCages(const KeyFrameCages&) = delete;
  KeyFrameCages& operator=(const KeyFrameCages&) = delete;

  // Rebuilds the cages from the committed box of every keyframe.
  void BuildKeyFrameBoxes(dxDevice8& device, const AnimationModel& animaciones);
  // Rebuilds the calculated cage from a box in stored order.
  void BuildBoundsBox(dxDevice8& device, std::int32_t x1, std::int32_t y1, std::int32_t z1,
                      std::int32_t x2, std::int32_t y2, std::int32_t z2);
  // Loads the floor texture (none when the file cannot be read) and builds the tiles.
  void BuildFloorGrid(dxDevice8& device, const wchar_t* textureFile = kFloorTextureFile);

  // Draws, under the view's pan, rotation and zoom, the calculated cage or the
  // cage of keyframe k of animation g (a global index). A keyframe that does
  // not exist draws nothing. The fifth number is not used.
  void DrawKeyFrameBox(dxDevice8& device, const AnimationModel& animaciones, std::int32_t g,
                       std::int32_t k, std::int32_t panX, std::int32_t panY, std::int32_t unused,
                       float rotY, float rotX, float zoom, bool calculated);

  dxBufferTextura* KeyFrameBoxList() const { return keyFrameBoxList.get(); }
  dxBufferTextura* BoundsBoxList() const { return boundsBoxList.get(); }
  dxBufferTextura* FloorGridList() const { return floorGridList.get(); }
  IDirect3DTexture8* FloorTexture() const { return floorTexture; }

 private:
  std::unique_ptr<dxBufferTextura> keyFrameBoxList;
  std::unique_ptr<dxBufferTextura> boundsBoxList;
  std::unique_ptr<dxBufferTextura> floorGridList;
  IDirect3DTexture8* floorTexture = nullptr;  // owned reference; the tiles share it
};
