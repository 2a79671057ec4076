#include <gtest/gtest.h>

#include <random>

#include "WadBuilder.h"
#include "model/KeyFrameCodec.h"
#include "model/KeyFrameStream.h"

namespace {

constexpr float A = kAbsentAngle;

struct Decoded {
  WadFile wad;
  AnimationModel model;
  uint32_t total = 0;
};

Decoded DecodeFixture(const WadBuilder& builder = WadBuilder()) {
  Decoded d;
  d.wad = builder.Expected();
  d.model.push_back(std::make_unique<AnimKeyFrames>());  // replaced by decoding
  EXPECT_EQ(DecodeKeyFrames(d.model, d.wad, d.total), 1);
  return d;
}

}  // namespace

TEST(DecodeKeyFrames, BuildsEveryAnimationWithItsMovablesMeshes) {
  Decoded d = DecodeFixture();
  ASSERT_EQ(d.model.size(), 4u);
  EXPECT_EQ(d.total, 2u + 3 + 0 + 1);
  const int keyFrames[] = {2, 3, 0, 1};
  const int meshes[] = {3, 3, 0, 1};
  for (int g = 0; g < 4; ++g) {
    ASSERT_EQ(d.model[g]->numKeyFrames(), keyFrames[g]) << g;
    for (const KeyFrame& k : d.model[g]->keyFrames) {
      EXPECT_EQ(k.numMeshes(), meshes[g]);
      EXPECT_EQ(k.workingBox, k.box);
      EXPECT_EQ(k.workingRootOffset, k.rootOffset);
    }
  }
  const KeyFrame& first = d.model[0]->keyFrames[0];
  EXPECT_EQ(first.box, (KeyFrameBox{-100, -200, -50, 100, 0, 50}));
  EXPECT_EQ(first.rootOffset, (RootOffset{0, -5, 3}));
  EXPECT_EQ(first.meshes[0].angles, (std::array<float, 3>{90, 45, 10}));
  EXPECT_EQ(d.model[1]->keyFrames[2].meshes[0].angles, (std::array<float, 3>{A, A, 270}));
}

TEST(DecodeKeyFrames, CountsTheLastAnimationsFramesUpToTheStreamEnd) {
  WadFile wad;
  wad.moveables = {{0, 0, 0, 0, 0, 0}};
  wad.animations.resize(1);
  wad.animations[0].keyFrameOffset = 100;
  wad.animations[0].frameSize = 9;
  wad.keyFrameWords.resize(77);
  AnimationModel model;
  uint32_t total = 0;
  ASSERT_EQ(DecodeKeyFrames(model, wad, total), 1);
  EXPECT_EQ(total, 3u);  // (154 - 100) / 18

  wad.animations.clear();
  EXPECT_EQ(DecodeKeyFrames(model, wad, total), 0);
  EXPECT_TRUE(model.empty());
  EXPECT_EQ(total, 0u);
}

TEST(RebuildKeyFrameData, UneditedModelGivesTheSameBytes) {
  Decoded d = DecodeFixture();
  const std::vector<uint8_t> before = SerializeWad(d.wad);
  d.wad.keyFrameWords.clear();
  ASSERT_TRUE(RebuildKeyFrameData(d.model, d.wad));
  EXPECT_EQ(SerializeWad(d.wad), before);
}

TEST(DecodeKeyFrames, AnimationsNoMoveableClaimsKeepTheirFrames) {
  WadBuilder builder;
  builder.moveables[0].animIndex = 1;  // animation 0 belongs to no moveable
  Decoded d = DecodeFixture(builder);
  ASSERT_EQ(d.model.size(), 4u);
  ASSERT_EQ(d.model[0]->numKeyFrames(), 2);
  EXPECT_EQ(d.model[0]->keyFrames[0].numMeshes(), 0);
  EXPECT_EQ(d.model[1]->keyFrames[0].numMeshes(), 3);
  ASSERT_TRUE(RebuildKeyFrameData(d.model, d.wad));
  EXPECT_EQ(d.wad.keyFrameWords, builder.keyFrameWords);
}

TEST(RebuildKeyFrameData, LaysOutEditedAnimationsWithoutGaps) {
  Decoded d = DecodeFixture();
  // Animation 0, keyframe 1: the one-word X of mesh 1 becomes three axes (+2 bytes).
  d.model[0]->keyFrames[1].meshes[1].angles = {10, 20, 30};
  // Animation 1 shrinks a rotation; its frame size stays.
  d.model[1]->keyFrames[0].meshes[1].angles = {90, A, A};
  d.model[1]->keyFrames[0].meshes[1].stored = {};
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

  // (10, 20, 30) is fields 28, 56, 85: 0x01C0E055; keyframe 0 gains a zero word.
  const std::vector<uint16_t> k1(wad.keyFrameWords.begin() + 14, wad.keyFrameWords.begin() + 28);
  EXPECT_EQ(k1, (std::vector<uint16_t>{0xFF92, 110, 0xFF2E, 10, 0xFFC4, 60, 1, 0xFFFA, 4, 0x2004, 0x0000,
                                       0x01C0, 0xE055, 0x8000}));
  EXPECT_EQ(wad.keyFrameWords[13], 0);
  // Animation 1, keyframe 0: one word shorter, so its padding word becomes zeros.
  const std::vector<uint16_t> a1(wad.keyFrameWords.begin() + 28, wad.keyFrameWords.begin() + 43);
  EXPECT_EQ(a1, (std::vector<uint16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0xC400, 0x4400, 0, 0, 0, 0}));
}

TEST(RebuildKeyFrameData, RefusesKeyFramesLongerThan510BytesAndKeepsTheWad) {
  Decoded d = DecodeFixture();
  KeyFrame wide;
  wide.meshes.resize(123);
  for (MeshPose& pose : wide.meshes) pose.angles = {1, 2, 3};
  d.model[2]->keyFrames.push_back(wide);  // 18 + 123 * 4 = 510 bytes
  ASSERT_TRUE(RebuildKeyFrameData(d.model, d.wad));
  EXPECT_EQ(d.wad.animations[2].frameSize, 255);

  const WadFile before = d.wad;
  d.model[2]->keyFrames.back().meshes.emplace_back();
  d.model[2]->keyFrames.back().meshes.back().angles = {1, 2, 3};
  const EncodeResult refused = RebuildKeyFrameData(d.model, d.wad);
  EXPECT_FALSE(refused);
  EXPECT_NE(refused.message.find("514"), std::string::npos) << refused.message;
  EXPECT_EQ(d.wad, before);

  d.model.pop_back();
  EXPECT_FALSE(RebuildKeyFrameData(d.model, d.wad));
  EXPECT_EQ(d.wad, before);
}

// Random offsets, frame sizes, mesh counts and animation indexes over a short
// stream: decoding stays inside the stream (the sanitizer checks every read)
// and the result encodes.
TEST(DecodeKeyFrames, DamagedRecordsNeverReadOutsideTheStream) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 2000; ++round) {
    WadBuilder builder;
    for (WadAnimation& a : builder.animations) {
      a.keyFrameOffset = random() % 200;
      a.frameSize = random() % 3 == 0 ? random() % 4 : random() % 256;
    }
    for (WadMoveable& m : builder.moveables) {
      m.numMeshes = random() % 70;
      m.animIndex = static_cast<int16_t>(static_cast<int>(random() % 7) - 2);
    }
    builder.keyFrameWords.resize(random() % 100);
    Decoded d = DecodeFixture(builder);
    ASSERT_EQ(d.model.size(), 4u);
    uint32_t decoded = 0;
    for (const auto& animation : d.model) decoded += animation->numKeyFrames();
    EXPECT_EQ(decoded, d.total);
    WadFile wad = d.wad;
    (void)RebuildKeyFrameData(d.model, wad);
  }
}

TEST(FreeAnimations, ReleasesOnlyForAPositiveCount) {
  Decoded d = DecodeFixture();
  EXPECT_EQ(FreeAnimations(d.model, 0), 0);
  EXPECT_EQ(d.model.size(), 4u);
  EXPECT_EQ(FreeAnimations(d.model, 4), 1);
  EXPECT_TRUE(d.model.empty());
}
