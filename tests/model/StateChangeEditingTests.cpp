// Adding and deleting dispatches: the edited animation answers as asked, the
// tables stay in running sequence, and every other animation answers as before.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <tuple>

#include "SharedData.h"
#include "StateTables.h"
#include "model/StateChangeEditing.h"

using testsupport::Answer;
using testsupport::AnswersOf;
using testsupport::OnlyAnimationChanged;

namespace {

WadDispatch Marked(uint16_t n) {
  return {n, static_cast<uint16_t>(n + 100), static_cast<uint16_t>(n % 5), static_cast<uint16_t>(n + 200)};
}

// Five animations:
//   0: state 1 (dispatches 0, 1), state 2 (dispatch 2);
//   1: none, its index 0 out of sequence (the sequence puts it at 2);
//   2: state 1 with no dispatch and index 0 (as files in use hold it), state 5 (dispatches 3-5);
//   3: none, in sequence;
//   4: state 7 (dispatch 6).
WadFile Tables() {
  WadFile wad;
  wad.animations.resize(5);
  const std::array<std::pair<uint16_t, uint16_t>, 5> ranges{{{0, 2}, {0, 0}, {2, 2}, {4, 0}, {4, 1}}};
  for (std::size_t g = 0; g < ranges.size(); ++g)
    std::tie(wad.animations[g].stateChangeIndex, wad.animations[g].numStateChanges) = ranges[g];
  wad.stateChanges = {{1, 2, 0}, {2, 1, 2}, {1, 0, 0}, {5, 3, 3}, {7, 1, 6}};
  for (uint16_t n = 0; n < 7; ++n) wad.dispatches.push_back(Marked(n));
  return wad;
}

// The ranges without records of a table, but skip's, in table order: each
// one's index and whether it stands at its place in the running sequence.
template <class Owner>
std::vector<std::pair<int, bool>> EmptyRanges(const std::vector<Owner>& owners, uint16_t Owner::*start,
                                              uint16_t Owner::*count, std::size_t skip = SIZE_MAX) {
  std::vector<std::pair<int, bool>> ranges;
  int running = 0;
  for (std::size_t j = 0; j < owners.size(); running += owners[j++].*count)
    if (owners[j].*count == 0 && j != skip) ranges.emplace_back(owners[j].*start, owners[j].*start == running);
  return ranges;
}

// Whether, after an edit of animation g, every other range without records
// stays in the sequence if it stood there and keeps its index if not.
bool EmptyRangesKept(const WadFile& before, const WadFile& after, uint32_t g) {
  const auto kept = [](const auto& was, const auto& is) {
    return std::ranges::equal(was, is, [](auto w, auto i) { return w.second ? i.second : i.first == w.first; });
  };
  using A = WadAnimation;
  using S = WadStateChange;
  return kept(EmptyRanges(before.animations, &A::stateChangeIndex, &A::numStateChanges, g),
              EmptyRanges(after.animations, &A::stateChangeIndex, &A::numStateChanges, g)) &&
         kept(EmptyRanges(before.stateChanges, &S::dispatchIndex, &S::numDispatches),
              EmptyRanges(after.stateChanges, &S::dispatchIndex, &S::numDispatches));
}

// Adds three dispatches to animation g under an id none of its state changes
// with dispatches has, then deletes its lines, last and first in turn, until
// none is left; checks every step.
void AddAndDeleteAll(const WadFile& start, uint32_t g) {
  SCOPED_TRACE(g);
  std::vector<Answer> expected = AnswersOf(start, g);
  uint16_t id = 0;
  while (std::any_of(expected.begin(), expected.end(),
                     [id](const Answer& a) { return a.stateId == id && !a.dispatches.empty(); }))
    ++id;
  // The first makes a state change in front of the others; the next ones go
  // in front of its dispatches.
  expected.insert(expected.begin(), Answer{id, {}});
  WadFile wad = start;
  for (uint16_t n : {50, 51, 52}) {
    const WadFile before = wad;
    ASSERT_EQ(AddDispatch(wad, g, id, Marked(n)), StateChangeEdit::kDone);
    expected.front().dispatches.insert(expected.front().dispatches.begin(), Marked(n));
    ASSERT_TRUE(OnlyAnimationChanged(start, wad, g, expected));
    ASSERT_TRUE(EmptyRangesKept(before, wad, g));
  }
  auto hasDispatches = [](const Answer& a) { return !a.dispatches.empty(); };
  for (bool last = true;; last = !last) {
    const std::vector<DispatchLine> lines = DispatchLinesOf(wad, g);
    if (lines.empty()) break;
    const WadFile before = wad;
    ASSERT_EQ(DeleteDispatch(wad, g, last ? lines.back() : lines.front()), StateChangeEdit::kDone);
    const auto hit = last ? std::find_if(expected.rbegin(), expected.rend(), hasDispatches).base() - 1
                          : std::find_if(expected.begin(), expected.end(), hasDispatches);
    hit->dispatches.erase(last ? hit->dispatches.end() - 1 : hit->dispatches.begin());
    if (hit->dispatches.empty()) expected.erase(hit);
    ASSERT_TRUE(OnlyAnimationChanged(start, wad, g, expected));
    ASSERT_TRUE(EmptyRangesKept(before, wad, g));
  }
}

}  // namespace

TEST(StateChangeEditing, AddsAndDeletesInAnyAnimationLeavingTheOthersAsTheyWere) {
  const WadFile start = Tables();
  for (uint32_t g = 0; g < start.animations.size(); ++g) AddAndDeleteAll(start, g);

  // An existing state change with dispatches takes the new one in front of them.
  WadFile wad = start;
  ASSERT_EQ(AddDispatch(wad, 0, 2, Marked(50)), StateChangeEdit::kDone);
  EXPECT_TRUE(OnlyAnimationChanged(start, wad, 0, {{1, {Marked(0), Marked(1)}}, {2, {Marked(50), Marked(2)}}}));
  // One without dispatches is no line, so not matched; records without
  // dispatches keep even the index no one reads.
  wad = start;
  ASSERT_EQ(AddDispatch(wad, 2, 1, Marked(50)), StateChangeEdit::kDone);
  EXPECT_TRUE(OnlyAnimationChanged(start, wad, 2,
                                   {{1, {Marked(50)}}, {1, {}}, {5, {Marked(3), Marked(4), Marked(5)}}}));
  EXPECT_EQ(wad.stateChanges[3], (WadStateChange{1, 0, 0}));
}

// A range without records in the sequence, or before, among or past the
// records an edit moves: each animation edited as above.
TEST(StateChangeEditing, RangesWithoutRecordsMoveOnlyWhenInTheSequence) {
  for (uint16_t empty : {0, 3, 5, 0xFFFF})   // state change 2: the sequence puts it at 3
    for (uint16_t none : {0, 2, 4, 0xFFFF}) {  // animation 1: the sequence puts it at 2
      SCOPED_TRACE(testing::Message() << empty << " " << none);
      WadFile start = Tables();
      start.stateChanges[2].dispatchIndex = empty;
      start.animations[1].stateChangeIndex = none;
      for (uint32_t g = 0; g < start.animations.size(); ++g) AddAndDeleteAll(start, g);
    }
}

TEST(StateChangeEditing, RefusesWhatItCannotRenumberAndChangesNothing) {
  using enum StateChangeEdit;
  // Each edit on a copy: anything but kDone leaves the copy as it was.
  const auto add = [](WadFile wad, uint32_t g, uint16_t id) {
    const WadFile before = wad;
    const StateChangeEdit result = AddDispatch(wad, g, id, Marked(9));
    EXPECT_TRUE(result == kDone || wad == before);
    return result;
  };
  const auto erase = [](WadFile wad, uint32_t g, DispatchLine line) {
    const WadFile before = wad;
    const StateChangeEdit result = DeleteDispatch(wad, g, line);
    EXPECT_TRUE(wad == before);
    return result;
  };
  // A range with records that starts elsewhere than the sequence puts it, or
  // runs past its table.
  for (auto breakIt : {+[](WadFile& w) { w.animations[4].stateChangeIndex = 3; },
                       +[](WadFile& w) { w.stateChanges[3].dispatchIndex = 2; },
                       +[](WadFile& w) { w.stateChanges[4].numDispatches = 2; }}) {
    WadFile wad = Tables();
    breakIt(wad);
    EXPECT_EQ((std::array{add(wad, 0, 1), add(wad, 0, 42), erase(wad, 0, {0, 0})}),
              (std::array{kOutOfSequence, kOutOfSequence, kOutOfSequence}));
  }
  // Indexes end at 65535: a full dispatch table, an animation of 65535 state
  // changes, or a state change of 65535 dispatches takes no more, but a new
  // state change may take the last dispatch index.
  WadFile full = Tables(), manyChanges, manyDispatches;
  full.dispatches.resize(0x10000);
  manyChanges.animations = {WadAnimation{.numStateChanges = 0xFFFF}};
  manyChanges.stateChanges.resize(0xFFFF);
  manyDispatches.animations = {WadAnimation{.numStateChanges = 1}};
  manyDispatches.stateChanges = {{1, 0xFFFF, 0}};
  manyDispatches.dispatches.resize(0xFFFF);
  EXPECT_EQ((std::array{add(full, 0, 1), add(full, 0, 42), add(manyChanges, 0, 1), add(manyChanges, 0, 42),
                        add(manyDispatches, 0, 1)}),
            (std::array{kTooLarge, kTooLarge, kTooLarge, kTooLarge, kTooLarge}));
  ASSERT_EQ(AddDispatch(manyDispatches, 0, 2, Marked(9)), kDone);
  EXPECT_EQ(manyDispatches.stateChanges, (std::vector<WadStateChange>{{2, 1, 0}, {1, 0xFFFF, 1}}));
  EXPECT_EQ(manyDispatches.dispatches.size(), 0x10000u);
  // Lines that are not the animation's own, and animations that do not exist.
  const WadFile wad = Tables();
  EXPECT_EQ((std::array{erase(wad, 0, {4, 6}), erase(wad, 0, {0, 2}), erase(wad, 0, {3, 9}), erase(wad, 5, {0, 0}),
                        add(wad, 5, 1)}),
            (std::array{kNotFound, kNotFound, kNotFound, kNotFound, kNotFound}));
}

// Files in use follow the running sequence, except that state changes without
// dispatches may hold index 0. The first and last animations, and those whose
// state changes all lack dispatches, are edited as above.
TEST(StateChangeEditing, RealWadsAreEditedWithoutDisturbingOtherAnimations) {
  SKIP_WITHOUT_SHARED("wads");
  for (const auto& path : testsupport::SharedWads()) {
    SCOPED_TRACE(path.filename().string());
    WadFile start;
    ASSERT_EQ(ReadWad(path.string(), start), 1);
    ASSERT_TRUE(FollowsRunningSequence(start));
    if (start.animations.empty()) continue;
    std::set<uint32_t> edited{0, start.numAnimations() - 1};
    for (uint32_t g = 0; g < start.numAnimations(); ++g) {
      const std::vector<Answer> answers = AnswersOf(start, g);
      if (!answers.empty() && std::all_of(answers.begin(), answers.end(),
                                          [](const Answer& a) { return a.dispatches.empty(); }))
        edited.insert(g);
    }
    for (uint32_t g : edited) AddAndDeleteAll(start, g);
  }
}
