#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "SceneTestSupport.h"
#include "scene/KeyFrameBounds.h"

using namespace scenetest;

namespace {

Matrix4 Identity() {
  Matrix4 m{};
  for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
  return m;
}

TestMesh MeshOf(std::vector<MeshVertex> vertices) {
  TestMesh mesh;
  mesh.vertices = std::move(vertices);
  mesh.polygons.clear();
  return mesh;
}

// A WAD of the given meshes and moveables, and one animation with one
// keyframe of meshCount meshes, every working world matrix the identity.
struct BoundsScene {
  explicit BoundsScene(std::size_t meshCount = 1) {
    KeyFrame keyFrame = MakeKeyFrame(meshCount);
    for (MeshPose& pose : keyFrame.meshes) pose.workingWorld = Identity();
    anims.push_back(MakeAnimation({keyFrame}));
  }

  KeyFrameBox Measure(std::int32_t m) {
    meshes = builder.ParseMeshes();
    Frame().workingBox = {7, 7, 7, 7, 7, 7};
    CalculateKeyFrameBounds(builder.wad, *meshes, anims, m, 0, 0);
    return Frame().workingBox;
  }

  KeyFrame& Frame() { return anims[0]->keyFrames[0]; }

  WadBuilder builder;
  std::unique_ptr<Lista_Mesh> meshes;
  AnimationModel anims;
};

}  // namespace

TEST(KeyFrameBounds, PutsLargestXWithSmallestYAndZInCornerA) {
  BoundsScene s;
  s.builder.AddMoveable(9, {s.builder.AddMesh(MeshOf({{100, 200, 300}}))});
  EXPECT_EQ(s.Measure(0), (KeyFrameBox{100, 0, 0, 0, 200, 300}));
  EXPECT_EQ(s.Frame().box, KeyFrameBox{});  // only the working box changes

  s.Frame().workingRootOffset = {0, 0, 50};
  EXPECT_EQ(s.Measure(0), (KeyFrameBox{100, 0, 0, 0, 200, 350}));
}

TEST(KeyFrameBounds, RoundsHalvesUpAndNegativesTowardsZero) {
  BoundsScene s;
  s.builder.AddMoveable(9, {s.builder.AddMesh(MeshOf({{125, 0, 0}, {-127, 0, 0}}))});
  const KeyFrameBox box = s.Measure(0);
  EXPECT_EQ(box[0], 130);
  EXPECT_EQ(box[3], -120);
}

TEST(KeyFrameBounds, CarriesVerticesByTheWorkingWorldMatrices) {
  BoundsScene s(2);
  const std::uint32_t a = s.builder.AddMesh(MeshOf({{0, 0, 100}}));
  s.builder.AddMoveable(9, {a, a});
  // Mesh 1 is lifted 4 display units and turned 90 degrees about Y: the
  // vertex (0, 0, 10) goes to (10, 4, 0).
  Matrix4& w = s.Frame().meshes[1].workingWorld;
  w = Matrix4{};
  w.m[0][2] = -1;
  w.m[1][1] = 1;
  w.m[2][0] = 1;
  w.m[3][1] = 4;
  w.m[3][3] = 1;
  s.Frame().meshes[0].world = w;  // the committed matrices play no part
  EXPECT_EQ(s.Measure(0), (KeyFrameBox{100, -40, 0, 0, 0, 100}));
}

TEST(KeyFrameBounds, PlaceholderMeshesOfTheBoundsSetComeFromObject8) {
  BoundsScene s(3);
  const std::uint32_t far = s.builder.AddMesh(MeshOf({{1000, 0, 0}}));  // list position 0
  const std::uint32_t centre = s.builder.AddMesh(MeshOf({{0, 0, 0}}));
  const std::uint32_t left = s.builder.AddMesh(MeshOf({{-500, 0, 0}}));
  s.builder.AddMoveable(8, {centre, centre, left});
  s.builder.AddMoveable(3, {centre, centre, far});
  s.builder.AddMoveable(33, {far});
  EXPECT_EQ(s.Measure(1), (KeyFrameBox{0, 0, 0, -500, 0, 0}));
  EXPECT_EQ(s.Measure(2), (KeyFrameBox{1000, 0, 0, 0, 0, 0}));
}

TEST(KeyFrameBounds, SkipsWhatDoesNotExistAndClampsToSixteenBits) {
  BoundsScene s(3);
  const std::uint32_t big = s.builder.AddMesh(MeshOf({{30000, -30000, 0}, {-30000, 0, 0}}));
  s.builder.AddMoveable(9, {big, 12345});  // the second pointer names no mesh
  for (MeshPose& pose : s.Frame().meshes)
    for (int i = 0; i < 3; ++i) pose.workingWorld.m[i][i] = 2.0f;
  EXPECT_EQ(s.Measure(0), (KeyFrameBox{32767, -32768, 0, -32768, 0, 0}));

  // A NaN never wins a comparison: the box keeps the root point.
  for (auto& row : s.Frame().meshes[0].workingWorld.m)
    for (float& value : row) value = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(s.Measure(0), KeyFrameBox{});

  const KeyFrameBox untouched{7, 7, 7, 7, 7, 7};
  EXPECT_EQ(s.Measure(5), untouched);
  CalculateKeyFrameBounds(s.builder.wad, *s.meshes, s.anims, 0, 1, 0);
  CalculateKeyFrameBounds(s.builder.wad, *s.meshes, s.anims, 0, 0, 1);
  EXPECT_EQ(s.Frame().workingBox, untouched);
}
