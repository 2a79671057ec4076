#pragma once
// Changing an animation's frame count and moving every absolute frame number
// that depends on it. Frame numbers count per moveable, so a change moves the
// moveable's later animations, their dispatches, the next frames that target
// them (from any of the moveable's animations or dispatches) and the frames of
// their sound and effect commands. Each is a 16-bit value: when any of them
// would leave 0..65535 the whole change is refused and nothing moves.

#include <cstdint>
#include <span>

#include "model/AnimCommands.h"
#include "model/WadFile.h"

// An animation's frame count in the file's 16-bit arithmetic: frameEnd -
// frameStart + 1, modulo 65536. A one-keyframe animation stored with frameEnd
// = frameStart - 1 has 0 frames, and so has one of frames 0 to 65535.
uint16_t FrameCount(const WadAnimation& animation);

// What a frame-count change did, or why it did nothing.
enum class FrameCountChange {
  kDone,
  kRefused,    // no such moveable or animation, or a negative count
  kBelowZero,  // a frame number would fall below 0
  kPastLast,   // a frame number would pass 65535
};

// Gives local animation a of moveable m a frame count of n (its frameEnd
// becomes frameStart + n - 1) and moves what follows by the difference. The
// count it has (FrameCount) is accepted whatever it is, and changes nothing.
FrameCountChange ChangeFrameCount(WadFile& wad, int m, int a, int n, std::span<AnimCommand> commands);

// Moves by delta the dispatch frames of local animation j of moveable m (a
// later animation than global animation g): in and out frames always, next
// frames when they target an animation after g in the moveable. Returns 1, or
// 0 when refused.
int ShiftDispatchFrames(WadFile& wad, int m, int g, int j, int delta);

// Moves by delta the frame of every sound and effect command of the
// moveable's animations after local index a (the moveable's first animation
// is A, its animation count c). Returns 1, or 0 when refused.
int ShiftCommandFrames(int A, int a, int c, int delta, std::span<AnimCommand> commands);
