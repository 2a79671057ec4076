#pragma once
// Anim commands: the WAD keeps them as one stream of 16-bit words, each command
// its type word followed by its arguments, with every animation naming how
// many it has and where they start. The editor works on them decoded, one
// AnimCommand per command, sorted by animation.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/EncodeResult.h"
#include "model/WadFile.h"

inline constexpr uint16_t kCommandPositionReference = 1;  // x, y, z
inline constexpr uint16_t kCommandJumpingReference = 2;   // two arguments
inline constexpr uint16_t kCommandSlavedAnimation = 3;
inline constexpr uint16_t kCommandDie = 4;
inline constexpr uint16_t kCommandPlaySound = 5;   // absolute frame, sound
inline constexpr uint16_t kCommandPlayEffect = 6;  // absolute frame, effect

struct AnimCommand {
  uint32_t wordOffset = 0;  // index in the command stream of its type word
  uint32_t animIndex = 0;   // global index of its animation
  uint16_t type = 0;
  std::array<uint16_t, 3> params{};  // arguments in stream order; unused ones 0
  bool operator==(const AnimCommand&) const = default;
};
static_assert(sizeof(AnimCommand) == 16);

// The decoded commands of a WAD; its size is the command count.
using AnimCommandArray = std::vector<AnimCommand>;

// Words a command of this type takes in the stream, its type word included. A
// type the editor does not know is its type word alone.
int commandWordCount(uint16_t type);

// Sum of numCommands over all animations: the commands the WAD announces.
uint32_t CountAnimCommands(const WadFile& wad);

// The commands of the stream in order, the first numCommands of them given to
// the first animation that has commands, and so on. Never reads past the
// stream: when it runs out, the commands that do not fit in it are left out,
// so the result may hold fewer than CountAnimCommands.
AnimCommandArray DecodeAnimCommands(const WadFile& wad);

// After command i was changed or inserted (inserted: it shares its wordOffset
// with the command after it), moves the wordOffset of every later command by
// the change in i's word count.
void FixCommandOffsets(std::span<AnimCommand> commands, uint32_t i);

// Replaces commandWords with the commands, each animation's in array order
// and the animations in index order, and rewrites every animation's
// numCommands and commandOffset from where its commands were written. Nothing
// is derived that need not be: when the commands are those the WAD's stream
// holds, the stream and every count and offset stay as they are; otherwise
// the words after the last counted command stay after the commands, and an
// animation without commands keeps the file's convention for its offset (0
// stays 0, the word its commands would start at follows the commands before
// it, any other value stays as read; 0 when it has just lost its commands).
// Refused, with the WAD untouched, when a command names an animation the WAD
// does not have or an animation's count or offset would not fit 16 bits.
EncodeResult EncodeAnimCommands(std::span<const AnimCommand> commands, WadFile& wad);
