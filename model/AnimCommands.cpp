#include "model/AnimCommands.h"

#include <limits>
#include <string>

namespace {

constexpr uint32_t kMaxField = std::numeric_limits<uint16_t>::max();

int ArgumentCount(uint16_t type) { return commandWordCount(type) - 1; }

}  // namespace

int commandWordCount(uint16_t type) {
  switch (type) {
    case kCommandPositionReference: return 4;
    case kCommandJumpingReference: return 3;
    case kCommandSlavedAnimation: return 1;
    case kCommandDie: return 1;
    case kCommandPlaySound: return 3;
    case kCommandPlayEffect: return 3;
    default: return 1;
  }
}

uint32_t CountAnimCommands(const WadFile& wad) {
  uint32_t count = 0;
  for (const WadAnimation& animation : wad.animations) count += animation.numCommands;
  return count;
}

AnimCommandArray DecodeAnimCommands(const WadFile& wad) {
  AnimCommandArray commands;
  commands.reserve(std::min<std::size_t>(CountAnimCommands(wad), wad.numCommandWords()));
  const std::vector<uint16_t>& words = wad.commandWords;
  std::size_t cursor = 0;
  for (uint32_t a = 0; a < wad.numAnimations(); ++a) {
    for (uint32_t c = 0; c < wad.animations[a].numCommands; ++c) {
      if (cursor >= words.size()) return commands;
      AnimCommand command;
      command.wordOffset = static_cast<uint32_t>(cursor);
      command.animIndex = a;
      command.type = words[cursor];
      const int arguments = ArgumentCount(command.type);
      if (words.size() - cursor - 1 < static_cast<std::size_t>(arguments)) return commands;
      for (int p = 0; p < arguments; ++p) command.params[p] = words[cursor + 1 + p];
      cursor += 1 + arguments;
      commands.push_back(command);
    }
  }
  return commands;
}

void FixCommandOffsets(std::span<AnimCommand> commands, uint32_t i) {
  if (commands.empty() || i >= commands.size() - 1) return;
  const uint32_t words = static_cast<uint32_t>(commandWordCount(commands[i].type));
  if (commands[i].wordOffset == commands[i + 1].wordOffset)
    for (std::size_t k = i + 1; k < commands.size(); ++k) commands[k].wordOffset += words;
  // Unsigned arithmetic: a shrinking command moves the later ones back.
  const uint32_t shift = words - (commands[i + 1].wordOffset - commands[i].wordOffset);
  for (std::size_t k = i + 1; k < commands.size(); ++k) commands[k].wordOffset += shift;
}

EncodeResult EncodeAnimCommands(std::span<const AnimCommand> commands, WadFile& wad) {
  const uint32_t numAnimations = wad.numAnimations();
  // Commands of each animation, in array order.
  std::vector<std::vector<const AnimCommand*>> byAnimation(numAnimations);
  for (const AnimCommand& command : commands) {
    if (command.animIndex >= numAnimations)
      return EncodeResult::Refused("An anim command belongs to animation " + std::to_string(command.animIndex) +
                                   ", which the WAD does not have.");
    byAnimation[command.animIndex].push_back(&command);
  }

  std::vector<uint16_t> words;
  std::vector<uint16_t> offsets(numAnimations, 0);
  for (uint32_t a = 0; a < numAnimations; ++a) {
    if (byAnimation[a].empty()) continue;
    if (byAnimation[a].size() > kMaxField || words.size() > kMaxField)
      return EncodeResult::Refused("The anim commands of animation " + std::to_string(a) +
                                   " do not fit the 16-bit count and offset of the WAD.");
    offsets[a] = static_cast<uint16_t>(words.size());
    for (const AnimCommand* command : byAnimation[a]) {
      words.push_back(command->type);
      const int arguments = ArgumentCount(command->type);
      words.insert(words.end(), command->params.begin(), command->params.begin() + arguments);
    }
  }

  for (uint32_t a = 0; a < numAnimations; ++a) {
    wad.animations[a].numCommands = static_cast<uint16_t>(byAnimation[a].size());
    wad.animations[a].commandOffset = offsets[a];
  }
  wad.commandWords = std::move(words);
  return EncodeResult::Done();
}
