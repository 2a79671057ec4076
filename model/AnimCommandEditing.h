#pragma once
// Editing the decoded anim commands in place: adding a command to an
// animation, changing one, deleting one. Each keeps the array sorted by
// animation and every word offset equal to the words of the commands before
// it, so the array always describes the stream it is saved as.

#include <cstdint>

#include "model/AnimCommands.h"

// Inserts the command as the last of its animation (in front of the first
// command of a later animation), at the word offset where it lands, and moves
// every later command on by its word count. Returns its index.
uint32_t InsertAnimCommand(AnimCommandArray& commands, AnimCommand command);

// Gives command i a new type and parameters (its animation stays) and moves
// every later command by the change in its word count. False, and nothing
// changed, when there is no command i.
bool UpdateAnimCommand(AnimCommandArray& commands, uint32_t i, uint16_t type,
                       const std::array<uint16_t, 3>& params);

// Removes command i and moves every later command back by its word count.
// False, and nothing changed, when there is no command i.
bool DeleteAnimCommand(AnimCommandArray& commands, uint32_t i);
