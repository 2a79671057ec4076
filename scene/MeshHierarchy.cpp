#include "scene/MeshHierarchy.h"

#include "scene/DisplayUnits.h"

namespace {
constexpr std::int32_t kRelDivisor = 10;

struct Link {
  std::int32_t op = LINK_CHILD;
  std::int32_t dx = 0, dy = 0, dz = 0;
};

Link ReadLink(const std::int32_t* links, std::size_t linkWordCount, std::size_t word) {
  if (links == nullptr || word > linkWordCount || linkWordCount - word < kLinkWords) return {};
  Link link{links[word], links[word + 1], links[word + 2], links[word + 3]};
  if (link.op < LINK_CHILD || link.op > LINK_TOP) link.op = LINK_CHILD;
  return link;
}

// A pushed parent: its mesh index and its pivot in WAD units.
struct StackEntry {
  std::int32_t mesh;
  std::array<std::int64_t, 3> pivot;
};

}  // namespace

MeshHierarchy BuildMeshHierarchy(const std::int32_t* links, std::size_t linkWordCount,
                                 std::size_t linkIndex, std::int32_t numMeshes) {
  MeshHierarchy h;
  if (numMeshes <= 0) return h;
  const auto n = static_cast<std::size_t>(numMeshes);
  h.pivots.assign(n, {0.0f, 0.0f, 0.0f});
  h.relX.assign(n, 0.0f);
  h.relY.assign(n, 0.0f);
  h.relZ.assign(n, 0.0f);
  h.parent.assign(n, -1);

  // Pivots are summed in whole WAD units (Y negated) and scaled at the end, so
  // that a pivot keeps its exact tenth while rel is cut to whole tenths.
  std::vector<std::array<std::int64_t, 3>> sums(n, {0, 0, 0});
  std::vector<StackEntry> stack;
  const StackEntry root{0, {0, 0, 0}};
  for (std::size_t k = 1; k < n; ++k) {
    const Link link = ReadLink(links, linkWordCount, linkIndex + (k - 1) * kLinkWords);
    const std::array<std::int64_t, 3> d{link.dx, -std::int64_t{link.dy}, link.dz};
    const StackEntry previous{static_cast<std::int32_t>(k - 1), sums[k - 1]};
    StackEntry from = previous;
    switch (link.op) {
      case LINK_PUSH:
        stack.push_back(previous);
        break;
      case LINK_POP:
        from = stack.empty() ? root : stack.back();
        if (!stack.empty()) stack.pop_back();
        break;
      case LINK_TOP:
        from = stack.empty() ? root : stack.back();
        break;
      default:
        break;
    }
    for (int axis = 0; axis < 3; ++axis) sums[k][axis] = from.pivot[axis] + d[axis];
    h.parent[k] = from.mesh;
    h.relX[k] = static_cast<float>(d[0] / kRelDivisor);
    h.relY[k] = static_cast<float>(d[1] / kRelDivisor);
    h.relZ[k] = static_cast<float>(d[2] / kRelDivisor);
  }
  for (std::size_t k = 0; k < n; ++k)
    for (int axis = 0; axis < 3; ++axis)
      h.pivots[k][axis] = static_cast<float>(sums[k][axis]) * kDisplayScale;
  return h;
}
