#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/KeyFrameCodec.h"

namespace {

using Angles = std::array<float, 3>;
constexpr float A = kAbsentAngle;

Angles Decode(std::vector<uint16_t> words, int expectedForm) {
  Angles angles{-1, -1, -1};
  EXPECT_EQ(DecodeRotation(angles[0], angles[1], angles[2], words), expectedForm);
  return angles;
}

std::vector<uint16_t> Encode(Angles angles) {
  std::array<uint16_t, 2> words{};
  const int count = EncodeRotation(angles, words);
  return {words.begin(), words.begin() + count};
}

Angles Rounded(const Angles& a) {
  return {float(RoundAngle(a[0])), float(RoundAngle(a[1])), float(RoundAngle(a[2]))};
}

KeyFrame ThreeMeshKeyFrame() {
  KeyFrame keyFrame;
  keyFrame.meshes.resize(3);
  keyFrame.meshes[0].angles = {10, A, A};   // one word
  keyFrame.meshes[1].angles = {10, 20, A};  // two words
  keyFrame.meshes[2].angles = {A, A, A};    // two words
  return keyFrame;
}

}  // namespace

TEST(DecodeRotation, ReadsEachFormAndRefusesWordsCutShort) {
  EXPECT_EQ(Decode({0x4400}, 1), (Angles{90, A, A}));
  EXPECT_EQ(Decode({0x8000}, 1), (Angles{A, 0, A}));
  EXPECT_EQ(Decode({0xC800}, 1), (Angles{A, A, 180}));
  EXPECT_EQ(Decode({0x0000, 0x0000}, 3), (Angles{A, A, A}));
  EXPECT_EQ(Decode({0x1000, 0x0000}, 3), (Angles{90, A, A}));
  // x 256, y 128, z 28 steps of 1024
  EXPECT_EQ(Decode({0x1002, 0x001C}, 3), (Angles{90, 45, 28 * 360.0f / 1024}));
  EXPECT_EQ(Decode({}, 0), (Angles{-1, -1, -1}));
  EXPECT_EQ(Decode({0x1000}, 0), (Angles{-1, -1, -1}));
}

TEST(EncodeRotation, ChoosesTheFormByTheAbsentAxes) {
  EXPECT_EQ(Encode({10, A, A}), (std::vector<uint16_t>{0x4071}));
  EXPECT_EQ(Encode({A, 90, A}), (std::vector<uint16_t>{0x8400}));
  EXPECT_EQ(Encode({A, A, 45}), (std::vector<uint16_t>{0xC200}));
  EXPECT_EQ(Encode({0, A, A}), (std::vector<uint16_t>{0x4000}));
  EXPECT_EQ(Encode({10, 20, A}), (std::vector<uint16_t>{0x01C0, 0xE000}));
  EXPECT_EQ(Encode({A, A, A}), (std::vector<uint16_t>{0x0000, 0x0000}));
  EXPECT_EQ(Encode({1, 1, 1}), (std::vector<uint16_t>{0x0020, 0x0802}));
}

TEST(EncodeRotation, EveryWholeDegreeSurvivesEachForm) {
  for (int a = 1; a < 360; ++a) {
    const float f = static_cast<float>(a);
    for (Angles angles : {Angles{f, A, A}, Angles{A, f, A}, Angles{A, A, f}, Angles{f, 359 - f + 1, f}}) {
      std::vector<uint16_t> words = Encode(angles);
      Angles back{};
      ASSERT_NE(DecodeRotation(back[0], back[1], back[2], words), 0);
      ASSERT_EQ(Rounded(back), angles) << a;
    }
  }
}

TEST(EncodeRotation, AnglesOutsideATurnNeverSpillIntoOtherBits) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // Each angle encodes like the angle a whole number of turns away.
  EXPECT_EQ(Encode({-10, A, A}), Encode({350, A, A}));
  EXPECT_EQ(Encode({A, 370, A}), Encode({A, 10, A}));
  EXPECT_EQ(Encode({A, A, 720}), Encode({A, A, 0}));
  EXPECT_EQ(Encode({-90, 450, 10}), Encode({270, 90, 10}));
  for (float wild : {-10.0f, 370.0f, 1e9f, -1e9f, -0.0001f, 359.9999f, nan, inf, -inf}) {
    for (int axis = 0; axis < 3; ++axis) {
      Angles angles{30, 60, 120};
      angles[axis] = wild;
      const std::vector<uint16_t> words = Encode(angles);
      ASSERT_EQ(words.size(), 2u);
      const uint32_t v = uint32_t{words[0]} << 16 | words[1];
      EXPECT_EQ(v >> 30, 0u) << wild;  // still the two-word form
      const uint32_t tame[] = {uint32_t(30 * 1024 / 360), uint32_t(60 * 1024 / 360), uint32_t(120 * 1024 / 360)};
      for (int other = 0; other < 3; ++other) {
        if (other == axis) continue;
        EXPECT_EQ((v >> (20 - 10 * other)) & 0x3FF, tame[other]) << wild;
      }
    }
    const std::vector<uint16_t> one = Encode({A, wild, A});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0] & 0xC000, 0x8000) << wild;
    EXPECT_LT(one[0] & 0x3FFF, 4096) << wild;
  }
}

TEST(RoundAngle, HalvesRoundUpAndNegativesCutTowardsZero) {
  EXPECT_EQ(RoundAngle(89.5f), 90);
  EXPECT_EQ(RoundAngle(89.4f), 89);
  EXPECT_EQ(RoundAngle(360.0f), 360);
  EXPECT_EQ(RoundAngle(12.5f), 13);
  EXPECT_EQ(RoundAngle(-2.7f), -2);
  EXPECT_EQ(RoundAngle(-0.5f), 0);
  EXPECT_EQ(RoundAngle(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(RoundAngle(1e20f), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundAngle(-1e20f), std::numeric_limits<int>::min());
}

TEST(EncodeKeyFrame, MeasuresAndPadsTheFrame) {
  KeyFrame keyFrame = ThreeMeshKeyFrame();
  keyFrame.box = {-1, -2, -3, 4, 5, 6};
  keyFrame.rootOffset = {7, -8, 9};
  EXPECT_EQ(KeyFrameByteSize(keyFrame), 18 + 2 + 8);
  const std::vector<uint16_t> words = EncodeKeyFrame(keyFrame, 32);
  const std::vector<uint16_t> expected = {0xFFFF, 4, 0xFFFE, 5, 0xFFFD, 6, 7, 0xFFF8, 9,
                                          0x4071, 0x01C0, 0xE000, 0, 0, 0, 0};
  EXPECT_EQ(words, expected);
  EXPECT_EQ(EncodeKeyFrame(keyFrame, 20).size(), 14u);  // never cut
}

TEST(DecodeKeyFrame, KeepsWordsThatWholeDegreesCannotHold) {
  // (90, -, -) stored in two words, X 359.9, Y 0.0, then padding.
  const std::vector<uint16_t> frame = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0x1000, 0x0000, 0x4FFF, 0x8000, 0xBEEF, 0};
  KeyFrame keyFrame = DecodeKeyFrame(frame, 3);
  EXPECT_EQ(keyFrame.box, (KeyFrameBox{1, 3, 5, 2, 4, 6}));
  EXPECT_EQ(keyFrame.rootOffset, (RootOffset{7, 8, 9}));
  EXPECT_EQ(keyFrame.workingBox, keyFrame.box);
  EXPECT_EQ(keyFrame.workingRootOffset, keyFrame.rootOffset);
  EXPECT_EQ(keyFrame.meshes[0].angles, (Angles{90, A, A}));
  EXPECT_EQ(keyFrame.meshes[1].angles, (Angles{360, A, A}));
  EXPECT_EQ(keyFrame.meshes[2].angles, (Angles{A, 0, A}));
  for (const MeshPose& pose : keyFrame.meshes) EXPECT_EQ(pose.workingAngles, pose.angles);
  EXPECT_EQ(EncodeKeyFrame(keyFrame, 2 * int(frame.size())), frame);

  // An edit of one mesh re-encodes that mesh alone; the others keep their words.
  keyFrame.meshes[2].angles = {A, 90, A};
  std::vector<uint16_t> edited = frame;
  edited[12] = 0x8400;
  EXPECT_EQ(EncodeKeyFrame(keyFrame, 2 * int(frame.size())), edited);

  // Encoded afresh, the two-word (90, -, -) takes the one-word X form.
  keyFrame.meshes[0].stored = {};
  EXPECT_EQ(EncodeKeyFrame(keyFrame, 0)[9], 0x4400);
  EXPECT_EQ(KeyFrameByteSize(keyFrame), 2 * (9 + 1 + 1 + 1));
}

TEST(DecodeKeyFrame, ShortFramesLeaveMissingValuesAbsent) {
  const std::vector<uint16_t> noRoom = {1, 2, 3};
  KeyFrame keyFrame = DecodeKeyFrame(noRoom, 2);
  EXPECT_EQ(keyFrame.box, (KeyFrameBox{1, 3, 0, 2, 0, 0}));
  ASSERT_EQ(keyFrame.numMeshes(), 2);
  EXPECT_EQ(keyFrame.meshes[1].angles, (Angles{A, A, A}));

  // The second rotation's second word lies outside the frame.
  const std::vector<uint16_t> cut = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4400, 0x1000};
  keyFrame = DecodeKeyFrame(cut, 3);
  EXPECT_EQ(keyFrame.meshes[0].angles, (Angles{90, A, A}));
  EXPECT_EQ(keyFrame.meshes[1].angles, (Angles{A, A, A}));
  EXPECT_EQ(keyFrame.meshes[2].angles, (Angles{A, A, A}));
  EXPECT_TRUE(keyFrame.storedPadding.empty());
}
