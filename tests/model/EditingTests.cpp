// Edits of the keyframe lists, and of frame counts with every frame number they move.

#include <gtest/gtest.h>

#include "WadBuilder.h"
#include "model/AnimCommands.h"
#include "model/FrameRenumbering.h"
#include "model/KeyFrameEditing.h"

namespace {

// A keyframe told apart from others by its mark; working copies equal committed ones.
KeyFrame Marked(int16_t mark) {
  KeyFrame k;
  k.rootOffset = k.workingRootOffset = {mark, 0, 0};
  k.meshes.resize(2);
  return k;
}

AnimationModel ModelWith(std::vector<std::vector<KeyFrame>> animations) {
  AnimationModel model;
  for (auto& keyFrames : animations) model.push_back(std::make_unique<AnimKeyFrames>(AnimKeyFrames{keyFrames, 0, {}}));
  return model;
}

}  // namespace

TEST(KeyFrameEditing, AppendStartsAtZeroOrCopiesTheLastWithWorkingEqualToCommitted) {
  AnimationModel model = ModelWith({{}});
  ASSERT_EQ(AppendKeyFrame(model, 0, 3), 1);
  KeyFrame zero;  // three meshes at angle 0, zero box and root offset
  zero.meshes.resize(3);
  EXPECT_EQ(model[0]->keyFrames[0], zero);

  // An edit being tried on the last keyframe stays out of the new one.
  KeyFrame committed = Marked(7);
  committed.meshes[1].angles = committed.meshes[1].workingAngles = {10, 20, 30};
  committed.meshes[1].world.m[3][0] = committed.meshes[1].workingWorld.m[3][0] = 5;
  KeyFrame& last = model[0]->keyFrames[0] = committed;
  last.workingBox.fill(1);
  last.workingRootOffset = {2, 2, 2};
  last.meshes[1].workingAngles = {40, 50, 60};
  last.meshes[1].workingWorld.m[3][0] = 9;
  ASSERT_EQ(AppendKeyFrame(model, 0, 99), 1);
  EXPECT_EQ(model[0]->keyFrames[1], committed);

  // Refused: a 65536th keyframe, mesh counts outside 16 bits, animations outside the model.
  model[0]->keyFrames.resize(kMaxKeyFrames);
  EXPECT_EQ(AppendKeyFrame(model, 0, 1), 0);
  EXPECT_EQ(model[0]->keyFrames.size(), kMaxKeyFrames);
  model[0]->keyFrames.clear();
  for (auto [g, meshes] : {std::pair{0, 70000}, {0, -1}, {1, 1}, {-1, 1}})
    EXPECT_EQ(AppendKeyFrame(model, g, meshes), 0);
  EXPECT_TRUE(model[0]->keyFrames.empty());
}

TEST(KeyFrameEditing, DeleteShiftAndInsertMoveOnlyWhatTheyName) {
  AnimationModel model = ModelWith({{Marked(0), Marked(1), Marked(2)}, {Marked(5)}, {}});
  EXPECT_EQ(DeleteKeyFrame(model, 0, 0), 1);
  EXPECT_EQ(DeleteKeyFrame(model, 1, 0), 0);  // the only keyframe stays
  for (auto [g, k] : {std::pair{2, 0}, {0, 2}, {3, 0}, {-1, 0}}) EXPECT_EQ(DeleteKeyFrame(model, g, k), -1);
  EXPECT_EQ(model[0]->keyFrames, (std::vector{Marked(1), Marked(2)}));
  EXPECT_EQ(model[1]->keyFrames, (std::vector{Marked(5)}));

  model = ModelWith({{Marked(0), Marked(1), Marked(2), Marked(3)}});
  ShiftKeyFramesUp(model, 0, 1);
  ShiftKeyFramesUp(model, 0, 9);
  ShiftKeyFramesUp(model, 4, 0);
  EXPECT_EQ(model[0]->keyFrames, (std::vector{Marked(0), Marked(1), Marked(1), Marked(2)}));

  model = ModelWith({{Marked(0)}, {Marked(1)}, {Marked(2)}});
  const AnimKeyFrames* third = model[2].get();
  ASSERT_EQ(InsertAnimation(model, 1, 4), 1);
  EXPECT_EQ(model[1]->numKeyFrames(), 0);
  EXPECT_EQ(model[2]->keyFrames, (std::vector{Marked(1)}));
  EXPECT_EQ(model[3].get(), third);            // entries keep their addresses
  EXPECT_EQ(InsertAnimation(model, 1, 4), 0);  // the size must grow by one
  EXPECT_EQ(InsertAnimation(model, 6, 5), 0);
  EXPECT_EQ(model.size(), 4u);
}

// One pass leaves what shifting once per keyframe leaves, for every start
// and length on up to six keyframes, and touches no other animation.
TEST(KeyFrameEditing, OpeningAGapInOnePassEqualsShiftingOnceForEachKeyFrame) {
  for (int n = 0; n <= 6; ++n)
    for (int s = 0; s <= n + 1; ++s)
      for (int count = -1; count <= n + 2; ++count) {
        std::vector<KeyFrame> frames;
        for (int k = 0; k < n; ++k) frames.push_back(Marked(static_cast<int16_t>(k)));
        AnimationModel shifted = ModelWith({{Marked(9)}, frames});
        AnimationModel opened = ModelWith({{Marked(9)}, frames});
        for (int k = s; k < s + count; ++k) ShiftKeyFramesUp(shifted, 1, k);
        OpenKeyFrameGap(opened, 1, s, count);
        EXPECT_EQ(opened[1]->keyFrames, shifted[1]->keyFrames) << n << " " << s << " " << count;
        EXPECT_EQ(opened[0]->keyFrames, (std::vector{Marked(9)}));
      }
}

// Fixture (WadBuilder): moveable 0 owns animations 0 (frames 0-9), 1 (10-19)
// and 2 (20-24); moveable 2 owns animation 3 (frame 0).
TEST(ChangeFrameCount, MovesEverythingThatFollowsTheChangedAnimation) {
  WadFile wad = WadBuilder().Expected();
  AnimCommandArray commands = DecodeAnimCommands(wad);
  WadFile expected = wad;
  AnimCommandArray expectedCommands = commands;

  ASSERT_EQ(ChangeFrameCount(wad, 0, 1, 12, commands), FrameCountChange::kDone);
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

  ASSERT_EQ(ChangeFrameCount(wad, 0, 1, 10, commands), FrameCountChange::kDone);
  EXPECT_EQ(wad, WadBuilder().Expected());
  EXPECT_EQ(commands, DecodeAnimCommands(wad));
}

TEST(ChangeFrameCount, RefusesFramesThatWouldWrapAndChangesNothing) {
  WadBuilder builder;
  builder.dispatches[3].outFrame = 65534;
  WadFile wad = builder.Expected();
  AnimCommandArray commands = DecodeAnimCommands(wad);
  commands[3].params[0] = 3;  // animation 2's effect frame
  const AnimCommandArray before = commands;
  // (moveable, animation, count): 65534 + 2, 3 - 5, no frame at all where the
  // first frame is 0 (frame 0 - 1), a count past 65536; a negative count, no
  // such animation, a moveable without animations, no such moveable.
  using enum FrameCountChange;
  for (auto [m, a, n, why] :
       {std::tuple{0, 0, 12, kPastLast}, {0, 1, 5, kBelowZero}, {0, 0, 0, kBelowZero}, {2, 0, 0, kBelowZero},
        {0, 0, 65537, kPastLast}, {0, 2, -1, kRefused}, {0, 3, 1, kRefused}, {1, 0, 1, kRefused}, {3, 0, 1, kRefused}})
    EXPECT_EQ(ChangeFrameCount(wad, m, a, n, commands), why) << m << " " << a << " " << n;
  EXPECT_EQ(wad, builder.Expected());
  EXPECT_EQ(commands, before);
  EXPECT_EQ(ChangeFrameCount(wad, 0, 1, 9, commands), kDone);  // 3 - 1 and 65534 - 1 fit
}

// Counts are taken in 16 bits (frames 0 to 65535 are 0 frames, 10 to 5 are
// 65532), and the count an animation has is accepted and moves nothing.
TEST(ChangeFrameCount, CountsInSixteenBitsAndAcceptsTheCountAnAnimationHas) {
  WadBuilder builder;
  builder.animations[3].frameEnd = 65535;
  builder.animations[1].frameEnd = 5;
  WadFile wad = builder.Expected();
  AnimCommandArray commands = DecodeAnimCommands(wad);
  EXPECT_EQ(FrameCount(wad.animations[3]), 0);
  EXPECT_EQ(FrameCount(wad.animations[1]), 65532);
  EXPECT_EQ(ChangeFrameCount(wad, 2, 0, 0, commands), FrameCountChange::kDone);
  EXPECT_EQ(ChangeFrameCount(wad, 0, 1, 65532, commands), FrameCountChange::kDone);
  EXPECT_EQ(wad, builder.Expected());
}

TEST(ChangeFrameCount, HelpersMoveOnlyTheirOwnFields) {
  WadFile wad = WadBuilder().Expected();
  WadFile expected = wad;
  ASSERT_EQ(ShiftDispatchFrames(wad, 0, 0, 1, 3), 1);
  ASSERT_EQ(ShiftDispatchFrames(wad, 0, 0, 2, 3), 1);
  expected.dispatches[2] = {13, 22, 2, 24};  // targets animation 2, after animation 0
  expected.dispatches[3] = {23, 27, 0, 5};
  expected.dispatches[4] = {25, 26, 3, 0};  // targets another moveable: frame kept
  EXPECT_EQ(wad, expected);

  AnimCommandArray commands = DecodeAnimCommands(wad);
  ASSERT_EQ(ShiftCommandFrames(0, 0, 3, 4, commands), 1);
  EXPECT_EQ(ShiftCommandFrames(0, 0, 3, -20, commands), 0);  // 19 - 20
  // Only the effects of animations 1 and 2 moved: not animation 0's sound, the
  // references' first arguments, nor the sound of animation 3 (another moveable).
  const uint16_t frames[] = {3, 10, 19, 27, 5, 0, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(commands[i].params[0], frames[i]) << i;
}
