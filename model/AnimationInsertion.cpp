#include "model/AnimationInsertion.h"

#include <algorithm>

#include "model/KeyFrameEditing.h"

namespace {

constexpr uint32_t kMaxAnimations = 0xFFFF;
// A next animation of this value names nothing in any table; it stays.
constexpr uint16_t kNoAnimation = 0xFFFF;

// Where the (empty) state-change range of an animation inserted at p starts:
// after the state changes of every animation before it. In a WAD whose state
// changes run in animation order this is also where the previous animation's
// own state changes end.
uint16_t StateChangesBefore(const WadFile& wad, uint32_t p) {
  uint32_t running = 0;
  for (uint32_t i = 0; i < p; ++i) running += wad.animations[i].numStateChanges;
  return static_cast<uint16_t>(std::min({running, wad.numStateChanges(), kMaxAnimations}));
}

// A global animation index as it reads after an insertion at p.
void MoveIndex(uint16_t& index, uint32_t p) {
  if (index >= p && index != kNoAnimation) ++index;
}

std::string RefusalIfTooMany(const WadFile& wad, uint32_t m, uint32_t p) {
  if (wad.numAnimations() >= kMaxAnimations)
    return "The WAD already holds " + std::to_string(kMaxAnimations) +
           " animations, the most it can hold.";
  for (uint32_t j = 0; j < wad.numMoveables(); ++j)
    if (j != m && wad.moveables[j].animIndex >= static_cast<int>(p) &&
        wad.moveables[j].animIndex >= kMaxFirstAnimation)
      return "The first animation of moveable " + std::to_string(j) + " would pass " +
             std::to_string(kMaxFirstAnimation) + ", the largest a moveable can name.";
  return {};
}

}  // namespace

WadAnimation NewAnimationRecord(const WadAnimation& previous, uint16_t firstAnimation,
                                uint16_t stateChangeIndex) {
  WadAnimation added = previous;
  added.frameSize = 0;
  added.frameStart = static_cast<uint16_t>(previous.frameEnd + 1);
  added.frameEnd = added.frameStart;
  added.nextAnimation = firstAnimation;
  added.nextFrame = 0;
  added.numStateChanges = 0;
  added.stateChangeIndex = stateChangeIndex;
  added.numCommands = 0;
  added.commandOffset = 0;
  return added;
}

void RenumberCommandsForInsert(std::span<AnimCommand> commands, uint32_t index) {
  for (AnimCommand& command : commands)
    if (command.animIndex >= index) ++command.animIndex;
}

AnimationInsertion AddMoveableAnimation(WadFile& wad, AnimationModel& animaciones,
                                        std::span<AnimCommand> commands, uint32_t m) {
  AnimationInsertion result;
  const uint32_t count = CountMoveableAnimations(wad, m);
  if (count == 0) return result;
  if (animaciones.size() != wad.numAnimations()) {
    result.refusal = "The animations in the editor do not match the WAD's animation table.";
    return result;
  }
  const uint32_t first = static_cast<uint32_t>(wad.moveables[m].animIndex);
  const uint32_t p = first + count;
  result.refusal = RefusalIfTooMany(wad, m, p);
  if (!result.refusal.empty()) return result;

  const WadAnimation added = NewAnimationRecord(wad.animations[p - 1], static_cast<uint16_t>(first),
                                                StateChangesBefore(wad, p));
  for (WadAnimation& animation : wad.animations) MoveIndex(animation.nextAnimation, p);
  for (WadDispatch& dispatch : wad.dispatches) MoveIndex(dispatch.nextAnimation, p);
  for (uint32_t j = 0; j < wad.numMoveables(); ++j)
    if (j != m && wad.moveables[j].animIndex >= static_cast<int>(p)) ++wad.moveables[j].animIndex;
  wad.animations.insert(wad.animations.begin() + p, added);
  InsertAnimation(animaciones, static_cast<int>(p), static_cast<int>(wad.numAnimations()));
  RenumberCommandsForInsert(commands, p);
  result.index = static_cast<int>(p);
  return result;
}
