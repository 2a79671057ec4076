#pragma once
// The bounding box of a keyframe, measured from the moveable as that keyframe
// poses it.

#include <cstdint>

#include "model/AnimationModel.h"

class Lista_Mesh;
struct WadFile;

// Places every vertex of moveable m with its mesh's working world matrix in
// keyframe k of animation g (a global index) and the keyframe's working root
// offset, and writes the extremes into the keyframe's working box in WAD
// units: corner A holds the smallest X, Y and Z, corner B the largest, as the
// files store their boxes (Y up on screen is down in the WAD), each
// value rounded to a whole display unit times 10. The smallest Z never lies
// above 0. Meshes that name no parsed mesh are skipped. Does nothing when m, g
// or k name nothing.
void CalculateKeyFrameBounds(const WadFile& wad, const Lista_Mesh& meshes,
                             AnimationModel& animaciones, std::int32_t m, std::int32_t g,
                             std::int32_t k);

// Whether the calculation measures the two keyframes alike: the same working
// root offset and, mesh by mesh, the same working world matrix. A keyframe so
// posed like one already measured can take its box without measuring again.
bool SameMeasuredPose(const KeyFrame& a, const KeyFrame& b);
