#include <gtest/gtest.h>

#include <algorithm>

#include "WadBuilder.h"
#include "model/AnimCommands.h"

namespace {

// The fixture's commands: word offset, animation, type, arguments; and where each ends.
const AnimCommandArray kFixtureCommands = {
    {0, 0, 5, {3, 77, 0}}, {3, 1, 1, {10, 20, 30}}, {7, 1, 6, {15, 4, 0}}, {10, 2, 6, {23, 2, 0}},
    {13, 2, 2, {5, 6, 0}}, {16, 3, 5, {0, 9, 0}},   {19, 3, 0, {}},         {20, 3, 9, {}}};
const std::size_t kFixtureCommandEnds[] = {3, 7, 10, 13, 16, 19, 20, 21};

}  // namespace

TEST(AnimCommands, DecodeReadsOnlyWholeCommandsInsideTheStream) {
  const WadBuilder fixture;
  WadFile wad = fixture.Expected();
  EXPECT_EQ(CountAnimCommands(wad), 8u);
  EXPECT_EQ(DecodeAnimCommands(wad), kFixtureCommands);
  for (std::size_t n = 0; n < fixture.commandWords.size(); ++n) {
    wad.commandWords.assign(fixture.commandWords.begin(), fixture.commandWords.begin() + n);
    const auto fit = std::ranges::count_if(kFixtureCommandEnds, [&](std::size_t end) { return end <= n; });
    EXPECT_EQ(DecodeAnimCommands(wad), AnimCommandArray(kFixtureCommands.begin(), kFixtureCommands.begin() + fit))
        << "stream cut to " << n << " words";
  }
}

TEST(AnimCommands, EncodeTakesOffsetsFromWhereItWritesAndRefusesWhatCannotFit) {
  const WadBuilder fixture;
  WadFile wad = fixture.Expected();
  for (WadAnimation& a : wad.animations) a.numCommands = a.commandOffset = 0xEEEE;
  wad.commandWords.clear();
  // Stale word offsets, the animations in reverse order.
  AnimCommandArray commands = kFixtureCommands;
  std::ranges::stable_sort(commands, std::greater{}, &AnimCommand::animIndex);
  for (AnimCommand& c : commands) c.wordOffset = 0xDEAD;
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));
  EXPECT_EQ(wad, fixture.Expected());

  std::erase_if(commands, [](const AnimCommand& c) { return c.animIndex == 1 || c.animIndex == 2; });
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));
  EXPECT_EQ(wad.commandWords, (std::vector<uint16_t>{5, 3, 77, 5, 0, 9, 0, 9}));
  const std::array<uint16_t, 2> countAndOffset[] = {{1, 0}, {0, 0}, {0, 0}, {3, 3}};
  for (int a = 0; a < 4; ++a)
    EXPECT_EQ((std::array{wad.animations[a].numCommands, wad.animations[a].commandOffset}), countAndOffset[a]);

  // Refused, the WAD untouched: an animation the WAD lacks; commands past word 65535.
  const WadFile before = wad;
  EXPECT_FALSE(EncodeAnimCommands(AnimCommandArray{{0, 4, 4, {}}}, wad));
  AnimCommandArray many(65536 / 4 + 1, AnimCommand{0, 0, 1, {}});
  many.push_back({0, 1, 4, {}});
  const EncodeResult refused = EncodeAnimCommands(many, wad);
  EXPECT_FALSE(refused);
  EXPECT_FALSE(refused.message.empty());
  EXPECT_EQ(wad, before);
}

TEST(AnimCommands, FixCommandOffsetsFollowsAChangedOrInsertedCommand) {
  AnimCommandArray commands = kFixtureCommands;
  commands[1].type = kCommandPlaySound;  // 4 words become 3
  FixCommandOffsets(commands, 1);
  commands.insert(commands.begin() + 2, AnimCommand{commands[2].wordOffset, 1, kCommandDie, {}});
  FixCommandOffsets(commands, 2);
  FixCommandOffsets(commands, 8);  // the last: nothing after it
  FixCommandOffsets(commands, 99);
  std::vector<uint32_t> offsets;
  for (const AnimCommand& c : commands) offsets.push_back(c.wordOffset);
  EXPECT_EQ(offsets, (std::vector<uint32_t>{0, 3, 6, 7, 10, 13, 16, 19, 20}));
}
