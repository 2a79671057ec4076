#pragma once
// The WAD's keyframe stream turned into the animation model and back.

#include <cstdint>

#include "model/AnimationModel.h"
#include "model/EncodeResult.h"
#include "model/WadFile.h"

// Builds one entry per WAD animation from keyFrameWords, replacing what
// animaciones held, and sets total to the number of keyframes decoded.
// Returns 1, or 0 (with an empty model) when the WAD has no animations.
// Frames are read only inside the stream: a frame too short for its meshes
// leaves the missing rotations absent, and offsets or frame sizes that point
// past the stream give fewer keyframes. Committed and working copies start
// equal.
int DecodeKeyFrames(AnimationModel& animaciones, const WadFile& wad, uint32_t& total);

// Sets frameBytes to the bytes each keyframe of the animation takes: its
// largest encoded keyframe, and never less than the frame size the file gave it.
void ComputeFrameBytes(AnimKeyFrames& animation);

// Encodes the committed model into a new keyFrameWords and rewrites every
// animation's keyFrameOffset and frameSize and every moveable's
// keyFrameOffset, animations laid out in order without gaps. Refused, with the
// WAD untouched, when the model does not match the WAD's animations or a
// keyframe needs more than 510 bytes.
EncodeResult RebuildKeyFrameData(AnimationModel& animaciones, WadFile& wad);

// Releases the model. Returns 0 and leaves it alone when n < 1, else 1.
int FreeAnimations(AnimationModel& animaciones, int n);
