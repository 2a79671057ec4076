#pragma once
// Adding an animation to a moveable: a new record right after the moveable's
// last animation and an empty decoded animation at the same global index.
// Every global animation index that names an animation at or after the new
// one moves up by one: the later moveables' first animations, the next
// animations of the animation records and of the dispatches, and the
// animations of the decoded anim commands. Nothing is decoded again from the
// WAD's command words, so edits of the commands since the last open survive.

#include <cstdint>
#include <span>
#include <string>

#include "model/AnimCommands.h"
#include "model/AnimationModel.h"
#include "model/WadFile.h"

// The largest first-animation index a moveable record holds (a signed 16-bit field).
inline constexpr int kMaxFirstAnimation = 0x7FFF;

struct AnimationInsertion {
  int index = -1;       // global index of the new animation; -1 when none was added
  std::string refusal;  // why none was added to a moveable that has animations
};

// The record of an animation added after previous, the last animation of a
// moveable whose first animation is firstAnimation: previous's parameters, a
// one-frame range right after previous's, continuing into the moveable's first
// animation, with no state changes (its empty range starting at
// stateChangeIndex) and no commands.
WadAnimation NewAnimationRecord(const WadAnimation& previous, uint16_t firstAnimation,
                                uint16_t stateChangeIndex);

// Gives every command of animation index or later the animation after its own.
void RenumberCommandsForInsert(std::span<AnimCommand> commands, uint32_t index);

// Adds an empty animation after the last animation of moveable m. A moveable
// without animations gets none (index -1, no refusal). Refused, with nothing
// changed, when the animation count would pass 65535, another moveable's first
// animation would pass 32767, or the model does not match the WAD.
AnimationInsertion AddMoveableAnimation(WadFile& wad, AnimationModel& animaciones,
                                        std::span<AnimCommand> commands, uint32_t m);
