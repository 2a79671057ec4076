#pragma once
// Checks that a WAD into which one animation was inserted at global index p,
// for moveable m, still says what it said before: every next animation of the
// animation records and of the dispatches names the same animation, every
// moveable owns the same animations (m one more, the new one last), and
// every anim command belongs to the same animation with the same words. The
// inserted record has the previous animation's parameters, the frame after
// its range, continues into the moveable's first animation, and has nothing
// of its own: no commands, and no state changes (its empty range starting
// where the state changes of the animations before it end). Keyframe offsets
// and command ranges are left out: a save lays them out anew.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "model/AnimCommands.h"
#include "model/WadFile.h"

namespace testsupport {

// Where animation i of the WAD before the insertion stands after it.
inline std::uint32_t Moved(std::uint32_t i, std::uint32_t p) { return i < p ? i : i + 1; }

// What a record says besides where its keyframes and commands are stored,
// with next as its next animation.
inline WadAnimation Said(WadAnimation a, std::uint32_t next) {
  a.keyFrameOffset = 0;
  a.frameSize = 0;
  a.numCommands = a.commandOffset = 0;
  a.nextAnimation = static_cast<std::uint16_t>(next);
  return a;
}

inline void ExpectInsertedAt(const WadFile& before, const AnimCommandArray& commandsBefore,
                             const WadFile& after, const AnimCommandArray& commandsAfter,
                             std::uint32_t p, std::uint32_t m) {
  ASSERT_EQ(after.numAnimations(), before.numAnimations() + 1);
  for (std::uint32_t i = 0; i < before.numAnimations(); ++i) {
    const WadAnimation &was = before.animations[i], &is = after.animations[Moved(i, p)];
    EXPECT_EQ(Said(is, is.nextAnimation), Said(was, Moved(was.nextAnimation, p))) << "animation " << i;
  }
  WadAnimation added = before.animations[p - 1];
  added.frameStart = added.frameEnd = static_cast<std::uint16_t>(added.frameEnd + 1);
  added.nextFrame = added.numStateChanges = 0;
  added.stateChangeIndex = 0;
  for (std::uint32_t i = 0; i < p; ++i) added.stateChangeIndex += before.animations[i].numStateChanges;
  EXPECT_EQ(Said(after.animations[p], after.animations[p].nextAnimation),
            Said(added, static_cast<std::uint32_t>(before.moveables[m].animIndex)));
  EXPECT_EQ(after.animations[p].numCommands, 0);

  EXPECT_EQ(after.stateChanges, before.stateChanges);
  ASSERT_EQ(after.numDispatches(), before.numDispatches());
  for (std::uint32_t d = 0; d < before.numDispatches(); ++d) {
    WadDispatch expected = before.dispatches[d];
    expected.nextAnimation = static_cast<std::uint16_t>(Moved(expected.nextAnimation, p));
    EXPECT_EQ(after.dispatches[d], expected) << "dispatch " << d;
  }
  ASSERT_EQ(after.numMoveables(), before.numMoveables());
  for (std::uint32_t j = 0; j < before.numMoveables(); ++j) {
    std::vector<std::uint32_t> expected, got;
    for (std::uint32_t i = 0; i < CountMoveableAnimations(before, j); ++i)
      expected.push_back(Moved(static_cast<std::uint32_t>(before.moveables[j].animIndex) + i, p));
    if (j == m) expected.push_back(p);
    for (std::uint32_t i = 0; i < CountMoveableAnimations(after, j); ++i)
      got.push_back(static_cast<std::uint32_t>(after.moveables[j].animIndex) + i);
    EXPECT_EQ(got, expected) << "animations of moveable " << j;
    if (expected.empty()) {
      EXPECT_EQ(after.moveables[j].animIndex, before.moveables[j].animIndex);
    }
  }
  ASSERT_EQ(commandsAfter.size(), commandsBefore.size());
  for (std::size_t k = 0; k < commandsBefore.size(); ++k) {
    const AnimCommand &was = commandsBefore[k], &is = commandsAfter[k];
    EXPECT_EQ(std::tie(is.animIndex, is.type, is.params),
              std::tuple(Moved(was.animIndex, p), was.type, was.params)) << "command " << k;
  }
}

}  // namespace testsupport
