#include <gtest/gtest.h>

#include "scene/MeshHierarchy.h"

namespace {

struct L {
  std::int32_t op, dx, dy, dz;
};

// Links for meshes 1..n-1, stored after some unrelated words so that the
// walk must start at the link index.
MeshHierarchy Build(std::initializer_list<L> links, std::int32_t numMeshes) {
  std::vector<std::int32_t> words{99, 99, 99, 99};
  for (const L& l : links) words.insert(words.end(), {l.op, l.dx, l.dy, l.dz});
  return BuildMeshHierarchy(words.data(), words.size(), 4, numMeshes);
}

void ExpectPivot(const MeshHierarchy& h, std::size_t mesh, float x, float y, float z) {
  EXPECT_FLOAT_EQ(h.pivots[mesh][0], x) << "mesh " << mesh;
  EXPECT_FLOAT_EQ(h.pivots[mesh][1], y) << "mesh " << mesh;
  EXPECT_FLOAT_EQ(h.pivots[mesh][2], z) << "mesh " << mesh;
}

}  // namespace

TEST(MeshHierarchy, AChildLinkOffsetsFromThePreviousMeshWithYUp) {
  const auto h = Build({{0, 0, -100, 0}}, 2);
  ExpectPivot(h, 0, 0, 0, 0);
  ExpectPivot(h, 1, 0, 10, 0);
  EXPECT_EQ(h.parent[0], -1);
  EXPECT_EQ(h.parent[1], 0);
  EXPECT_FLOAT_EQ(h.relY[1], 10.0f);
}

TEST(MeshHierarchy, RelCutsToWholeTenthsWhilePivotsKeepThem) {
  const auto h = Build({{0, 25, -15, -27}}, 2);
  EXPECT_FLOAT_EQ(h.relX[1], 2.0f);
  EXPECT_FLOAT_EQ(h.relY[1], 1.0f);
  EXPECT_FLOAT_EQ(h.relZ[1], -2.0f);  // cut towards zero
  ExpectPivot(h, 1, 2.5f, 1.5f, -2.7f);
}

TEST(MeshHierarchy, PushPopAndTopReturnToTheStackedParent) {
  // 0 -push-> 1 -child-> 2 ; 3 pops back to 0 ; 4 -push-> from 3 ;
  // 5 -child-> from 4 ; 6 uses the top (3) ; 7 pops (3).
  const auto h = Build({{2, 10, 0, 0},
                        {0, 0, -20, 0},
                        {1, -10, 0, 0},
                        {2, 0, 0, 30},
                        {0, 0, 0, 5},
                        {3, 1, 0, 0},
                        {1, 2, 0, 0}},
                       8);
  const std::int32_t parents[] = {-1, 0, 1, 0, 3, 4, 3, 3};
  for (std::size_t k = 0; k < 8; ++k) EXPECT_EQ(h.parent[k], parents[k]) << "mesh " << k;
  ExpectPivot(h, 2, 1, 2, 0);
  ExpectPivot(h, 3, -1, 0, 0);  // from mesh 0, not from mesh 2
  ExpectPivot(h, 5, -1, 0, 3.5f);
  ExpectPivot(h, 6, -0.9f, 0, 0);
  ExpectPivot(h, 7, -0.8f, 0, 0);
}

TEST(MeshHierarchy, SurvivesBadLinks) {
  // Pops and tops on an empty stack hang from the root; op 7 is a child link;
  // pushes deeper than any fixed stack still pop back in order.
  const auto bad = Build({{1, 10, 0, 0}, {3, 0, 10, 0}, {7, 0, 0, 10}}, 4);
  EXPECT_EQ(bad.parent[1], 0);
  EXPECT_EQ(bad.parent[2], 0);
  EXPECT_EQ(bad.parent[3], 2);
  ExpectPivot(bad, 2, 0, -1, 0);
  ExpectPivot(bad, 3, 0, -1, 1);

  std::vector<L> deep(12, L{2, 1, 0, 0});
  deep.insert(deep.end(), 12, L{1, 0, 0, 0});
  std::vector<std::int32_t> words;
  for (const L& l : deep) words.insert(words.end(), {l.op, l.dx, l.dy, l.dz});
  const auto nested = BuildMeshHierarchy(words.data(), words.size(), 0, 25);
  for (std::size_t k = 13; k < 25; ++k)
    EXPECT_EQ(nested.parent[k], static_cast<std::int32_t>(24 - k)) << "mesh " << k;

  // Links past the end of the stream are (0, 0, 0, 0): each mesh sits on the
  // one before it.
  const auto missing = Build({{0, 10, 0, 0}}, 4);
  EXPECT_EQ(missing.parent[3], 2);
  ExpectPivot(missing, 3, 1, 0, 0);
  EXPECT_TRUE(BuildMeshHierarchy(nullptr, 0, 0, 0).parent.empty());
}
