#pragma once
// A small WAD for the editor's tests, and a session that has it open:
//
//   moveable 0 (object 0, the "plate"): two meshes, a large square and a
//     small one hung 300 units from it; animation 0 of three keyframes at
//     frame rate 2, keyframe k with the root offset (10 + k, -20 - k, 30 + k),
//     the large square turned 180, 0 and 90 degrees about X, Y and Z (two
//     words) and the small one not turned (one word); animation 1 of none;
//   moveable 1 (object 7): the small square; one animation of two keyframes,
//     frames 10 to 11, next frame 11, state 0xFFFF, speed -3.5, accel -7;
//   moveable 2 (object 500): the large square, no animations.
//
// One texture page of one colour. Every angle is a multiple of 45 degrees,
// which the packed rotations hold exactly; the large square faces the camera.

#include <filesystem>

#include "EditorSession.h"

namespace uitest {

inline constexpr int kPlateFrameRate = 2;
// Words of a plate keyframe: six of bounding box, the root offset, the two
// words of the large square's rotation and the one of the small square's.
inline constexpr int kFrameWords = 12, kRootWord = 6, kBigMeshWord = 9, kSmallMeshWord = 11;
inline constexpr std::uint32_t kTexturePixel = 0xFFC82828;  // the page colour as drawn
// Where keyframe 0 of the plate shows on the 3D panel: a point of the large
// square off its diagonals (which its wireframe draws), and the small square.
inline constexpr int kPlateX = 226, kPlateY = 228;
inline constexpr int kSmallX = 244, kSmallY = 100;

WadFile BuildTestWad();
// One moveable of 246 large squares with one keyframe that turns each 180
// degrees about Y (one word each): the frame fills the largest size, 255
// words, so turning one square about a second axis makes it too long to save.
WadFile BuildFullFrameWad();
std::filesystem::path WriteTestWad(const std::filesystem::path& file, const WadFile& wad);

// A session that has opened the test WAD as "test.wad" in its folder, chosen
// the plate's first animation and drawn keyframe 0.
struct TestWadSession : EditorSession {
  explicit TestWadSession(std::optional<std::string> stringsXml = std::nullopt);
  std::filesystem::path file;
};

}  // namespace uitest
