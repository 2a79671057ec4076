#pragma once
// Checks that a WAD into which one animation was inserted at global index p,
// for moveable m, still says what it said before: every next animation of the
// animation records and of the dispatches names the same animation, every
// moveable owns the same animations (m one more, the new one last), and
// every anim command belongs to the same animation with the same words.
// Keyframe offsets and command ranges are left out: a save lays them out anew.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "model/AnimCommands.h"
#include "model/WadFile.h"

namespace testsupport {

// Where animation i of the WAD before the insertion stands after it.
inline std::uint32_t Moved(std::uint32_t i, std::uint32_t p) { return i < p ? i : i + 1; }

// What a record says besides where its keyframes and commands are stored.
inline std::vector<int> References(const WadAnimation& a) {
  return {a.frameRate, a.stateId,    a.speed,      a.accel,           a.frameStart,
          a.frameEnd,  a.nextFrame,  a.numStateChanges, a.stateChangeIndex};
}

inline void ExpectSameReferencesAfterInsert(const WadFile& before,
                                            const AnimCommandArray& commandsBefore,
                                            const WadFile& after,
                                            const AnimCommandArray& commandsAfter,
                                            std::uint32_t p, std::uint32_t m) {
  ASSERT_EQ(after.numAnimations(), before.numAnimations() + 1);
  for (std::uint32_t i = 0; i < before.numAnimations(); ++i) {
    const WadAnimation& was = before.animations[i];
    const WadAnimation& is = after.animations[Moved(i, p)];
    EXPECT_EQ(References(is), References(was)) << "animation " << i;
    EXPECT_EQ(is.nextAnimation, Moved(was.nextAnimation, p)) << "next animation of " << i;
    EXPECT_EQ(is.reserved, was.reserved) << "animation " << i;
  }
  EXPECT_EQ(after.stateChanges, before.stateChanges);
  ASSERT_EQ(after.numDispatches(), before.numDispatches());
  for (std::uint32_t d = 0; d < before.numDispatches(); ++d) {
    WadDispatch expected = before.dispatches[d];
    expected.nextAnimation = static_cast<std::uint16_t>(Moved(expected.nextAnimation, p));
    EXPECT_EQ(after.dispatches[d], expected) << "dispatch " << d;
  }
  ASSERT_EQ(after.numMoveables(), before.numMoveables());
  for (std::uint32_t j = 0; j < before.numMoveables(); ++j) {
    const std::uint32_t count = CountMoveableAnimations(before, j);
    std::vector<std::uint32_t> expected, got;
    for (std::uint32_t i = 0; i < count; ++i)
      expected.push_back(Moved(static_cast<std::uint32_t>(before.moveables[j].animIndex) + i, p));
    if (j == m) expected.push_back(p);
    for (std::uint32_t i = 0; i < CountMoveableAnimations(after, j); ++i)
      got.push_back(static_cast<std::uint32_t>(after.moveables[j].animIndex) + i);
    EXPECT_EQ(got, expected) << "animations of moveable " << j;
    if (count == 0) {
      EXPECT_EQ(after.moveables[j].animIndex, before.moveables[j].animIndex);
    }
  }
  ASSERT_EQ(commandsAfter.size(), commandsBefore.size());
  for (std::size_t k = 0; k < commandsBefore.size(); ++k) {
    EXPECT_EQ(commandsAfter[k].animIndex, Moved(commandsBefore[k].animIndex, p)) << "command " << k;
    EXPECT_EQ(commandsAfter[k].type, commandsBefore[k].type) << "command " << k;
    EXPECT_EQ(commandsAfter[k].params, commandsBefore[k].params) << "command " << k;
  }
}

// The inserted record: the previous animation's parameters, the frame after
// its range, continuing into the moveable's first animation, and nothing of
// its own (no state changes, from stateChangeIndex on, and no commands).
inline void ExpectAddedAnimation(const WadAnimation& added, const WadAnimation& previous,
                                 std::uint16_t firstAnimation, std::uint16_t stateChangeIndex) {
  const int frame = (previous.frameEnd + 1) & 0xFFFF;
  EXPECT_EQ(References(added), (std::vector<int>{previous.frameRate, previous.stateId,
                                                 previous.speed, previous.accel, frame, frame, 0,
                                                 0, stateChangeIndex}));
  EXPECT_EQ(added.nextAnimation, firstAnimation);
  EXPECT_EQ(added.reserved, previous.reserved);
  EXPECT_EQ(added.numCommands, 0);
}

}  // namespace testsupport
