// Round trips over the real WADs beside the checkout; skipped when absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "SharedData.h"
#include "WadBuilder.h"
#include "model/AnimCommands.h"
#include "model/KeyFrameCodec.h"
#include "model/KeyFrameStream.h"

namespace {

std::vector<std::filesystem::path> RealWads() {
  std::vector<std::filesystem::path> wads = testsupport::SharedWads();
  if (wads.empty()) ADD_FAILURE() << "no WAD in " << testsupport::SharedPath("wads");
  return wads;
}

WadFile ReadReal(const std::filesystem::path& path) {
  WadFile wad;
  std::string why;
  EXPECT_EQ(ReadWadBytes(testsupport::ReadBytes(path), wad, &why), 1) << path << ": " << why;
  return wad;
}

// Decodes the keyframes and commands and encodes them back in place.
void DecodeAndEncode(WadFile& wad, const std::function<void(AnimationModel&)>& edit = {}) {
  AnimationModel model;
  uint32_t total = 0;
  DecodeKeyFrames(model, wad, total);
  const AnimCommandArray commands = DecodeAnimCommands(wad);
  if (edit) edit(model);
  wad.keyFrameWords.clear();
  wad.commandWords.clear();
  const EncodeResult keyFrames = RebuildKeyFrameData(model, wad);
  ASSERT_TRUE(keyFrames) << keyFrames.message;
  const EncodeResult encoded = EncodeAnimCommands(commands, wad);
  ASSERT_TRUE(encoded) << encoded.message;
}

struct MeshSpot {
  uint32_t animation = 0;
  uint32_t firstWord = 0;  // in keyFrameWords
  uint32_t mesh = 0;
};

// The first two-word rotation of keyframe 0 of the first animation with
// keyframes, found by walking the frame's words.
bool FindTwoWordRotation(const WadFile& wad, MeshSpot& spot) {
  for (uint32_t m = 0; m < wad.numMoveables(); ++m) {
    const uint32_t count = CountMoveableAnimations(wad, m);
    for (uint32_t local = 0; local < count; ++local) {
      const uint32_t g = wad.moveables[m].animIndex + local;
      if (wad.animations[g].frameSize == 0) continue;
      uint32_t word = wad.animations[g].keyFrameOffset / 2 + 9;
      for (uint32_t mesh = 0; mesh < wad.moveables[m].numMeshes; ++mesh) {
        const bool oneWord = (wad.keyFrameWords[word] & 0xC000) != 0;
        if (!oneWord) {
          spot = {g, word, mesh};
          return true;
        }
        word += 1;
      }
    }
  }
  return false;
}

}  // namespace

TEST(RealWads, ReadThenWriteIsByteIdentical) {
  SKIP_WITHOUT_SHARED("wads");
  for (const auto& path : RealWads()) {
    const WadFile wad = ReadReal(path);
    EXPECT_EQ(SerializeWad(wad), testsupport::ReadBytes(path)) << path;
  }
}

TEST(RealWads, DecodeRebuildEncodeIsByteIdentical) {
  SKIP_WITHOUT_SHARED("wads");
  for (const auto& path : RealWads()) {
    WadFile wad = ReadReal(path);
    DecodeAndEncode(wad);
    EXPECT_EQ(SerializeWad(wad), testsupport::ReadBytes(path)) << path;
  }
}

TEST(RealWads, OneCommittedMeshEditChangesOnlyThatMeshsWords) {
  SKIP_WITHOUT_SHARED("wads");
  for (const auto& path : RealWads()) {
    const WadFile original = ReadReal(path);
    MeshSpot spot;
    if (!FindTwoWordRotation(original, spot)) continue;
    WadFile wad = original;
    DecodeAndEncode(wad, [&](AnimationModel& model) {
      MeshPose& pose = model[spot.animation]->keyFrames[0].meshes[spot.mesh];
      pose.angles = {pose.angles[0] == 17 ? 18.0f : 17.0f, 200, 300};
    });

    ASSERT_EQ(wad.keyFrameWords.size(), original.keyFrameWords.size()) << path;
    for (std::size_t i = 0; i < wad.keyFrameWords.size(); ++i) {
      if (i == spot.firstWord || i == spot.firstWord + 1) continue;
      ASSERT_EQ(wad.keyFrameWords[i], original.keyFrameWords[i]) << path << " word " << i;
    }
    std::array<float, 3> angles{};
    ASSERT_EQ(DecodeRotation(angles[0], angles[1], angles[2],
                             std::span(wad.keyFrameWords).subspan(spot.firstWord, 2)), 3);
    EXPECT_EQ(RoundAngle(angles[1]), 200) << path;
    EXPECT_EQ(RoundAngle(angles[2]), 300) << path;

    WadFile rest = wad;
    rest.keyFrameWords = original.keyFrameWords;
    EXPECT_EQ(rest, original) << path;
    WadFile readBack;
    EXPECT_EQ(ReadWadBytes(SerializeWad(wad), readBack), 1) << path;
  }
}

TEST(RealWads, EveryTruncationOfASmallWadIsRefused) {
  SKIP_WITHOUT_SHARED("wads/egypt.wad");
  const std::vector<uint8_t> bytes = testsupport::ReadBytes(testsupport::SharedPath("wads/egypt.wad"));
  const WadFile before = WadBuilder().Expected();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    WadFile wad = before;
    ASSERT_EQ(ReadWadBytes(std::span(bytes).first(length), wad), 0) << length;
    ASSERT_EQ(wad, before) << length;
  }
}
