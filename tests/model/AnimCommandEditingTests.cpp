// Editing the decoded anim commands: every insert, update and delete keeps
// each word offset the sum of the words before it, and the array encodes to a
// stream that decodes to it again.

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

// The commands are the expected ones, each at the word offset the words
// before it give, and encode -> decode gives them back.
void ExpectEdited(const AnimCommandArray& commands, AnimCommandArray expected) {
  uint32_t word = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    expected[i].wordOffset = word;
    word += StreamWords(expected[i].type);
  }
  EXPECT_EQ(commands, expected);
  WadFile wad;
  wad.animations.resize(kAnimations);
  ASSERT_TRUE(EncodeAnimCommands(commands, wad));
  EXPECT_EQ(wad.commandWords.size(), word);
  EXPECT_EQ(DecodeAnimCommands(wad), commands);
}

}  // namespace

TEST(AnimCommandEditing, InsertUpdateAndDeleteKeepEveryOffsetAndTheOtherCommands) {
  const AnimCommandArray before = BuiltCommands();
  ExpectEdited(before, before);
  for (uint16_t type : kTypes) {
    const std::array<uint16_t, 3> params = Arguments(type, 99);
    for (uint32_t anim = 0; anim < kAnimations; ++anim) {
      SCOPED_TRACE("insert type " + std::to_string(type) + " into animation " + std::to_string(anim));
      AnimCommandArray commands = before, expected = before;
      // It follows every command of its animation and of the ones before.
      const auto p = std::ranges::count_if(before, [&](const AnimCommand& c) { return c.animIndex <= anim; });
      expected.insert(expected.begin() + p, {0, anim, type, params});
      EXPECT_EQ(InsertAnimCommand(commands, {0xDEAD, anim, type, params}), p);
      ExpectEdited(commands, expected);
    }
    for (uint32_t i = 0; i < before.size(); ++i) {
      SCOPED_TRACE("command " + std::to_string(i) + " to type " + std::to_string(type));
      AnimCommandArray commands = before, expected = before;
      expected[i].type = type;
      expected[i].params = params;
      ASSERT_TRUE(UpdateAnimCommand(commands, i, type, params));
      ExpectEdited(commands, expected);
    }
  }
  for (uint32_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE("delete command " + std::to_string(i));
    AnimCommandArray commands = before, expected = before;
    expected.erase(expected.begin() + i);
    ASSERT_TRUE(DeleteAnimCommand(commands, i));
    ExpectEdited(commands, expected);
  }
  AnimCommandArray commands = before;
  const auto past = static_cast<uint32_t>(before.size());
  EXPECT_FALSE(UpdateAnimCommand(commands, past, 1, {1, 2, 3}));
  EXPECT_FALSE(DeleteAnimCommand(commands, past));
  EXPECT_EQ(commands, before);
}
