#pragma once
// A small WAD for the editor's tests, built record by record:
//
//   moveable 0 (object 0, the "plate"): two meshes, a large square and a
//     small one hung 300 units to its right; animation 0 of three keyframes
//     (frame rate 2), animation 1 of none;
//   moveable 1 (object 7): the small square; one animation of two keyframes;
//   moveable 2 (object 500): the large square, no animations.
//
// One texture page of one colour. Every keyframe angle is a multiple of 45
// degrees, which the packed rotations hold exactly; the large square faces the
// camera in every keyframe.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "model/WadFile.h"

namespace uitest {

struct PlateKeyFrame {
  std::array<std::int16_t, 3> root;  // x, y, z
  std::array<int, 3> bigMesh;        // x, y, z of mesh 0, two-word rotation
  int smallMeshX;                    // mesh 1: a one-word rotation about X
};

inline constexpr std::array<PlateKeyFrame, 3> kPlateKeyFrames{{
    {{10, -20, 30}, {180, 0, 90}, 0},
    {{11, -21, 31}, {0, 180, 45}, 180},
    {{12, -22, 32}, {180, 180, 135}, 90},
}};
inline constexpr int kPlateFrameRate = 2;
inline constexpr int kPlateSquareHalf = 100;  // the large square spans +-100 units
inline constexpr int kSmallSquareOffset = 300;

// The one animation of moveable 1 (global index 2).
inline constexpr int kSecondFrameStart = 10;
inline constexpr int kSecondFrameEnd = 11;
inline constexpr std::uint16_t kSecondStateId = 0xFFFF;
inline constexpr std::int32_t kSecondSpeed = -229376;  // -3.5 in 16.16 fixed point
inline constexpr std::int32_t kSecondAccel = -7;

inline constexpr std::uint32_t kTexturePixel = 0xFFC82828;  // the page colour as drawn

// Where keyframe 0 of the plate's first animation shows on the 3D panel: a
// point of the large square off its diagonals (which its wireframe draws),
// and the small square, hung above it.
inline constexpr int kPlateX = 226, kPlateY = 228;
inline constexpr int kSmallX = 244, kSmallY = 100;

WadFile BuildTestWad();

// One moveable of 246 large squares, all at the origin, with one animation of
// one keyframe that turns every square 180 degrees about Y (one word each):
// its frames fill the largest frame size, 255 words, so that turning one
// square about a second axis makes them too long to save.
WadFile BuildFullFrameWad();
// Writes the WAD to the file and returns the file.
std::filesystem::path WriteTestWad(const std::filesystem::path& file, const WadFile& wad);

// A "Strings.xml" for the test WAD: object 0 is "PLATE", object 7 has a name
// of twenty two-byte letters (40 bytes), objects 1 to 6 have short names, and
// no object past 7 has one.
inline std::string TestNamesXml() {
  std::string names;
  for (int id = 0; id < 7; ++id)
    names += id == 0 ? R"(<m name="PLATE"/>)" : "<m name=\"N" + std::to_string(id) + "\"/>";
  std::string longName;
  for (int i = 0; i < 20; ++i) longName += "\xC3\xA9";  // U+00E9 in UTF-8
  names += "<m name=\"" + longName + "\"/>";
  return R"(<?xml version="1.0" encoding="UTF-8"?><strings><p/><m/><e/><s/>)"
         "<objects><statics/><moveables>" +
         names + "</moveables></objects></strings>";
}

class EditorSession;
// Writes the test WAD as "test.wad" in the session's folder and opens it.
std::filesystem::path OpenTestWad(EditorSession& session);
// Opens it, shows keyframe 0 of the plate's first animation and clicks the large square.
std::filesystem::path OpenAndPickPlate(EditorSession& session);

}  // namespace uitest
