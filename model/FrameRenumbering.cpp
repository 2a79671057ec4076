#include "model/FrameRenumbering.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/StateChangeEditing.h"

namespace {

constexpr int kMaxFrame = 0xFFFF;

// The frame fields one change moves, each once.
class FrameFields {
 public:
  void Add(uint16_t& field) { fields_.push_back(&field); }

  // Adds the next frame when it targets an animation in [firstMoved, end).
  void AddIfTargets(uint16_t target, uint32_t firstMoved, uint32_t end, uint16_t& nextFrame) {
    if (target >= firstMoved && target < end) Add(nextFrame);
  }

  // Moves every field by delta, or none when one would leave 0..65535.
  FrameCountChange Shift(int delta) {
    std::sort(fields_.begin(), fields_.end());
    fields_.erase(std::unique(fields_.begin(), fields_.end()), fields_.end());
    for (uint16_t* f : fields_) {
      if (int64_t{*f} + delta < 0) return FrameCountChange::kBelowZero;
      if (int64_t{*f} + delta > kMaxFrame) return FrameCountChange::kPastLast;
    }
    for (uint16_t* f : fields_) *f = static_cast<uint16_t>(*f + delta);
    return FrameCountChange::kDone;
  }

 private:
  std::vector<uint16_t*> fields_;
};

// The moveable's animations as global indexes [first, end).
struct MoveableRange {
  uint32_t first = 0;
  uint32_t end = 0;
  bool Holds(int local) const { return local >= 0 && static_cast<uint32_t>(local) < end - first; }
};

bool RangeOf(const WadFile& wad, int m, MoveableRange& range) {
  if (m < 0 || static_cast<uint32_t>(m) >= wad.numMoveables()) return false;
  const uint32_t count = CountMoveableAnimations(wad, m);
  if (count == 0) return false;
  range.first = wad.moveables[m].animIndex;
  range.end = range.first + count;
  return true;
}

// Calls visit for each dispatch of animation g, inside the tables only.
template <class Visit>
void ForEachDispatch(WadFile& wad, uint32_t g, Visit visit) {
  for (const DispatchLine& line : DispatchLinesOf(wad, g)) visit(wad.dispatches[line.dispatch]);
}

// Dispatch frames of a later animation later: in and out frames, and the next
// frame when it targets a moved animation [firstMoved, end).
void AddLaterDispatches(WadFile& wad, uint32_t later, uint32_t firstMoved, uint32_t end, FrameFields& fields) {
  ForEachDispatch(wad, later, [&](WadDispatch& d) {
    fields.Add(d.inFrame);
    fields.Add(d.outFrame);
    fields.AddIfTargets(d.nextAnimation, firstMoved, end, d.nextFrame);
  });
}

void AddCommandFrames(std::span<AnimCommand> commands, uint32_t firstMoved, uint32_t end, FrameFields& fields) {
  for (AnimCommand& command : commands) {
    const bool framed = command.type == kCommandPlaySound || command.type == kCommandPlayEffect;
    if (framed && command.animIndex >= firstMoved && command.animIndex < end) fields.Add(command.params[0]);
  }
}

}  // namespace

uint16_t FrameCount(const WadAnimation& animation) {
  return static_cast<uint16_t>(animation.frameEnd - animation.frameStart + 1);
}

FrameCountChange ChangeFrameCount(WadFile& wad, int m, int a, int n, std::span<AnimCommand> commands) {
  MoveableRange range;
  if (!RangeOf(wad, m, range) || !range.Holds(a) || n < 0) return FrameCountChange::kRefused;
  const uint32_t g = range.first + a;
  WadAnimation& changed = wad.animations[g];
  const int oldCount = FrameCount(changed);
  if (n == oldCount) return FrameCountChange::kDone;
  // 0 frames end the animation one frame before its start, as files store an
  // animation of one keyframe; that needs a start of 1 or more.
  const int64_t newEnd = int64_t{changed.frameStart} + n - 1;
  if (newEnd < 0) return FrameCountChange::kBelowZero;
  if (newEnd > kMaxFrame) return FrameCountChange::kPastLast;
  const int delta = n - oldCount;

  FrameFields fields;
  const uint32_t firstMoved = g + 1;
  for (uint32_t later = firstMoved; later < range.end; ++later) {
    fields.Add(wad.animations[later].frameStart);
    fields.Add(wad.animations[later].frameEnd);
    AddLaterDispatches(wad, later, firstMoved, range.end, fields);
  }
  for (uint32_t any = range.first; any < range.end; ++any)
    fields.AddIfTargets(wad.animations[any].nextAnimation, firstMoved, range.end, wad.animations[any].nextFrame);
  for (uint32_t upTo = range.first; upTo <= g; ++upTo)
    ForEachDispatch(wad, upTo, [&](WadDispatch& d) {
      fields.AddIfTargets(d.nextAnimation, firstMoved, range.end, d.nextFrame);
    });
  AddCommandFrames(commands, firstMoved, range.end, fields);

  const FrameCountChange shifted = fields.Shift(delta);
  if (shifted == FrameCountChange::kDone) changed.frameEnd = static_cast<uint16_t>(newEnd);
  return shifted;
}

int ShiftDispatchFrames(WadFile& wad, int m, int g, int j, int delta) {
  MoveableRange range;
  if (!RangeOf(wad, m, range) || !range.Holds(j) || g < 0) return 0;
  FrameFields fields;
  AddLaterDispatches(wad, range.first + j, static_cast<uint32_t>(g) + 1, range.end, fields);
  return fields.Shift(delta) == FrameCountChange::kDone ? 1 : 0;
}

int ShiftCommandFrames(int A, int a, int c, int delta, std::span<AnimCommand> commands) {
  if (A < 0 || a < 0 || c < 0) return 0;
  const int64_t firstMoved = int64_t{A} + a + 1;
  const int64_t end = int64_t{A} + c;
  if (end > UINT32_MAX) return 0;
  FrameFields fields;
  AddCommandFrames(commands, static_cast<uint32_t>(std::min(firstMoved, end)), static_cast<uint32_t>(end), fields);
  return fields.Shift(delta) == FrameCountChange::kDone ? 1 : 0;
}
