#include <gtest/gtest.h>

#include "model/AnimCommands.h"

namespace {

WadFile WadWithCommands(std::vector<uint16_t> counts, std::vector<uint16_t> words) {
  WadFile wad;
  wad.version = kWadVersion;
  for (uint16_t count : counts) {
    WadAnimation animation;
    animation.numCommands = count;
    animation.commandOffset = 0xEEEE;  // rewritten by every encode
    wad.animations.push_back(animation);
  }
  wad.commandWords = std::move(words);
  return wad;
}

std::vector<uint16_t> CountsOf(const WadFile& wad) {
  std::vector<uint16_t> v;
  for (const WadAnimation& a : wad.animations) v.push_back(a.numCommands);
  return v;
}

std::vector<uint16_t> OffsetsOf(const WadFile& wad) {
  std::vector<uint16_t> v;
  for (const WadAnimation& a : wad.animations) v.push_back(a.commandOffset);
  return v;
}

}  // namespace

TEST(AnimCommands, DecodeGivesEachAnimationItsRunAndEncodeRestoresTheStream) {
  const std::vector<uint16_t> stream = {5, 10, 3, 3, 1, 7, 8, 9};
  WadFile wad = WadWithCommands({2, 0, 1}, stream);
  EXPECT_EQ(CountAnimCommands(wad), 3u);
  const AnimCommandArray commands = DecodeAnimCommands(wad);
  const AnimCommandArray expected = {{0, 0, 5, {10, 3, 0}}, {3, 0, 3, {}}, {4, 2, 1, {7, 8, 9}}};
  EXPECT_EQ(commands, expected);

  wad.commandWords.clear();
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));
  EXPECT_EQ(wad.commandWords, stream);
  EXPECT_EQ(CountsOf(wad), (std::vector<uint16_t>{2, 0, 1}));
  EXPECT_EQ(OffsetsOf(wad), (std::vector<uint16_t>{0, 0, 4}));

  ASSERT_TRUE(EncodeAnimCommands({}, wad));
  EXPECT_TRUE(wad.commandWords.empty());
  EXPECT_EQ(CountsOf(wad), (std::vector<uint16_t>{0, 0, 0}));
  EXPECT_EQ(OffsetsOf(wad), (std::vector<uint16_t>{0, 0, 0}));
}

TEST(AnimCommands, UnknownTypesAreTheirTypeWordAlone) {
  const std::vector<uint16_t> stream = {0, 5, 1, 2, 9, 4};
  WadFile wad = WadWithCommands({3, 1}, stream);
  const AnimCommandArray commands = DecodeAnimCommands(wad);
  const AnimCommandArray expected = {{0, 0, 0, {}}, {1, 0, 5, {1, 2, 0}}, {4, 0, 9, {}}, {5, 1, 4, {}}};
  EXPECT_EQ(commands, expected);
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));
  EXPECT_EQ(wad.commandWords, stream);
  EXPECT_EQ(OffsetsOf(wad), (std::vector<uint16_t>{0, 5}));
}

TEST(AnimCommands, DecodeStopsWhereTheStreamEnds) {
  // Three commands announced; the stream ends before the jumping reference's arguments.
  WadFile wad = WadWithCommands({1, 2}, {3, 6, 1, 1, 2});
  EXPECT_EQ(DecodeAnimCommands(wad), (AnimCommandArray{{0, 0, 3, {}}, {1, 1, 6, {1, 1, 0}}}));
  wad.commandWords = {3};
  EXPECT_EQ(DecodeAnimCommands(wad).size(), 1u);
  wad.commandWords.clear();
  EXPECT_TRUE(DecodeAnimCommands(wad).empty());
}

TEST(AnimCommands, EncodeTakesOffsetsFromWhereItWrites) {
  WadFile wad = WadWithCommands({0, 0, 0}, {});
  // Stale word offsets and an animation out of order.
  const AnimCommandArray commands = {{0, 2, 4, {}}, {0, 0, 6, {5, 6, 7}}, {0, 2, 2, {1, 2, 0}}, {0, 0, 3, {}}};
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));
  EXPECT_EQ(wad.commandWords, (std::vector<uint16_t>{6, 5, 6, 3, 4, 2, 1, 2}));
  EXPECT_EQ(CountsOf(wad), (std::vector<uint16_t>{2, 0, 2}));
  EXPECT_EQ(OffsetsOf(wad), (std::vector<uint16_t>{0, 0, 4}));
}

TEST(AnimCommands, EncodeRefusesWhatTheWadCannotHoldAndKeepsIt) {
  WadFile wad = WadWithCommands({1, 0}, {4});
  const WadFile before = wad;
  EXPECT_FALSE(EncodeAnimCommands(AnimCommandArray{{0, 2, 4, {}}}, wad));
  EXPECT_EQ(wad, before);

  // Animation 1's commands would start past word 65535.
  AnimCommandArray many(65536 / 4 + 1, AnimCommand{0, 0, 1, {}});
  many.push_back({0, 1, 3, {}});
  const EncodeResult refused = EncodeAnimCommands(many, wad);
  EXPECT_FALSE(refused);
  EXPECT_FALSE(refused.message.empty());
  EXPECT_EQ(wad, before);
}

TEST(FixCommandOffsets, FollowsAChangedOrInsertedCommand) {
  AnimCommandArray commands = {{0, 0, 5, {}}, {3, 0, 3, {}}, {4, 1, 1, {}}, {8, 1, 4, {}}};
  commands[1].type = 1;  // 1 word becomes 4
  FixCommandOffsets(commands, 1);
  EXPECT_EQ(commands[2].wordOffset, 7u);
  EXPECT_EQ(commands[3].wordOffset, 11u);

  commands.insert(commands.begin() + 2, AnimCommand{7, 0, 5, {}});  // before the command at 7
  FixCommandOffsets(commands, 2);
  EXPECT_EQ(commands[3].wordOffset, 10u);
  EXPECT_EQ(commands[4].wordOffset, 14u);

  FixCommandOffsets(commands, 4);  // the last: nothing after it
  FixCommandOffsets(commands, 9);
  EXPECT_EQ(commands[4].wordOffset, 14u);
}
