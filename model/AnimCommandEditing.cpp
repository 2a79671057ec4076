#include "model/AnimCommandEditing.h"

#include <algorithm>

namespace {

uint32_t Words(const AnimCommand& command) {
  return static_cast<uint32_t>(commandWordCount(command.type));
}

}  // namespace

uint32_t InsertAnimCommand(AnimCommandArray& commands, AnimCommand command) {
  const auto later = std::ranges::find_if(
      commands, [&](const AnimCommand& c) { return c.animIndex > command.animIndex; });
  const auto p = static_cast<uint32_t>(later - commands.begin());
  // It takes the place of the command it displaces, or follows the last one.
  if (p < commands.size())
    command.wordOffset = commands[p].wordOffset;
  else
    command.wordOffset = p == 0 ? 0 : commands[p - 1].wordOffset + Words(commands[p - 1]);
  commands.insert(commands.begin() + p, command);
  FixCommandOffsets(commands, p);
  return p;
}

bool UpdateAnimCommand(AnimCommandArray& commands, uint32_t i, uint16_t type,
                       const std::array<uint16_t, 3>& params) {
  if (i >= commands.size()) return false;
  commands[i].type = type;
  commands[i].params = params;
  FixCommandOffsets(commands, i);
  return true;
}

bool DeleteAnimCommand(AnimCommandArray& commands, uint32_t i) {
  if (i >= commands.size()) return false;
  const uint32_t words = Words(commands[i]);
  for (std::size_t k = i + 1; k < commands.size(); ++k) commands[k].wordOffset -= words;
  commands.erase(commands.begin() + i);
  return true;
}
