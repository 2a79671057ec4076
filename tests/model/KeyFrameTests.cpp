#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

#include "WadBuilder.h"
#include "model/KeyFrameCodec.h"
#include "model/KeyFrameStream.h"

namespace {

using Angles = std::array<float, 3>;
using Words = std::vector<uint16_t>;
constexpr float A = kAbsentAngle;

Words Encode(Angles angles) {
  std::array<uint16_t, 2> words{};
  const int count = EncodeRotation(angles, words);
  return {words.begin(), words.begin() + count};
}

// A WAD and its decoded model (decoding replaces what the model held).
struct Decoded {
  WadFile wad;
  AnimationModel model;
  uint32_t total = 0;
  explicit Decoded(const WadBuilder& builder = WadBuilder()) : wad(builder.Expected()) {
    model.push_back(std::make_unique<AnimKeyFrames>());
    EXPECT_EQ(DecodeKeyFrames(model, wad, total), 1);
  }
};

// The model is never larger than the stream: every keyframe covers words of
// its own, and every pose at least one of them.
void ExpectNoWordDecodedTwice(const Decoded& d) {
  uint64_t frameWords = 0;
  uint32_t keyFrames = 0;
  for (std::size_t g = 0; g < d.model.size(); ++g) {
    const int size = d.wad.animations[g].frameSize;
    for (const KeyFrame& k : d.model[g]->keyFrames) {
      ASSERT_LE(k.meshes.size() + kKeyFrameHeaderWords, static_cast<std::size_t>(size)) << g;
      frameWords += size;
    }
    keyFrames += d.model[g]->numKeyFrames();
  }
  EXPECT_LE(frameWords, d.wad.numKeyFrameWords());
  EXPECT_EQ(keyFrames, d.total);
}

}  // namespace

TEST(Rotation, EncodesTheFormTheAbsentAxesChooseAndEveryWholeDegreeSurvives) {
  const std::pair<Angles, Words> cases[] = {
      {{10, A, A}, {0x4071}}, {{A, 90, A}, {0x8400}}, {{A, A, 45}, {0xC200}}, {{0, A, A}, {0x4000}},
      {{10, 20, A}, {0x01C0, 0xE000}}, {{A, A, A}, {0, 0}}, {{1, 1, 1}, {0x0020, 0x0802}}};
  for (const auto& [angles, words] : cases) EXPECT_EQ(Encode(angles), words) << angles[0];
  for (int a = 1; a < 360; ++a) {
    const float f = static_cast<float>(a);
    for (Angles angles : {Angles{f, A, A}, Angles{A, f, A}, Angles{A, A, f}, Angles{f, 360 - f, f}}) {
      Angles back{};
      ASSERT_NE(DecodeRotation(back[0], back[1], back[2], Encode(angles)), 0);
      for (float& b : back) b = static_cast<float>(RoundAngle(b));
      ASSERT_EQ(back, angles) << a;
    }
  }
}

// An angle outside a turn encodes like the angle a whole number of turns
// away, so it never reaches another axis's bits or the form's.
TEST(Rotation, AnglesOutsideATurnNeverSpillIntoOtherBits) {
  EXPECT_EQ(Encode({A, -10, A}), Encode({A, 350, A}));
  EXPECT_EQ(Encode({-90, 450, 720}), Encode({270, 90, 0}));
  // 1e9 is 2777777 turns and 280 degrees; NaN and infinities encode as 0; a
  // hair below 0 is a whole turn, which is 0 again.
  EXPECT_EQ(Encode({1e9f, NAN, -INFINITY}), Encode({280, 0, 0}));
  EXPECT_EQ(Encode({INFINITY, -1e9f, -1e-20f}), Encode({0, 80, 0}));
  EXPECT_EQ(Encode({-1e-20f, A, A}), Encode({0, A, A}));
}

TEST(RoundAngle, HalvesRoundUpNegativesCutTowardsZeroExtremesSaturate) {
  const std::pair<float, int> cases[] = {{89.5f, 90}, {89.4f, 89}, {360.0f, 360}, {12.5f, 13}, {-2.7f, -2},
                                         {-0.5f, 0},  {NAN, 0},    {1e20f, INT_MAX}, {-1e20f, INT_MIN}};
  for (auto [a, rounded] : cases) EXPECT_EQ(RoundAngle(a), rounded) << a;
}

// A frame too short for its meshes gives poses only for the rotations it
// holds; what is left of it is kept as padding and encodes back unchanged.
TEST(KeyFrameCodec, ShortFramesGivePosesOnlyForTheRotationsTheyHold) {
  EXPECT_EQ(DecodeKeyFrame(Words{1, 2, 3}, 0).box, (KeyFrameBox{1, 3, 0, 2, 0, 0}));
  // The second rotation's second word lies outside the frame.
  const Words frame{0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4400, 0x1000};
  const KeyFrame keyFrame = DecodeKeyFrame(frame, 3);
  ASSERT_EQ(keyFrame.numMeshes(), 1);
  EXPECT_EQ(keyFrame.meshes[0].angles, (Angles{90, A, A}));
  EXPECT_EQ(keyFrame.storedPadding, Words{0x1000});
  EXPECT_EQ(EncodeKeyFrame(keyFrame, 0), frame);
}

TEST(KeyFrameStream, DecodesEveryFormOfEveryKeyFrameWithItsMoveablesMeshes) {
  Decoded d;
  EXPECT_EQ(d.total, 2u + 3 + 0 + 1);
  std::vector<int> keyFrames;
  std::vector<Angles> angles;
  for (const auto& animation : d.model) {
    keyFrames.push_back(animation->numKeyFrames());
    for (const KeyFrame& k : animation->keyFrames) {
      EXPECT_TRUE(k.workingBox == k.box && k.workingRootOffset == k.rootOffset);
      for (const MeshPose& pose : k.meshes) {
        EXPECT_EQ(pose.workingAngles, pose.angles);
        angles.push_back(pose.angles);
      }
    }
  }
  EXPECT_EQ(keyFrames, (std::vector<int>{2, 3, 0, 1}));
  // Three meshes per keyframe in animations 0 and 1, one in animation 3; 0x4FFF is 359.9, rounded to 360.
  EXPECT_EQ(angles, (std::vector<Angles>{{90, 45, 10}, {90, A, A}, {A, 45, A}, {180, 90, A}, {360, A, A}, {A, 0, A},
                                         {A, A, 90}, {90, A, A}, {A, A, A}, {A, A, 180}, {90, A, A}, {A, A, A},
                                         {A, A, 270}, {90, A, A}, {A, A, A}, {45, A, A}}));
  EXPECT_EQ(d.model[0]->keyFrames[0].box, (KeyFrameBox{-100, -200, -50, 100, 0, 50}));
  EXPECT_EQ(d.model[0]->keyFrames[0].rootOffset, (RootOffset{0, -5, 3}));

  d.wad.animations.clear();
  EXPECT_EQ(DecodeKeyFrames(d.model, d.wad, d.total), 0);
  EXPECT_TRUE(d.model.empty());
  EXPECT_EQ(d.total, 0u);
}

TEST(KeyFrameStream, UneditedModelRebuildsTheSameWords) {
  WadBuilder unclaimed;
  unclaimed.moveables[0].animIndex = 1;        // animation 0 belongs to no moveable,
  unclaimed.moveables[0].keyFrameOffset = 52;  // so moveable 0's keyframes start with animation 1's
  for (const WadBuilder& builder : {WadBuilder(), unclaimed}) {
    Decoded d(builder);
    ASSERT_TRUE(RebuildKeyFrameData(d.model, d.wad));
    EXPECT_EQ(d.wad, builder.Expected());
  }
}

TEST(KeyFrameStream, RebuildLaysOutEditedAnimationsWithoutGaps) {
  Decoded d;
  // Animation 0, keyframe 1: the one-word Y of mesh 2 becomes three axes (+2 bytes).
  d.model[0]->keyFrames[1].meshes[2].angles = {10, 20, 30};
  // Every keyframe of animation 1 commits (90, -, -) afresh: one word instead of two; its frame size stays.
  for (KeyFrame& k : d.model[1]->keyFrames) k.meshes[1].stored = {};
  ASSERT_TRUE(RebuildKeyFrameData(d.model, d.wad));

  const WadFile& wad = d.wad;
  EXPECT_EQ(wad.animations[0].frameSize, 14);
  EXPECT_EQ(wad.animations[1].frameSize, 15);
  EXPECT_EQ(wad.animations[2].frameSize, 0);
  const uint32_t offsets[] = {0, 2 * 28, 2 * 28 + 3 * 30, 2 * 28 + 3 * 30};
  for (int g = 0; g < 4; ++g) EXPECT_EQ(wad.animations[g].keyFrameOffset, offsets[g]) << g;
  EXPECT_EQ(wad.moveables[0].keyFrameOffset, 0u);
  EXPECT_EQ(wad.moveables[1].keyFrameOffset, offsets[3]);
  EXPECT_EQ(wad.moveables[2].keyFrameOffset, offsets[3]);
  EXPECT_EQ(wad.numKeyFrameWords(), (offsets[3] + 20) / 2);

  // (10, 20, 30) is fields 28, 56, 85: 0x01C0E055; its siblings keep their words
  // (0x4FFF, encoded afresh, would be 0x4000); keyframe 0 gains a zero word.
  EXPECT_EQ(Words(wad.keyFrameWords.begin() + 14, wad.keyFrameWords.begin() + 28),
            (Words{0xFF92, 110, 0xFF2E, 10, 0xFFC4, 60, 1, 0xFFFA, 4, 0x2004, 0x0000, 0x4FFF, 0x01C0, 0xE055}));
  EXPECT_EQ(wad.keyFrameWords[13], 0);
  // Animation 1, keyframe 0: one word shorter, so its padding word becomes zeros.
  EXPECT_EQ(Words(wad.keyFrameWords.begin() + 28, wad.keyFrameWords.begin() + 43),
            (Words{1, 2, 3, 4, 5, 6, 7, 8, 9, 0xC400, 0x4400, 0, 0, 0, 0}));
}

TEST(KeyFrameStream, RebuildRefusesKeyFramesLongerThan510BytesAndKeepsTheWad) {
  Decoded d;
  std::vector<MeshPose>& meshes = d.model[2]->keyFrames.emplace_back().meshes;
  meshes.resize(123);  // 18 + 123 * 4 = 510 bytes
  for (MeshPose& pose : meshes) pose.angles = {1, 2, 3};
  ASSERT_TRUE(RebuildKeyFrameData(d.model, d.wad));
  EXPECT_EQ(d.wad.animations[2].frameSize, 255);

  const WadFile before = d.wad;
  meshes.push_back(meshes.front());  // 514 bytes
  const EncodeResult refused = RebuildKeyFrameData(d.model, d.wad);
  EXPECT_FALSE(refused);
  EXPECT_NE(refused.message.find("514"), std::string::npos) << refused.message;
  EXPECT_EQ(d.wad, before);
  d.model.pop_back();  // a model that does not match the WAD's animations
  EXPECT_FALSE(RebuildKeyFrameData(d.model, d.wad));
  EXPECT_EQ(d.wad, before);
}

// Random offsets, frame sizes, mesh counts and animation indexes over a short
// stream: decoding stays inside the stream (the sanitizer checks every read)
// and the result encodes.
TEST(KeyFrameStream, DamagedRecordsNeverReadOutsideTheStream) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 2000; ++round) {
    WadBuilder builder;
    for (WadAnimation& a : builder.animations) {
      a.keyFrameOffset = random() % 200;
      a.frameSize = random() % 3 == 0 ? random() % 4 : random() % 256;
    }
    for (WadMoveable& m : builder.moveables) {
      m.numMeshes = random() % 70;
      m.animIndex = static_cast<int16_t>(static_cast<int>(random() % 9) - 2);  // -2 .. 6 of 4 animations
    }
    builder.keyFrameWords.resize(random() % 100);
    Decoded d(builder);
    ASSERT_EQ(d.model.size(), 4u);
    ExpectNoWordDecodedTwice(d);
    (void)RebuildKeyFrameData(d.model, d.wad);
  }
}

// One flipped bit makes moveable 0 claim 32771 meshes: its keyframes still get
// only the poses their frames hold, and the file saves back unchanged.
TEST(KeyFrameStream, AFlippedMeshCountAsksForNoMorePosesThanTheFramesHold) {
  std::vector<std::size_t> countAt;
  std::vector<uint8_t> bytes = WadBuilder().Bytes(&countAt);
  bytes[countAt[10] + 4 + 5] ^= 0x80;  // high byte of the first moveable's mesh count
  Decoded d;
  ASSERT_EQ(ReadWadBytes(bytes, d.wad), 1);
  ASSERT_EQ(d.wad.moveables[0].numMeshes, 0x8003);
  ASSERT_EQ(DecodeKeyFrames(d.model, d.wad, d.total), 1);
  ExpectNoWordDecodedTwice(d);
  ASSERT_TRUE(RebuildKeyFrameData(d.model, d.wad));
  EXPECT_EQ(SerializeWad(d.wad), bytes);
}
