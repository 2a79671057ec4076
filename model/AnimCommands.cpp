#include "model/AnimCommands.h"

#include <algorithm>
#include <limits>
#include <string>

namespace {

constexpr uint32_t kMaxField = std::numeric_limits<uint16_t>::max();

int ArgumentCount(uint16_t type) { return commandWordCount(type) - 1; }

// The WAD's command stream read the way the decoder reads it, with where each
// animation's commands start in it.
struct StoredCommandLayout {
  AnimCommandArray commands;
  std::vector<uint32_t> before;  // per animation: the word its commands start at
  uint32_t end = 0;              // the word after the last command read
};

StoredCommandLayout ReadCommandLayout(const WadFile& wad) {
  StoredCommandLayout layout;
  layout.commands.reserve(std::min<std::size_t>(CountAnimCommands(wad), wad.numCommandWords()));
  layout.before.resize(wad.numAnimations());
  const std::vector<uint16_t>& words = wad.commandWords;
  std::size_t cursor = 0;
  bool streamEnded = false;
  // Once a counted command does not fit in what is left, no later one is read.
  for (uint32_t a = 0; a < wad.numAnimations(); ++a) {
    layout.before[a] = static_cast<uint32_t>(cursor);
    for (uint32_t c = 0; c < wad.animations[a].numCommands && !streamEnded; ++c) {
      streamEnded = cursor >= words.size();
      if (streamEnded) break;
      AnimCommand command;
      command.wordOffset = static_cast<uint32_t>(cursor);
      command.animIndex = a;
      command.type = words[cursor];
      const int arguments = ArgumentCount(command.type);
      streamEnded = words.size() - cursor - 1 < static_cast<std::size_t>(arguments);
      if (streamEnded) break;
      for (int p = 0; p < arguments; ++p) command.params[p] = words[cursor + 1 + p];
      cursor += 1 + arguments;
      layout.commands.push_back(command);
    }
  }
  layout.end = static_cast<uint32_t>(cursor);
  return layout;
}

void AppendCommandWords(const AnimCommand& command, std::vector<uint16_t>& words) {
  words.push_back(command.type);
  const int arguments = ArgumentCount(command.type);
  words.insert(words.end(), command.params.begin(), command.params.begin() + arguments);
}

// Whether the commands, taken animation by animation, write the same words
// as the stored ones.
bool SameCommands(const std::vector<std::vector<const AnimCommand*>>& byAnimation, const AnimCommandArray& stored) {
  std::size_t i = 0;
  std::vector<uint16_t> mine, theirs;
  for (std::size_t a = 0; a < byAnimation.size(); ++a) {
    for (const AnimCommand* command : byAnimation[a]) {
      if (i == stored.size() || stored[i].animIndex != a) return false;
      mine.clear();
      theirs.clear();
      AppendCommandWords(*command, mine);
      AppendCommandWords(stored[i++], theirs);
      if (mine != theirs) return false;
    }
  }
  return i == stored.size();
}

// The command offset of an animation without commands keeps the file's
// convention: 0 stays 0, the word where its commands would start follows the
// commands before it, and any other value is written back as read. An
// animation that has just lost its commands gets 0.
uint16_t CommandlessOffset(const WadAnimation& stored, uint32_t storedStart, std::size_t start) {
  if (stored.numCommands > 0 || stored.commandOffset == 0) return 0;
  if (stored.commandOffset != storedStart) return stored.commandOffset;
  return start <= kMaxField ? static_cast<uint16_t>(start) : 0;
}

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

AnimCommandArray DecodeAnimCommands(const WadFile& wad) { return ReadCommandLayout(wad).commands; }

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
  // The stream as the WAD holds it: read or last encoded.
  const StoredCommandLayout stored = ReadCommandLayout(wad);
  if (SameCommands(byAnimation, stored.commands)) return EncodeResult::Done();

  std::vector<uint16_t> words;
  std::vector<uint16_t> offsets(numAnimations, 0);
  for (uint32_t a = 0; a < numAnimations; ++a) {
    if (byAnimation[a].empty()) {
      offsets[a] = CommandlessOffset(wad.animations[a], stored.before[a], words.size());
      continue;
    }
    if (byAnimation[a].size() > kMaxField || words.size() > kMaxField)
      return EncodeResult::Refused("The anim commands of animation " + std::to_string(a) +
                                   " do not fit the 16-bit count and offset of the WAD.");
    offsets[a] = static_cast<uint16_t>(words.size());
    for (const AnimCommand* command : byAnimation[a]) AppendCommandWords(*command, words);
  }
  // Words after the last command the counts reach stay after the commands.
  words.insert(words.end(), wad.commandWords.begin() + stored.end, wad.commandWords.end());

  for (uint32_t a = 0; a < numAnimations; ++a) {
    wad.animations[a].numCommands = static_cast<uint16_t>(byAnimation[a].size());
    wad.animations[a].commandOffset = offsets[a];
  }
  wad.commandWords = std::move(words);
  return EncodeResult::Done();
}
