#include "model/WadFile.h"

#include <algorithm>

// A moveable's animations run from its animIndex to the next moveable that has
// animations. Ranges that a damaged file would make reach backwards or past
// the table are cut to what the table holds.
uint32_t CountMoveableAnimations(const WadFile& wad, uint32_t i) {
  const uint32_t total = wad.numAnimations();
  if (i >= wad.numMoveables()) return 0;
  const int first = wad.moveables[i].animIndex;
  if (first < 0 || static_cast<uint32_t>(first) >= total) return 0;
  for (uint32_t j = i + 1; j < wad.numMoveables(); ++j) {
    const int next = wad.moveables[j].animIndex;
    if (next < 0) continue;
    if (next < first) return 0;
    return std::min<uint32_t>(next, total) - first;
  }
  return total - first;
}

bool LinkAt(const WadFile& wad, uint32_t wordIndex, WadLink& link) {
  constexpr uint32_t kLinkWords = 4;
  if (wordIndex > wad.numLinkWords() || wad.numLinkWords() - wordIndex < kLinkWords) return false;
  const int32_t* w = &wad.links[wordIndex];
  link = WadLink{w[0], w[1], w[2], w[3]};
  return true;
}
