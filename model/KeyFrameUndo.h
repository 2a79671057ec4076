#pragma once
// Putting an animation's keyframes back as they stood before an edit that
// rewrote them and appended more at the end (the Animation Wizard), from a
// copy of the animation taken before it. The model's records own all their
// storage, so a plain copy of an AnimKeyFrames shares nothing with it.

#include "model/AnimationModel.h"

// Drops every uncommitted change of the keyframe: its working root offset,
// box, angles, their words and world matrices become the committed ones.
void RevertWorkingCopy(KeyFrame& keyFrame);

// RevertWorkingCopy for every keyframe of the animation.
void RevertWorkingCopies(AnimKeyFrames& animation);

// Overwrites the first keyframes of animation with the copy's, whole (mesh
// count, committed and working values, poses with their matrices and stored
// words), and removes the appended ones after them. Only when the animation
// holds the copy's keyframes plus appended (none counted when appended is
// negative); otherwise returns false and changes nothing.
bool RestoreKeyFrames(AnimKeyFrames& animation, const AnimKeyFrames& copy, int appended);
