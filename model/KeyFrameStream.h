#pragma once
// The WAD's keyframe stream turned into the animation model and back.

#include <cstdint>

#include "model/AnimationModel.h"
#include "model/EncodeResult.h"
#include "model/WadFile.h"

// Builds one entry per WAD animation from keyFrameWords, replacing what
// animaciones held, and sets total to the number of keyframes decoded.
// Returns 1, or 0 (with an empty model) when the WAD has no animations.
// Frames are read only inside the stream and each word at most once (see
// KeyFrameSpans): a frame too short for its meshes gives fewer poses, and
// offsets or frame sizes that point past the stream give fewer keyframes.
// Each entry remembers where its frames were read from. Committed and working
// copies start equal.
int DecodeKeyFrames(AnimationModel& animaciones, const WadFile& wad, uint32_t& total);

// Sets frameBytes to the bytes each keyframe of the animation takes: its
// largest encoded keyframe, and never less than the frame size the file was
// read with (not the size an earlier save chose).
void ComputeFrameBytes(AnimKeyFrames& animation);

// Encodes the committed model into a new keyFrameWords and rewrites every
// animation's keyFrameOffset and frameSize and every moveable's
// keyFrameOffset. Animations are laid out in index order; the words between
// the frames read from the file stay between them, and offsets that do not
// start an animation's keyframes follow the words they pointed at, so an
// unedited model gives back the stream it was read from (see KeyFrameLayout).
// The model's spans then describe the new stream. Refused, with the WAD
// untouched, when the model does not match the WAD's animations, a keyframe
// needs more than 510 bytes or the stream would pass 4 GB.
EncodeResult RebuildKeyFrameData(AnimationModel& animaciones, WadFile& wad);

// Releases the model. Returns 0 and leaves it alone when n < 1, else 1.
int FreeAnimations(AnimationModel& animaciones, int n);
