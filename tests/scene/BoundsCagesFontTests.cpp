// Keyframe bounds, the cages and floor, and the statistics font.

#include <cstring>
#include <filesystem>
#include <set>

#include "SceneTestSupport.h"
#include "scene/KeyFrameBounds.h"
#include "scene/StatsFont.h"

using namespace scenetest;

namespace {

// One animation of one keyframe of n meshes, every working world the identity.
struct Bounds {
  explicit Bounds(std::size_t n) {
    KeyFrame keyFrame = MakeKeyFrame(n);
    for (MeshPose& pose : keyFrame.meshes)
      for (int i = 0; i < 4; ++i) pose.workingWorld.m[i][i] = 1;
    anims.push_back(MakeAnimation({keyFrame}));
  }
  std::uint32_t Mesh(std::vector<MeshVertex> vertices) { return b.AddMesh({vertices, {}, {}, {}}); }
  KeyFrameBox Measure(std::int32_t m) {
    meshes = b.ParseMeshes();
    Frame().workingBox = {7, 7, 7, 7, 7, 7};
    CalculateKeyFrameBounds(b.wad, *meshes, anims, m, 0, 0);
    return Frame().workingBox;
  }
  KeyFrame& Frame() { return anims[0]->keyFrames[0]; }

  WadBuilder b;
  std::unique_ptr<Lista_Mesh> meshes;
  AnimationModel anims;
};

}  // namespace

TEST(KeyFrameBounds, CornerAHoldsTheSmallestXYAndZ) {
  Bounds s(2);
  const std::uint32_t a = s.Mesh({{100, 200, 300}});  // list position 0
  const std::uint32_t left = s.Mesh({{-500, 0, 0}});
  s.b.AddMoveable(9, {a});
  s.b.AddMoveable(9, {s.Mesh({{125, 0, 0}, {-127, 0, 0}})});
  s.b.AddMoveable(9, {a, a});
  s.b.AddMoveable(8, {left, left});
  s.b.AddMoveable(3, {a, a});  // placeholders: object 8's meshes stand in
  s.b.AddMoveable(33, {a});    // a fallback object of the view only
  // Y is down in the WAD; the extremes start at the root point.
  EXPECT_EQ(s.Measure(0), (KeyFrameBox{0, 0, 0, 100, 200, 300}));
  EXPECT_EQ(s.Frame().box, KeyFrameBox{});  // only the working box changes
  EXPECT_EQ(s.Measure(4), (KeyFrameBox{-500, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.Measure(5), (KeyFrameBox{0, 0, 0, 100, 200, 300}));
  // Display units round half up, cutting towards 0: 12.5 to 13, -12.7 to -12.
  EXPECT_EQ(s.Measure(1), (KeyFrameBox{-120, 0, 0, 130, 0, 0}));
  // The root offset moves every point; the smallest Z still starts at 0.
  s.Frame().workingRootOffset = {40, 0, 50};
  EXPECT_EQ(s.Measure(0), (KeyFrameBox{40, 0, 0, 140, 200, 350}));

  // Mesh 1 turned 90 degrees about Y and lifted 4 display units: (10, -20, 30)
  // goes to (30, -16, -10). The committed matrices play no part.
  s.Frame().workingRootOffset = {};
  Matrix4& w = s.Frame().meshes[1].workingWorld;
  w = Matrix4{};
  w.m[0][2] = -1, w.m[1][1] = 1, w.m[2][0] = 1, w.m[3][1] = 4, w.m[3][3] = 1;
  s.Frame().meshes[0].world = w;
  EXPECT_EQ(s.Measure(2), (KeyFrameBox{0, 0, -100, 300, 200, 300}));
}

TEST(KeyFrameBounds, SkipsWhatDoesNotExistAndClampsToSixteenBits) {
  Bounds s(3);
  s.b.AddMoveable(9, {12345, s.Mesh({{30000, -30000, 0}, {-30000, 0, 0}})});  // 12345: no mesh
  for (MeshPose& pose : s.Frame().meshes)
    for (int i = 0; i < 3; ++i) pose.workingWorld.m[i][i] = 2.0f;
  EXPECT_EQ(s.Measure(0), (KeyFrameBox{-32768, -32768, 0, 32767, 0, 0}));
  const KeyFrameBox untouched{7, 7, 7, 7, 7, 7};
  EXPECT_EQ(s.Measure(5), untouched);
  for (auto [m, g, k] : {std::array{-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}}) {
    CalculateKeyFrameBounds(s.b.wad, *s.meshes, s.anims, m, g, k);
    EXPECT_EQ(s.Frame().workingBox, untouched);
  }
}

namespace {

using Point = std::array<float, 3>;
using Segments = std::set<std::pair<Point, Point>>;

// The outlines (strip corners 0-1, 1-3, 3-2, 2-0) of the quads of one group.
Segments Outline(const dxBufferTextura& buffer, DWORD group) {
  Segments outline;
  float c[4][3];
  for (int q = 0; q < buffer.GetBuiltPolygonCount(); ++q) {
    if (buffer.GetPolygonGroup(q) != group) continue;
    buffer.GetPolygonVertices(q, c[0], c[1], c[2], c[3]);
    for (auto [a, b] : {std::pair{0, 1}, {1, 3}, {3, 2}, {2, 0}}) {
      const Point pa{c[a][0], c[a][1], c[a][2]}, pb{c[b][0], c[b][1], c[b][2]};
      outline.insert({std::min(pa, pb), std::max(pa, pb)});
    }
  }
  return outline;
}

// The twelve edges of the box from lo to hi.
Segments Edges(Point lo, Point hi) {
  Segments edges;
  for (int axis = 0; axis < 3; ++axis)
    for (int corner = 0; corner < 4; ++corner) {
      Point a = lo, b = hi;
      for (int c = 0, bit = 0; c < 3; ++c)
        if (c != axis) a[c] = b[c] = (corner >> bit++ & 1) ? hi[c] : lo[c];
      edges.insert({a, b});
    }
  return edges;
}

// The groups of the polygons that a cage draw drew, found by first vertex.
std::multiset<DWORD> DrawnGroups(SceneDevice& device, KeyFrameCages& cages,
                                 const AnimationModel& anims, int g, int k, bool calculated) {
  std::vector<d3d8::DrawRecord> draws;
  d3d8::RecordDraws(device->GetDevice(), &draws);
  cages.DrawKeyFrameBox(*device, anims, g, k, 0, 0, 0, 0.0f, 0.0f, 1.0f, calculated);
  d3d8::RecordDraws(device->GetDevice(), nullptr);
  const dxBufferTextura* buffer = calculated ? cages.BoundsBoxList() : cages.KeyFrameBoxList();
  std::multiset<DWORD> groups;
  for (const auto& draw : draws) {
    EXPECT_EQ(draw.fillMode, static_cast<DWORD>(D3DFILL_WIREFRAME));
    EXPECT_EQ(draw.texture, nullptr);  // cages draw untextured
    for (int i = 0; i < buffer->GetBuiltPolygonCount(); ++i)
      if (buffer->GetPolygonFirstVertex(i) == static_cast<int>(draw.startVertex))
        groups.insert(buffer->GetPolygonGroup(i));
  }
  return groups;
}

}  // namespace

TEST(KeyFrameCages, NumbersCagesByRunningKeyFrameCountAndOutlinesEachBox) {
  // Animations of 3, 0 and 2 keyframes; the n-th keyframe overall has the box
  // (n, n, n, -n, -n, -n).
  AnimationModel anims;
  std::int16_t n = 1;
  for (int count : {3, 0, 2}) {
    anims.push_back(MakeAnimation({}));
    for (int k = 0; k < count; ++k, ++n) {
      anims.back()->keyFrames.push_back(MakeKeyFrame(1));
      anims.back()->keyFrames.back().box = {n, n, n, std::int16_t(-n), std::int16_t(-n),
                                            std::int16_t(-n)};
    }
  }
  SceneDevice device;
  KeyFrameCages cages;
  cages.BuildKeyFrameBoxes(*device, anims);
  cages.BuildKeyFrameBoxes(*device, anims);  // a rebuild frees the old cages
  ASSERT_EQ(cages.KeyFrameBoxList()->GetUploadedPolygonCount(), 20);
  // Keyframe 1 of animation 2 is the fifth keyframe: group 4, box 5.
  EXPECT_EQ(Outline(*cages.KeyFrameBoxList(), 4), Edges({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}));
  EXPECT_EQ(DrawnGroups(device, cages, anims, 2, 1, false), (std::multiset<DWORD>{4, 4, 4, 4}));
  EXPECT_EQ(DrawnGroups(device, cages, anims, 0, 0, false), (std::multiset<DWORD>{0, 0, 0, 0}));
  // Keyframes that do not exist draw nothing, not a neighbour's cage.
  for (auto [g, k] : {std::pair{1, 0}, {0, 3}, {3, 0}, {-1, 0}})
    EXPECT_TRUE(DrawnGroups(device, cages, anims, g, k, false).empty());

  // The calculated cage: group 0 of its own buffer, drawn whatever the keyframe.
  EXPECT_TRUE(DrawnGroups(device, cages, {}, 0, 0, true).empty());  // nothing built yet
  cages.BuildBoundsBox(*device, 0, 0, 0, 0, 0, 0);
  cages.BuildBoundsBox(*device, 100, -200, 300, -100, 0, 500);  // frees the first
  ASSERT_EQ(cages.BoundsBoxList()->GetUploadedPolygonCount(), 4);
  EXPECT_EQ(Outline(*cages.BoundsBoxList(), 0), Edges({-10, 0, 30}, {10, 20, 50}));
  EXPECT_EQ(DrawnGroups(device, cages, {}, 7, 9, true), (std::multiset<DWORD>{0, 0, 0, 0}));
}

TEST(KeyFrameCages, FloorTilesCoverTheGroundFromTheOrigin) {
  SceneDevice device;
  KeyFrameCages cages;
  const auto texture = std::filesystem::path(SCENE_TEST_DATA_DIR) / "solid.bmp";
  cages.BuildFloorGrid(*device, texture.wstring().c_str());
  ASSERT_NE(cages.FloorTexture(), nullptr);
  const dxBufferTextura& floor = *cages.FloorGridList();
  ASSERT_EQ(floor.GetUploadedPolygonCount(), 100);
  // The tile edges: 11 lines of 10 segments of 512 along X, and as many along Z.
  Segments grid;
  for (float i = 0; i <= 10; ++i)
    for (float j = 0; j < 10; ++j) {
      grid.insert({{512 * j, 0, 512 * i}, {512 * (j + 1), 0, 512 * i}});
      grid.insert({{512 * i, 0, 512 * j}, {512 * i, 0, 512 * (j + 1)}});
    }
  EXPECT_EQ(Outline(floor, 0), grid);
  EXPECT_EQ(floor.GetPolygonTexture(99), cages.FloorTexture());
  cages.BuildFloorGrid(*device, L"no-such-floor.bmp");  // frees the old tiles and texture
  EXPECT_EQ(cages.FloorTexture(), nullptr);
  EXPECT_EQ(cages.FloorGridList()->GetPolygonTexture(0), nullptr);
}

TEST(StatsFont, IsABoldAntialiasedTimesOfTheDefaultSize) {
  SceneDevice device;
  StatsFont stats;
  CreateStatsFont(stats, nullptr);  // no device: no font
  EXPECT_EQ(stats.statsFont, nullptr);
  CreateStatsFont(stats, device->GetDevice());
  CreateStatsFont(stats, device->GetDevice());  // the second replaces the first
  // Height, width, escapement, orientation 0; FW_BOLD; not italic, underlined
  // or struck out; DEFAULT_CHARSET; default precisions; ANTIALIASED_QUALITY.
  const LOGFONT want{0, 0, 0, 0, 700, 0, 0, 0, 1, 0, 0, 4, 0, "Times"};
  EXPECT_EQ(std::memcmp(&stats.statsLogFont, &want, sizeof want), 0);
  ASSERT_NE(stats.statsFont, nullptr);
  LOGFONT asked{};
  ASSERT_EQ(stats.statsFont->GetLogFont(&asked), S_OK);
  EXPECT_EQ(std::memcmp(&asked, &want, sizeof want), 0);
}
