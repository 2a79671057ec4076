#pragma once
// Edits of the animation model's keyframe lists. Animation indexes are global.
// An index outside the model is refused and changes nothing.

#include <cstdint>

#include "model/AnimationModel.h"

// Adds a keyframe after the last one of animation g: a copy of the last one's
// committed values, or, in an empty animation, meshCount meshes at angle 0
// with a zero box and root offset. The new keyframe's working angles, world
// matrices, box and root offset equal its committed ones; its rotation
// matrices are the view's to recompute (the view poses every keyframe again
// when it loads the animations). Returns 1, or 0 when refused (the animation already holds
// 65535 keyframes, or meshCount is outside 0..65535).
int AppendKeyFrame(AnimationModel& animaciones, int g, int meshCount);

// Removes keyframe k of animation g. Returns 1 when removed, 0 when refused
// because it is the animation's only keyframe, -1 when there is no such keyframe.
int DeleteKeyFrame(AnimationModel& animaciones, int g, int k);

// Moves keyframes s .. n-2 one place up over the last one, so keyframes s and
// s+1 are equal afterwards; the count stays.
void ShiftKeyFramesUp(AnimationModel& animaciones, int g, int s);

// Opens a gap of count keyframes at s in one pass: the same end state as
// ShiftKeyFramesUp at s, s + 1, ..., s + count - 1, without the square cost.
// Keyframes s .. n - count - 1 move up by count over the last count, and
// keyframes s .. s + count - 1 all hold copies of the one that stood at s.
void OpenKeyFrameGap(AnimationModel& animaciones, int g, int s, int count);

// Inserts an empty animation at index i; n is the model's new size. Returns 1,
// or 0 when i or n do not fit the model or n exceeds 65535.
int InsertAnimation(AnimationModel& animaciones, int i, int n);
