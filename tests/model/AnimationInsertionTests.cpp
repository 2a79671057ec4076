// Adding an animation to a moveable, with the renumbering of every reference
// to the animations after it.

#include <gtest/gtest.h>

#include "InsertedAnimation.h"
#include "WadBuilder.h"
#include "model/AnimationInsertion.h"

namespace {

// The default fixture with a fourth moveable after the others: moveable 2
// (animation 3) now sits in the middle, and after it moveable 3 owns
// animation 4 with a state change, a dispatch back to itself and an effect.
// Animation 1 of moveable 0 continues into animation 4 and a dispatch of
// animation 2 into animation 3: references from before an insertion point
// to after it. Animation 3 has no state changes and, as some files write it,
// a state-change index of 0.
WadFile MiddleMoveableWad() {
  WadFile wad = WadBuilder().Expected();
  wad.animations[1].nextAnimation = 4;
  wad.animations[3].stateChangeIndex = 0;
  wad.animations.push_back({142, 1, 10, 7, 0, 0, {9, 9, 9, 9, 0, 0, 0, 0}, 0, 3, 4, 2, 1, 3, 1, 21});
  wad.stateChanges.push_back({7, 1, 5});
  wad.dispatches.push_back({0, 3, 4, 1});
  wad.commandWords.insert(wad.commandWords.end(), {6, 2, 7});
  wad.moveables.push_back({11, 1, 4, 8, 142, 4});
  return wad;
}

AnimationModel EmptyModel(std::size_t n) {
  AnimationModel model;
  for (std::size_t i = 0; i < n; ++i) model.push_back(std::make_unique<AnimKeyFrames>());
  return model;
}

}  // namespace

TEST(AddAnimation, EveryReferenceStillNamesTheSameAnimationAndCommandsAreRenumberedInPlace) {
  const WadFile before = MiddleMoveableWad();
  AnimCommandArray commands = DecodeAnimCommands(before);
  ASSERT_EQ(commands.size(), 9u);
  commands[8].params[1] = 99;  // an edit of the effect of animation 4, not saved yet
  const AnimCommandArray edited = commands;
  WadFile wad = before;
  AnimationModel model = EmptyModel(wad.numAnimations());
  const AnimKeyFrames* last = model[4].get();

  const AnimationInsertion added = AddMoveableAnimation(wad, model, commands, 2);
  EXPECT_EQ(std::pair(added.index, added.refusal), std::pair(4, std::string{}));
  testsupport::ExpectInsertedAt(before, edited, wad, commands, 4, 2);
  EXPECT_EQ(wad.animations[4].commandOffset, 0);
  ASSERT_EQ(model.size(), 6u);
  EXPECT_EQ(model[4]->numKeyFrames(), 0);
  EXPECT_EQ(model[5].get(), last);
}

// A moveable without animations, or none at all, gets none; past the index
// limits the insertion is refused. Neither changes anything.
TEST(AddAnimation, RefusesPastTheIndexLimitsAndAddsNothingToAMoveableWithout) {
  WadFile wad = MiddleMoveableWad();
  const auto expectUnchanged = [&](uint32_t m, bool refused) {
    WadFile edited = wad;
    AnimationModel model = EmptyModel(wad.numAnimations());
    AnimCommandArray commands = DecodeAnimCommands(wad);
    const AnimationInsertion result = AddMoveableAnimation(edited, model, commands, m);
    EXPECT_EQ(std::pair(result.index, result.refusal.empty()), std::pair(-1, !refused)) << m;
    EXPECT_TRUE(edited == wad && model.size() == wad.numAnimations() && commands == DecodeAnimCommands(wad));
  };
  expectUnchanged(1, false);
  expectUnchanged(9, false);
  // Moveable 3's first animation is 32767: one more would not fit its field.
  wad.animations.resize(32768, wad.animations[3]);
  wad.moveables[3].animIndex = 32767;
  expectUnchanged(2, true);
  // 65535 animations are as many as the count can say.
  wad.animations.resize(65535, wad.animations[3]);
  expectUnchanged(3, true);
}
