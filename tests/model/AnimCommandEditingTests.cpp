#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "model/AnimCommandEditing.h"

namespace {

constexpr uint32_t kAnimations = 6;
// Every type the editor writes, an unset type and one it does not know.
constexpr uint16_t kTypes[] = {0, 1, 2, 3, 4, 5, 6, 9};

// Words of a command in the stream, from the format's table.
uint32_t StreamWords(uint16_t type) { return type == 1 ? 4 : type == 2 || type == 5 || type == 6 ? 3 : 1; }

// Distinct values for the arguments the type carries, 0 for the others.
std::array<uint16_t, 3> Arguments(uint16_t type, int seed) {
  std::array<uint16_t, 3> params{};
  for (uint32_t p = 0; p + 1 < StreamWords(type); ++p) params[p] = static_cast<uint16_t>(seed * 10 + p + 1);
  return params;
}

// Commands of every type in animations 0, 1, 3 and 5 (2 and 4 have none),
// added one by one to an empty array.
AnimCommandArray BuiltCommands() {
  const std::pair<uint32_t, uint16_t> layout[] = {{5, 1}, {0, 5}, {3, 4}, {1, 6}, {0, 1},
                                                  {1, 2}, {5, 6}, {3, 9}, {1, 3}, {3, 5}};
  AnimCommandArray commands;
  for (const auto& [anim, type] : layout)
    InsertAnimCommand(commands, {0xDEAD, anim, type, Arguments(type, static_cast<int>(commands.size()))});
  return commands;
}

AnimCommandArray WithoutOffsets(AnimCommandArray commands) {
  for (AnimCommand& c : commands) c.wordOffset = 0;
  return commands;
}

// Each offset is the words before it, and save -> read gives the array back.
void ExpectConsistent(const AnimCommandArray& commands) {
  uint32_t word = 0;
  for (const AnimCommand& c : commands) {
    EXPECT_EQ(c.wordOffset, word);
    word += StreamWords(c.type);
  }
  WadFile wad;
  wad.animations.resize(kAnimations);
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));
  EXPECT_EQ(wad.commandWords.size(), word);
  EXPECT_EQ(DecodeAnimCommands(wad), commands);
}

}  // namespace

TEST(AnimCommandEditing, InsertUpdateAndDeleteKeepEveryOffsetAndTheOtherCommands) {
  const AnimCommandArray before = BuiltCommands();
  ExpectConsistent(before);
  for (uint16_t type : kTypes) {
    const std::array<uint16_t, 3> params = Arguments(type, 99);
    for (uint32_t anim = 0; anim < kAnimations; ++anim) {
      SCOPED_TRACE("insert type " + std::to_string(type) + " into animation " + std::to_string(anim));
      AnimCommandArray commands = before;
      const uint32_t at = InsertAnimCommand(commands, {0xDEAD, anim, type, params});
      // It follows every command of its animation and of the ones before.
      const auto p = std::ranges::count_if(before, [&](const AnimCommand& c) { return c.animIndex <= anim; });
      AnimCommandArray expected = WithoutOffsets(before);
      expected.insert(expected.begin() + p, {0, anim, type, params});
      EXPECT_EQ(at, p);
      EXPECT_EQ(WithoutOffsets(commands), expected);
      ExpectConsistent(commands);
    }
    for (uint32_t i = 0; i < before.size(); ++i) {
      SCOPED_TRACE("command " + std::to_string(i) + " to type " + std::to_string(type));
      AnimCommandArray commands = before;
      ASSERT_TRUE(UpdateAnimCommand(commands, i, type, params));
      AnimCommandArray expected = WithoutOffsets(before);
      expected[i].type = type;
      expected[i].params = params;
      EXPECT_EQ(WithoutOffsets(commands), expected);
      ExpectConsistent(commands);
    }
  }
  for (uint32_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE("delete command " + std::to_string(i));
    AnimCommandArray commands = before;
    ASSERT_TRUE(DeleteAnimCommand(commands, i));
    AnimCommandArray expected = WithoutOffsets(before);
    expected.erase(expected.begin() + i);
    EXPECT_EQ(WithoutOffsets(commands), expected);
    ExpectConsistent(commands);
  }
  AnimCommandArray commands = before;
  const auto past = static_cast<uint32_t>(before.size());
  EXPECT_FALSE(UpdateAnimCommand(commands, past, 1, {1, 2, 3}));
  EXPECT_FALSE(DeleteAnimCommand(commands, past));
  EXPECT_EQ(commands, before);
}
