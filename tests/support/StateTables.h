#pragma once
// The state changes and dispatches of a WAD as the game reads them, for tests
// that edit the two tables: what each animation answers to, and the running
// sequence the tables are kept in. Written apart from the editor's own code.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "model/WadFile.h"

namespace testsupport {

// A state change with its dispatches.
struct Answer {
  uint16_t stateId = 0;
  std::vector<WadDispatch> dispatches;
  bool operator==(const Answer&) const = default;
};

// What animation g answers to, state change by state change.
inline std::vector<Answer> AnswersOf(const WadFile& wad, std::size_t g) {
  std::vector<Answer> answers;
  const WadAnimation& a = wad.animations.at(g);
  for (std::size_t s = a.stateChangeIndex; s < a.stateChangeIndex + std::size_t{a.numStateChanges}; ++s) {
    const WadStateChange& c = wad.stateChanges.at(s);
    Answer answer{c.stateId, {}};
    for (std::size_t d = c.dispatchIndex; d < c.dispatchIndex + std::size_t{c.numDispatches}; ++d)
      answer.dispatches.push_back(wad.dispatches.at(d));
    answers.push_back(answer);
  }
  return answers;
}

// Every table fully used, each non-empty range starting where the earlier
// ones end.
inline bool RunsInSequence(const WadFile& wad) {
  std::size_t changes = 0, dispatches = 0;
  for (const WadAnimation& a : wad.animations) {
    if (a.numStateChanges > 0 && a.stateChangeIndex != changes) return false;
    changes += a.numStateChanges;
  }
  for (const WadStateChange& c : wad.stateChanges) {
    if (c.numDispatches > 0 && c.dispatchIndex != dispatches) return false;
    dispatches += c.numDispatches;
  }
  return changes == wad.stateChanges.size() && dispatches == wad.dispatches.size();
}

// The WAD without the two tables and the animations' ranges in them: what an
// edit of the state changes leaves as it was.
inline WadFile WithoutStateTables(WadFile wad) {
  wad.stateChanges.clear();
  wad.dispatches.clear();
  for (WadAnimation& a : wad.animations) a.numStateChanges = a.stateChangeIndex = 0;
  return wad;
}

// Whether, after an edit of animation g, the tables run in sequence, g answers
// as expected and every other animation as it did before.
inline ::testing::AssertionResult OnlyAnimationChanged(const WadFile& before, const WadFile& after,
                                                       std::size_t g, const std::vector<Answer>& expected) {
  if (!RunsInSequence(after)) return ::testing::AssertionFailure() << "the tables left the sequence";
  if (after.animations.size() != before.animations.size())
    return ::testing::AssertionFailure() << "the animation count changed";
  if (AnswersOf(after, g) != expected)
    return ::testing::AssertionFailure() << "animation " << g << " answers otherwise";
  for (std::size_t h = 0; h < before.animations.size(); ++h)
    if (h != g && AnswersOf(after, h) != AnswersOf(before, h))
      return ::testing::AssertionFailure() << "animation " << h << " changed with " << g;
  return ::testing::AssertionSuccess();
}

}  // namespace testsupport
