#include "model/StateChangeEditing.h"

#include <algorithm>
#include <optional>

namespace {

// Indexes are 16-bit: a table holds at most the records 0 to 65535, and a
// range at most 65535 records.
constexpr std::size_t kMaxRecords = 0x10000;
constexpr uint16_t kMaxCount = 0xFFFF;

// Whether every non-empty range of the owners starts where the ranges before
// it end, and all of them end inside a table of tableSize records.
template <class Owner>
bool InSequence(const std::vector<Owner>& owners, uint16_t Owner::*start, uint16_t Owner::*count,
                std::size_t tableSize) {
  std::size_t running = 0;
  for (const Owner& owner : owners) {
    if (owner.*count > 0 && owner.*start != running) return false;
    running += owner.*count;
  }
  return running <= tableSize;
}

// Where owner i's range starts in the running sequence.
template <class Owner>
uint32_t RunningStart(const std::vector<Owner>& owners, uint16_t Owner::*count, uint32_t i) {
  uint32_t running = 0;
  for (uint32_t j = 0; j < i; ++j) running += owners[j].*count;
  return running;
}

// Moves by delta the ranges of the owners from first on that start at their
// place in the running sequence, as the owners stand before the edit. An
// empty range elsewhere holds an index nobody reads and keeps the one the file
// gave it; so does one whose index would leave 16 bits.
template <class Owner>
void MoveLater(std::vector<Owner>& owners, uint16_t Owner::*start, uint16_t Owner::*count,
               std::size_t first, int delta) {
  uint32_t running = 0;
  for (std::size_t j = 0; j < owners.size(); ++j) {
    const bool inSequence = owners[j].*start == running;
    running += owners[j].*count;
    const int moved = owners[j].*start + delta;
    if (j >= first && inSequence && moved >= 0 && moved <= kMaxCount)
      owners[j].*start = static_cast<uint16_t>(moved);
  }
}

// The animation's first state change, in line order, with the id and any dispatch.
std::optional<uint32_t> StateChangeWithId(const WadFile& wad, uint32_t g, uint16_t stateId) {
  for (const DispatchLine& line : DispatchLinesOf(wad, g))
    if (wad.stateChanges[line.stateChange].stateId == stateId) return line.stateChange;
  return std::nullopt;
}

}  // namespace

bool FollowsRunningSequence(const WadFile& wad) {
  return InSequence(wad.animations, &WadAnimation::stateChangeIndex, &WadAnimation::numStateChanges,
                    wad.stateChanges.size()) &&
         InSequence(wad.stateChanges, &WadStateChange::dispatchIndex, &WadStateChange::numDispatches,
                    wad.dispatches.size());
}

std::vector<DispatchLine> DispatchLinesOf(const WadFile& wad, uint32_t g) {
  std::vector<DispatchLine> lines;
  if (g >= wad.numAnimations()) return lines;
  const WadAnimation& animation = wad.animations[g];
  const uint32_t changesEnd =
      std::min<uint32_t>(animation.stateChangeIndex + animation.numStateChanges, wad.numStateChanges());
  for (uint32_t s = animation.stateChangeIndex; s < changesEnd; ++s) {
    const WadStateChange& change = wad.stateChanges[s];
    const uint32_t dispatchesEnd =
        std::min<uint32_t>(change.dispatchIndex + change.numDispatches, wad.numDispatches());
    for (uint32_t d = change.dispatchIndex; d < dispatchesEnd; ++d) lines.push_back({s, d});
  }
  return lines;
}

StateChangeEdit AddDispatch(WadFile& wad, uint32_t g, uint16_t stateId, const WadDispatch& dispatch) {
  if (g >= wad.numAnimations()) return StateChangeEdit::kNotFound;
  if (!FollowsRunningSequence(wad)) return StateChangeEdit::kOutOfSequence;
  const std::optional<uint32_t> existing = StateChangeWithId(wad, g, stateId);
  WadAnimation& animation = wad.animations[g];
  // An animation without state changes may hold any index: its new one goes
  // where the sequence puts it.
  const uint32_t s =
      existing ? *existing : RunningStart(wad.animations, &WadAnimation::numStateChanges, g);
  const uint32_t p = RunningStart(wad.stateChanges, &WadStateChange::numDispatches, s);
  const bool rangeGrows = existing ? wad.stateChanges[s].numDispatches < kMaxCount
                                   : wad.stateChanges.size() < kMaxRecords &&
                                         animation.numStateChanges < kMaxCount;
  if (!rangeGrows || wad.dispatches.size() >= kMaxRecords) return StateChangeEdit::kTooLarge;

  // The ranges move while the counts still tell where the sequence put them.
  if (existing) {
    MoveLater(wad.stateChanges, &WadStateChange::dispatchIndex, &WadStateChange::numDispatches, s + 1, +1);
    ++wad.stateChanges[s].numDispatches;
  } else {
    MoveLater(wad.animations, &WadAnimation::stateChangeIndex, &WadAnimation::numStateChanges, g + 1, +1);
    MoveLater(wad.stateChanges, &WadStateChange::dispatchIndex, &WadStateChange::numDispatches, s, +1);
    wad.stateChanges.insert(wad.stateChanges.begin() + s,
                            WadStateChange{stateId, 1, static_cast<uint16_t>(p)});
    animation.stateChangeIndex = static_cast<uint16_t>(s);
    ++animation.numStateChanges;
  }
  wad.dispatches.insert(wad.dispatches.begin() + p, dispatch);
  return StateChangeEdit::kDone;
}

StateChangeEdit DeleteDispatch(WadFile& wad, uint32_t g, DispatchLine line) {
  const std::vector<DispatchLine> lines = DispatchLinesOf(wad, g);
  if (std::find(lines.begin(), lines.end(), line) == lines.end()) return StateChangeEdit::kNotFound;
  if (!FollowsRunningSequence(wad)) return StateChangeEdit::kOutOfSequence;
  const uint32_t s = line.stateChange;
  const uint32_t d = line.dispatch;

  // The ranges move while the counts still tell where the sequence put them.
  MoveLater(wad.stateChanges, &WadStateChange::dispatchIndex, &WadStateChange::numDispatches, s + 1, -1);
  if (wad.stateChanges[s].numDispatches < 2) {
    MoveLater(wad.animations, &WadAnimation::stateChangeIndex, &WadAnimation::numStateChanges, g + 1, -1);
    wad.stateChanges.erase(wad.stateChanges.begin() + s);
    --wad.animations[g].numStateChanges;
  } else {
    --wad.stateChanges[s].numDispatches;
  }
  wad.dispatches.erase(wad.dispatches.begin() + d);
  return StateChangeEdit::kDone;
}
