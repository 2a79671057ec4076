#include <gtest/gtest.h>

#include "model/KeyFrameEditing.h"

namespace {

// A keyframe told apart from others by its root offset x.
KeyFrame Marked(int16_t mark, int meshes = 2) {
  KeyFrame k;
  k.rootOffset = {mark, 0, 0};
  k.workingRootOffset = k.rootOffset;
  k.box = {mark, mark, mark, mark, mark, mark};
  k.workingBox = k.box;
  k.meshes.resize(meshes);
  for (MeshPose& pose : k.meshes) pose.angles = pose.workingAngles = {float(mark), 360, 360};
  return k;
}

AnimationModel ModelWith(std::vector<std::vector<KeyFrame>> animations) {
  AnimationModel model;
  for (auto& keyFrames : animations) {
    model.push_back(std::make_unique<AnimKeyFrames>());
    model.back()->keyFrames = std::move(keyFrames);
  }
  return model;
}

std::vector<int> Marks(const AnimKeyFrames& animation) {
  std::vector<int> marks;
  for (const KeyFrame& k : animation.keyFrames) marks.push_back(k.rootOffset[0]);
  return marks;
}

}  // namespace

TEST(AppendKeyFrame, StartsEmptyAnimationsAtZeroAndCopiesTheLastKeyFrame) {
  AnimationModel model = ModelWith({{}});
  ASSERT_EQ(AppendKeyFrame(model, 0, 3), 1);
  const KeyFrame& first = model[0]->keyFrames[0];
  ASSERT_EQ(first.numMeshes(), 3);
  for (const MeshPose& pose : first.meshes) {
    EXPECT_EQ(pose.angles, (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(pose.workingAngles, (std::array<float, 3>{0, 0, 0}));
  }
  EXPECT_EQ(first.box, KeyFrameBox{});
  EXPECT_EQ(first.rootOffset, RootOffset{});

  // The copy takes the committed box and root offset as its working ones.
  model[0]->keyFrames[0] = Marked(7, 3);
  model[0]->keyFrames[0].workingBox = {1, 1, 1, 1, 1, 1};
  model[0]->keyFrames[0].workingRootOffset = {2, 2, 2};
  ASSERT_EQ(AppendKeyFrame(model, 0, 99), 1);
  const KeyFrame& copy = model[0]->keyFrames[1];
  EXPECT_EQ(copy.meshes, model[0]->keyFrames[0].meshes);
  EXPECT_EQ(copy.box, model[0]->keyFrames[0].box);
  EXPECT_EQ(copy.workingBox, copy.box);
  EXPECT_EQ(copy.rootOffset, model[0]->keyFrames[0].rootOffset);
  EXPECT_EQ(copy.workingRootOffset, copy.rootOffset);
}

TEST(AppendKeyFrame, RefusesWhatWouldWrapOrLieOutsideTheModel) {
  AnimationModel model = ModelWith({{}});
  model[0]->keyFrames.resize(kMaxKeyFrames);
  EXPECT_EQ(AppendKeyFrame(model, 0, 1), 0);
  EXPECT_EQ(model[0]->keyFrames.size(), kMaxKeyFrames);
  model[0]->keyFrames.clear();
  EXPECT_EQ(AppendKeyFrame(model, 0, 70000), 0);
  EXPECT_EQ(AppendKeyFrame(model, 0, -1), 0);
  EXPECT_EQ(AppendKeyFrame(model, 1, 1), 0);
  EXPECT_EQ(AppendKeyFrame(model, -1, 1), 0);
  EXPECT_TRUE(model[0]->keyFrames.empty());
}

TEST(DeleteKeyFrame, RemovesOneKeepingTheLast) {
  AnimationModel model = ModelWith({{Marked(0), Marked(1), Marked(2)}, {Marked(5)}, {}});
  EXPECT_EQ(DeleteKeyFrame(model, 0, 0), 1);
  EXPECT_EQ(Marks(*model[0]), (std::vector<int>{1, 2}));
  EXPECT_EQ(model[0]->keyFrames[0], Marked(1));
  EXPECT_EQ(DeleteKeyFrame(model, 1, 0), 0);
  EXPECT_EQ(Marks(*model[1]), (std::vector<int>{5}));
  EXPECT_EQ(DeleteKeyFrame(model, 2, 0), -1);
  EXPECT_EQ(DeleteKeyFrame(model, 0, 2), -1);
  EXPECT_EQ(DeleteKeyFrame(model, 3, 0), -1);
  EXPECT_EQ(Marks(*model[0]), (std::vector<int>{1, 2}));
}

TEST(ShiftKeyFramesUp, OpensAGapByDuplicatingTheStart) {
  AnimationModel model = ModelWith({{Marked(0), Marked(1), Marked(2), Marked(3)}});
  ShiftKeyFramesUp(model, 0, 1);
  EXPECT_EQ(Marks(*model[0]), (std::vector<int>{0, 1, 1, 2}));
  EXPECT_EQ(model[0]->keyFrames[2], Marked(1));
  ShiftKeyFramesUp(model, 0, 9);
  ShiftKeyFramesUp(model, 4, 0);
  EXPECT_EQ(Marks(*model[0]), (std::vector<int>{0, 1, 1, 2}));
}

TEST(InsertAnimation, PutsAnEmptyEntryAtTheIndexAndKeepsTheOthersInPlace) {
  AnimationModel model = ModelWith({{Marked(0)}, {Marked(1)}, {Marked(2)}, {Marked(3)}});
  const AnimKeyFrames* third = model[2].get();
  ASSERT_EQ(InsertAnimation(model, 2, 5), 1);
  ASSERT_EQ(model.size(), 5u);
  EXPECT_EQ(model[2]->numKeyFrames(), 0);
  EXPECT_EQ(model[2]->frameBytes, 0);
  EXPECT_EQ(model[3].get(), third);
  EXPECT_EQ(Marks(*model[4]), (std::vector<int>{3}));

  EXPECT_EQ(InsertAnimation(model, 2, 5), 0);  // the size must grow by one
  EXPECT_EQ(InsertAnimation(model, 7, 6), 0);
  EXPECT_EQ(model.size(), 5u);
}
