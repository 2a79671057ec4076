#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "SceneTestSupport.h"
#include "d3d/Device8.h"
#include "scene/KeyFrameCages.h"

using namespace scenetest;

namespace {

using Point = std::array<float, 3>;

// Animations of 3, 0 and 2 keyframes, keyframe i of all of them having the box
// (i, i, i, -i, -i, -i) so that each cage differs.
AnimationModel ThreeAnimations() {
  AnimationModel anims;
  std::int16_t n = 1;
  for (int count : {3, 0, 2}) {
    std::vector<KeyFrame> keyFrames;
    for (int k = 0; k < count; ++k, ++n) {
      KeyFrame keyFrame = MakeKeyFrame(1);
      keyFrame.box = {n, n, n, static_cast<std::int16_t>(-n), static_cast<std::int16_t>(-n),
                      static_cast<std::int16_t>(-n)};
      keyFrames.push_back(keyFrame);
    }
    anims.push_back(MakeAnimation(keyFrames));
  }
  return anims;
}

// The groups of the polygons that a draw drew, by their first vertex.
std::multiset<DWORD> DrawnGroups(const dxBufferTextura& buffer,
                                 const std::vector<d3d8::DrawRecord>& draws) {
  std::multiset<DWORD> groups;
  for (const auto& draw : draws)
    for (int i = 0; i < buffer.GetBuiltPolygonCount(); ++i)
      if (buffer.GetPolygonFirstVertex(i) == static_cast<int>(draw.startVertex))
        groups.insert(buffer.GetPolygonGroup(i));
  return groups;
}

std::vector<d3d8::DrawRecord> RecordDrawBox(SceneDevice& device, KeyFrameCages& cages,
                                            const AnimationModel& anims, int g, int k,
                                            bool calculated) {
  std::vector<d3d8::DrawRecord> draws;
  d3d8::RecordDraws(device->GetDevice(), &draws);
  cages.DrawKeyFrameBox(*device, anims, g, k, 0, 0, 0, 0.0f, 0.0f, 1.0f, calculated);
  d3d8::RecordDraws(device->GetDevice(), nullptr);
  return draws;
}

}  // namespace

TEST(KeyFrameCages, NumbersCagesByRunningKeyFrameCountAcrossAnimations) {
  SceneDevice device;
  const AnimationModel anims = ThreeAnimations();
  KeyFrameCages cages;
  cages.BuildKeyFrameBoxes(*device, anims);
  cages.BuildKeyFrameBoxes(*device, anims);  // a rebuild replaces the old cages
  const dxBufferTextura& boxes = *cages.KeyFrameBoxList();
  ASSERT_EQ(boxes.GetUploadedPolygonCount(), 20);
  std::multiset<DWORD> groups;
  for (int i = 0; i < 20; ++i) {
    groups.insert(boxes.GetPolygonGroup(i));
    EXPECT_EQ(boxes.GetPolygonTexture(i), nullptr);
    EXPECT_EQ(boxes.GetPolygonFlags(i), POLY_WIREFRAME | POLY_TEXTURED | POLY_QUAD);
  }
  for (DWORD g = 0; g < 5; ++g) EXPECT_EQ(groups.count(g), 4u) << "group " << g;

  // Keyframe 1 of animation 2 is the fifth keyframe: group 4, box 5.
  auto draws = RecordDrawBox(device, cages, anims, 2, 1, false);
  EXPECT_EQ(DrawnGroups(boxes, draws), (std::multiset<DWORD>{4, 4, 4, 4}));
  float p[4][3];
  for (int i = 0; i < 20; ++i)
    if (boxes.GetPolygonGroup(i) == 4) {
      boxes.GetPolygonVertices(i, p[0], p[1], p[2], p[3]);
      for (auto& corner : p) EXPECT_FLOAT_EQ(std::abs(corner[0]), 0.5f);
    }
  for (const auto& draw : draws) {
    EXPECT_EQ(draw.fillMode, static_cast<DWORD>(D3DFILL_WIREFRAME));
    EXPECT_EQ(draw.texture, nullptr);
  }

  // Keyframes that do not exist draw nothing, not a neighbour's cage.
  EXPECT_TRUE(RecordDrawBox(device, cages, anims, 1, 0, false).empty());
  EXPECT_TRUE(RecordDrawBox(device, cages, anims, 0, 3, false).empty());
  EXPECT_TRUE(RecordDrawBox(device, cages, anims, 3, 0, false).empty());
}

TEST(KeyFrameCages, TheCalculatedCageHoldsEveryEdgeOfItsBox) {
  SceneDevice device;
  KeyFrameCages cages;
  EXPECT_TRUE(RecordDrawBox(device, cages, {}, 0, 0, true).empty());  // nothing built yet
  cages.BuildBoundsBox(*device, 100, -200, 300, -100, 0, 500);
  cages.BuildBoundsBox(*device, 100, -200, 300, -100, 0, 500);
  const dxBufferTextura& cage = *cages.BoundsBoxList();
  ASSERT_EQ(cage.GetUploadedPolygonCount(), 4);

  // The first quad, built last: the plane z = 30.
  float c[4][3];
  ASSERT_EQ(cage.GetPolygonVertices(3, c[0], c[1], c[2], c[3]), 1);
  const Point want[4] = {{10, 0, 30}, {10, 20, 30}, {-10, 0, 30}, {-10, 20, 30}};
  for (int i = 0; i < 4; ++i)
    for (int a = 0; a < 3; ++a) EXPECT_FLOAT_EQ(c[i][a], want[i][a]) << i << "," << a;

  // The quads' outlines (strip corners 0-1, 1-3, 3-2, 2-0) hold twelve
  // distinct segments, each along one axis between two corners of the box:
  // its twelve edges.
  std::set<std::pair<Point, Point>> outline;
  for (int q = 0; q < 4; ++q) {
    cage.GetPolygonVertices(q, c[0], c[1], c[2], c[3]);
    for (auto [a, b] : {std::pair{0, 1}, {1, 3}, {3, 2}, {2, 0}}) {
      Point pa{c[a][0], c[a][1], c[a][2]}, pb{c[b][0], c[b][1], c[b][2]};
      outline.insert({std::min(pa, pb), std::max(pa, pb)});
    }
  }
  EXPECT_EQ(outline.size(), 12u);
  auto isCorner = [](const Point& p) {
    return (p[0] == -10 || p[0] == 10) && (p[1] == 0 || p[1] == 20) && (p[2] == 30 || p[2] == 50);
  };
  for (const auto& [a, b] : outline) {
    EXPECT_TRUE(isCorner(a) && isCorner(b));
    EXPECT_EQ((a[0] != b[0]) + (a[1] != b[1]) + (a[2] != b[2]), 1);
  }

  auto draws = RecordDrawBox(device, cages, {}, 7, 9, true);
  EXPECT_EQ(DrawnGroups(cage, draws), (std::multiset<DWORD>{0, 0, 0, 0}));
}

TEST(KeyFrameCages, CagesDrawAsWhiteLines) {
  SceneDevice device;
  KeyFrameCages cages;
  cages.BuildBoundsBox(*device, 2000, -2000, 0, -2000, 2000, 0);
  device->Clear(true);
  cages.DrawKeyFrameBox(*device, {}, 0, 0, 0, 0, 0, 0.0f, 0.0f, 1.0f, true);
  const auto image = device.Pixels();
  int white = 0, other = 0;
  for (std::uint32_t pixel : image.pixels) {
    white += pixel == 0xFFFFFFFFu;
    other += pixel != 0xFFFFFFFFu && pixel != kClearPixel;
  }
  EXPECT_GT(white, 4 * 30);  // four sides of about 38 pixels and a diagonal
  EXPECT_EQ(other, 0);
  EXPECT_EQ(image.At(32, 20), kClearPixel);  // inside the outline, off the diagonal
}

TEST(KeyFrameCages, FloorTilesCoverTheGroundFromTheOrigin) {
  SceneDevice device;
  KeyFrameCages cages;
  const auto texture = std::filesystem::path(SCENE_TEST_DATA_DIR) / "solid.bmp";
  cages.BuildFloorGrid(*device, texture.wstring().c_str());
  ASSERT_NE(cages.FloorTexture(), nullptr);
  const dxBufferTextura& floor = *cages.FloorGridList();
  ASSERT_EQ(floor.GetUploadedPolygonCount(), 100);
  float c[4][3];
  floor.GetPolygonVertices(0, c[0], c[1], c[2], c[3]);  // tile (9, 9), made last
  const Point want[4] = {{4608, 0, 5120}, {5120, 0, 5120}, {4608, 0, 4608}, {5120, 0, 4608}};
  for (int i = 0; i < 4; ++i)
    for (int a = 0; a < 3; ++a) EXPECT_FLOAT_EQ(c[i][a], want[i][a]);
  EXPECT_EQ(floor.GetPolygonTexture(99), cages.FloorTexture());
  EXPECT_EQ(floor.GetPolygonFlags(0), POLY_CULL_CCW | POLY_TEXTURED | POLY_QUAD);

  cages.BuildFloorGrid(*device, L"no-such-floor.bmp");
  EXPECT_EQ(cages.FloorTexture(), nullptr);
  EXPECT_EQ(cages.FloorGridList()->GetUploadedPolygonCount(), 100);
  EXPECT_EQ(cages.FloorGridList()->GetPolygonTexture(0), nullptr);
}
