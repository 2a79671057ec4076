#include <gtest/gtest.h>

#include "WadBuilder.h"
#include "model/AnimCommands.h"
#include "model/FrameRenumbering.h"

// Fixture (WadBuilder): moveable 0 owns animations 0 (frames 0-9), 1 (10-19)
// and 2 (20-24); moveable 2 owns animation 3 (frame 0).

TEST(ChangeFrameCount, MovesEverythingThatFollowsTheChangedAnimation) {
  WadFile wad = WadBuilder().Expected();
  AnimCommandArray commands = DecodeAnimCommands(wad);
  WadFile expected = wad;
  AnimCommandArray expectedCommands = commands;

  ASSERT_EQ(ChangeFrameCount(wad, 0, 1, 12, commands), 1);

  expected.animations[1].frameEnd = 21;
  expected.animations[1].nextFrame = 22;  // targets animation 2
  expected.animations[2].frameStart = 22;
  expected.animations[2].frameEnd = 26;
  expected.dispatches[1].nextFrame = 24;  // animation 0's dispatch into animation 2
  expected.dispatches[2].nextFrame = 23;  // animation 1's dispatch into animation 2
  expected.dispatches[3] = {22, 26, 0, 5};
  expected.dispatches[4] = {24, 25, 3, 0};  // targets another moveable: frame kept
  expectedCommands[3].params[0] = 25;       // animation 2's effect; its jumping reference stays
  EXPECT_EQ(wad, expected);
  EXPECT_EQ(commands, expectedCommands);

  ASSERT_EQ(ChangeFrameCount(wad, 0, 1, 10, commands), 1);
  EXPECT_EQ(wad, WadBuilder().Expected());
  EXPECT_EQ(commands, DecodeAnimCommands(wad));
}

TEST(ChangeFrameCount, SameCountChangesNothing) {
  WadFile wad = WadBuilder().Expected();
  AnimCommandArray commands = DecodeAnimCommands(wad);
  ASSERT_EQ(ChangeFrameCount(wad, 0, 0, 10, commands), 1);
  EXPECT_EQ(wad, WadBuilder().Expected());
  EXPECT_EQ(commands, DecodeAnimCommands(wad));
}

TEST(ChangeFrameCount, RefusesFramesThatWouldWrapAndChangesNothing) {
  WadBuilder builder;
  builder.dispatches[3].outFrame = 65534;
  WadFile wad = builder.Expected();
  AnimCommandArray commands = DecodeAnimCommands(wad);
  const WadFile before = wad;
  const AnimCommandArray commandsBefore = commands;
  EXPECT_EQ(ChangeFrameCount(wad, 0, 0, 12, commands), 0);   // 65534 + 2
  EXPECT_EQ(ChangeFrameCount(wad, 0, 0, 1, commands), 1);    // shrinking is fine
  EXPECT_EQ(ChangeFrameCount(wad, 0, 0, 10, commands), 1);
  EXPECT_EQ(wad, before);

  commands[3].params[0] = 3;  // animation 2's effect frame
  EXPECT_EQ(ChangeFrameCount(wad, 0, 1, 5, commands), 0);     // 3 - 5
  EXPECT_EQ(ChangeFrameCount(wad, 0, 0, 65537, commands), 0);
  EXPECT_EQ(ChangeFrameCount(wad, 0, 3, 1, commands), 0);     // no such animation
  EXPECT_EQ(ChangeFrameCount(wad, 1, 0, 1, commands), 0);     // moveable without animations
  EXPECT_EQ(ChangeFrameCount(wad, 3, 0, 1, commands), 0);
  EXPECT_EQ(wad, before);
  EXPECT_EQ(commands[3].params[0], 3);
}

TEST(ShiftFrames, HelpersMoveOnlyTheirOwnFields) {
  WadFile wad = WadBuilder().Expected();
  ASSERT_EQ(ShiftDispatchFrames(wad, 0, 0, 2, 3), 1);
  WadFile expected = WadBuilder().Expected();
  expected.dispatches[3] = {23, 27, 0, 5};
  expected.dispatches[4] = {25, 26, 3, 0};
  EXPECT_EQ(wad, expected);

  AnimCommandArray commands = DecodeAnimCommands(wad);
  ASSERT_EQ(ShiftCommandFrames(0, 0, 3, 4, commands), 1);
  EXPECT_EQ(commands[0].params[0], 3);   // animation 0
  EXPECT_EQ(commands[2].params[0], 19);  // animation 1's effect
  EXPECT_EQ(commands[1].params[0], 10);  // position reference
  EXPECT_EQ(commands[3].params[0], 27);
  EXPECT_EQ(commands[5].params[0], 0);   // another moveable
  EXPECT_EQ(ShiftCommandFrames(0, 0, 3, -20, commands), 0);
  EXPECT_EQ(commands[2].params[0], 19);
}
