#pragma once
// Adding and deleting the dispatches of an animation's state changes, with
// the renumbering of the two tables.
//
// An animation's state changes are consecutive records of stateChanges, and a
// state change's dispatches consecutive records of dispatches. The renumbering
// relies on the running sequence: the ranges follow each other in table order
// with no gap, so that each one starts where the ones before it end. A range
// with no records is never read through; its index may hold anything (files
// in use hold 0 there), so it is not checked, and an insertion into it goes to
// its running position. An edit moves it only when it stands at its running
// position; elsewhere it keeps the index the file gave it.

#include <cstdint>
#include <vector>

#include "model/WadFile.h"

enum class StateChangeEdit {
  kDone,
  kOutOfSequence,  // the tables break the running sequence: nothing can be moved safely
  kTooLarge,       // a count or an index would pass 65535
  kNotFound,       // no such animation, or the dispatch is not one of its own
};

// Whether every animation with state changes starts at the sum of the earlier
// animations' counts, every state change with dispatches at the sum of the
// earlier state changes' dispatch counts, and neither sum runs past its table.
bool FollowsRunningSequence(const WadFile& wad);

// One dispatch of an animation with the state change it belongs to.
struct DispatchLine {
  uint32_t stateChange = 0;
  uint32_t dispatch = 0;
  bool operator==(const DispatchLine&) const = default;
};

// The dispatches of animation g in table order, state change by state change;
// ranges that run past a table are cut at its end.
std::vector<DispatchLine> DispatchLinesOf(const WadFile& wad, uint32_t g);

// Adds dispatch (absolute values) to animation g under stateId: in front of
// the dispatches of the animation's first state change with that id that has
// any, otherwise as the only dispatch of a new state change in front of the
// animation's others. Nothing changes unless the result is kDone.
StateChangeEdit AddDispatch(WadFile& wad, uint32_t g, uint16_t stateId, const WadDispatch& dispatch);

// Deletes the dispatch of line from animation g; a state change left without
// dispatches is deleted too. Nothing changes unless the result is kDone.
StateChangeEdit DeleteDispatch(WadFile& wad, uint32_t g, DispatchLine line);
