#include <gtest/gtest.h>

#include "SceneTestSupport.h"
#include "d3d/Device8.h"
#include "scene/MoveableView.h"
#include "scene/PoseMath.h"
#include "scene/TexturePages.h"

using namespace scenetest;

namespace {

constexpr float kTolerance = 1e-4f;

void ExpectPoint(std::array<float, 3> got, std::array<float, 3> want) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], kTolerance) << "axis " << c;
}

// A chain of three meshes: mesh 1 hangs 10 display units above mesh 0, mesh 2
// 5 units along +X from mesh 1. Animation 0 has two keyframes, animation 1
// none. Keyframe 0 turns mesh 0 by 90 degrees about Y and mesh 1 by 90 about X.
struct ChainScene {
  ChainScene() {
    view.BuildHierarchy();
    KeyFrame turned = MakeKeyFrame(3);
    turned.meshes[0].angles = turned.meshes[0].workingAngles = {0, 90, 0};
    turned.meshes[1].angles = turned.meshes[1].workingAngles = {90, 0, 0};
    turned.rootOffset = turned.workingRootOffset = {10, 20, 30};
    anims.push_back(MakeAnimation({turned, MakeKeyFrame(3)}));
    anims.push_back(MakeAnimation({}));
    EXPECT_TRUE(view.LoadAnimations(anims, 0, 2, false));
  }

  static std::unique_ptr<Lista_Mesh> Chain(WadBuilder& builder) {
    std::vector<std::uint32_t> offsets;
    for (int i = 0; i < 3; ++i) offsets.push_back(builder.AddMesh(TestMesh{}));
    builder.AddMoveable(9, offsets, {{0, 0, -100, 0}, {0, 50, 0, 0}}, 0);
    return builder.ParseMeshes();
  }

  KeyFrame& Frame(int k) { return anims[0]->keyFrames[static_cast<std::size_t>(k)]; }

  WadBuilder builder;
  std::unique_ptr<Lista_Mesh> meshes = Chain(builder);
  AnimationModel anims;
  wadMoveableD3D view{&builder.wad, 0, meshes.get(), wadMoveableD3D::kModeRootMotion};
};

// The scene's meshes built into buffers on a device, so that Draw can run.
struct DrawnChain : ChainScene {
  DrawnChain() : pages(info) { meshes->BuildD3D(*device, pages, builder.wad); }
  Matrix4 World(int mesh) { return ToMatrix4(meshes->GetBuffer(mesh)->GetWorldMatrix()); }
  void Draw(bool showTranslation, float scale = 1.0f, int panX = 0) {
    view.Draw(*device, panX, 0, 0, 0.0f, 0.0f, scale, showTranslation);
  }

  SceneDevice device;
  TextureInfo info;
  trTextura pages;
};

}  // namespace

TEST(MoveableView, ResolvesMeshesAndBuildsTheHierarchy) {
  ChainScene s;
  ASSERT_EQ(s.view.GetMeshCount(), 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(s.view.MeshIndex(k), k);
  EXPECT_EQ(s.view.Hierarchy().parent[2], 1);
  EXPECT_FLOAT_EQ(s.view.Hierarchy().pivots[2][0], 5.0f);
  EXPECT_FLOAT_EQ(s.view.Hierarchy().pivots[2][1], 10.0f);

  wadMoveableD3D orphan(nullptr, 0, s.meshes.get(), 1);
  EXPECT_EQ(orphan.BuildHierarchy(), static_cast<std::uint32_t>(E_FAIL));
  s.builder.AddMoveable(9, {s.builder.wad.meshPointers[1]});
  wadMoveableD3D single(&s.builder.wad, 1, s.meshes.get(), 1);
  EXPECT_EQ(single.BuildHierarchy(), 1u);
  EXPECT_EQ(single.MeshIndex(0), 1);
}

TEST(MoveableView, PlaceholderMeshesComeFromTheObject8Moveable) {
  WadBuilder b;
  std::vector<std::uint32_t> offsets;
  for (int i = 0; i < 4; ++i) offsets.push_back(b.AddMesh(TestMesh{}));
  b.AddMoveable(5, {offsets[0], offsets[1], offsets[0]});  // meshes 0 and 2 are placeholders
  b.AddMoveable(9, {offsets[0], offsets[1]});
  b.AddMoveable(33, {offsets[0]});
  b.AddMoveable(8, {offsets[2], offsets[2], offsets[3]});
  b.AddMoveable(3, {offsets[1], 9999});   // 9999 names no mesh
  auto meshes = b.ParseMeshes();
  auto resolve = [&](std::int32_t m) {
    wadMoveableD3D view(&b.wad, m, meshes.get(), 1);
    view.BuildHierarchy();
    std::vector<std::int32_t> out;
    for (int k = 0; k < view.GetMeshCount(); ++k) out.push_back(view.MeshIndex(k));
    return out;
  };
  EXPECT_EQ(resolve(0), (std::vector<std::int32_t>{2, 1, 3}));
  EXPECT_EQ(resolve(1), (std::vector<std::int32_t>{0, 1}));
  EXPECT_EQ(resolve(2), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(resolve(4), (std::vector<std::int32_t>{1, -1}));

  b.wad.moveables[3].objectId = 7;  // no object-8 moveable any more
  EXPECT_EQ(resolve(0), (std::vector<std::int32_t>{0, 1, 0}));
  b.wad.moveables[0].numMeshes = 40;  // pointers past the table
  EXPECT_EQ(resolve(0)[39], -1);
}

TEST(MoveableView, PosesATwoLevelChainWithRotationsInheritedFromParents) {
  ChainScene s;
  const KeyFrame& k = s.Frame(0);
  // Mesh 1 turns Y toward -Z, is lifted by its offset, then turned with its
  // parent about Y (Z toward X).
  ExpectPoint(Carry(k.meshes[1].world, {0, 1, 0}), {-1, 10, 0});
  ExpectPoint(Carry(k.meshes[1].world, {1, 0, 0}), {0, 10, -1});
  ExpectPoint(Carry(k.meshes[2].world, {0, 0, 0}), {0, 10, -5});
  ExpectPoint(Carry(k.meshes[0].world, {0, 0, 1}), {1, 0, 0});
  EXPECT_EQ(k.meshes[2].workingWorld, k.meshes[2].world);
  // The plain rotation turns by +x about X where the local one turns by -x.
  ExpectPoint(Carry(k.meshes[1].plainRotation, {0, 1, 0}), {0, 0, 1});

  // An axis stored as 360 is no rotation, like 0.
  KeyFrame& rest = s.Frame(1);
  rest.meshes[1].angles = {360, 360, 360};
  ASSERT_EQ(s.view.ComputeFramePose(0, 1, false), 1);
  ExpectPoint(Carry(rest.meshes[1].world, {1, 2, 3}), {1, 12, 3});
  EXPECT_EQ(s.view.ComputeFramePose(1, 0, false), 0);
}

TEST(MoveableView, WorkingAnglesMoveDescendantsUntilReverted) {
  ChainScene s;
  KeyFrame& k = s.Frame(0);
  const KeyFrame committed = k;
  ASSERT_TRUE(s.view.Select(0, 0));
  ASSERT_TRUE(s.view.SetMeshAngles(0, 0, 1, 0, 0, 0));
  s.view.MarkEdited();
  EXPECT_EQ(k.meshes[0].workingWorld, committed.meshes[0].workingWorld);
  EXPECT_NE(k.meshes[1].workingWorld, committed.meshes[1].workingWorld);
  EXPECT_NE(k.meshes[2].workingWorld, committed.meshes[2].workingWorld);
  ExpectPoint(Carry(k.meshes[1].workingWorld, {0, 1, 0}), {0, 11, 0});
  for (int m = 0; m < 3; ++m) EXPECT_EQ(k.meshes[m].world, committed.meshes[m].world);

  k.workingRootOffset = {1, 2, 3};
  k.workingBox = {1, 1, 1, 1, 1, 1};
  s.view.RevertKeyFrame();
  EXPECT_FALSE(s.view.IsEdited());
  EXPECT_EQ(k, committed);  // angles, worlds, rotations, box and root offset

  EXPECT_FALSE(s.view.SetMeshAngles(0, 0, 3, 1, 1, 1));
  EXPECT_FALSE(s.view.SetMeshAngles(1, 0, 0, 1, 1, 1));
}

TEST(MoveableView, CommitKeepsTheWorkingCopy) {
  ChainScene s;
  KeyFrame& k = s.Frame(1);
  ASSERT_TRUE(s.view.SetMeshAngles(0, 1, 0, 0, 90, 0));
  k.workingRootOffset = {4, 5, 6};
  k.workingBox = {1, 2, 3, 4, 5, 6};
  s.view.CommitKeyFrameAt(0, 1);
  EXPECT_EQ(k.rootOffset, (RootOffset{4, 5, 6}));
  EXPECT_EQ(k.box, (KeyFrameBox{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(k.meshes[0].angles, (std::array<float, 3>{0, 90, 0}));
  EXPECT_EQ(k.meshes[2].world, k.meshes[2].workingWorld);
  ExpectPoint(Carry(k.meshes[0].world, {0, 0, 1}), {1, 0, 0});
  // Reverting now keeps what was committed.
  ASSERT_TRUE(s.view.Select(0, 1));
  s.view.RevertKeyFrame();
  EXPECT_EQ(k.meshes[0].angles, (std::array<float, 3>{0, 90, 0}));
}

TEST(MoveableView, BindsOnlyAnimationsTheModelHolds) {
  ChainScene s;
  EXPECT_FALSE(s.view.LoadAnimations(s.anims, -1, 1, false));
  EXPECT_FALSE(s.view.LoadAnimations(s.anims, 2, 1, false));
  EXPECT_EQ(s.view.BoundAnimationCount(), 2);  // unchanged by refusals
  ASSERT_TRUE(s.view.LoadAnimations(s.anims, 1, 600, true));
  EXPECT_EQ(s.view.BoundAnimationCount(), 1);
  EXPECT_EQ(s.view.BoundAnimation(0), s.anims[1].get());
  EXPECT_EQ(s.view.BoundAnimation(1), nullptr);

  // Binding pointers only leaves the poses alone.
  s.anims.push_back(MakeAnimation({MakeKeyFrame(3, {0, 90, 0})}));
  ASSERT_TRUE(s.view.LoadAnimations(s.anims, 2, 1, true));
  EXPECT_EQ(s.anims[2]->keyFrames[0].meshes[0].world, Matrix4{});
}

TEST(MoveableView, SelectsOnlyBoundKeyFrames) {
  ChainScene s;
  ASSERT_TRUE(s.view.Select(0, 1));
  EXPECT_FALSE(s.view.Select(1, 0));  // no keyframes
  EXPECT_FALSE(s.view.Select(0, 2));  // one past the last
  EXPECT_FALSE(s.view.Select(0, -1));
  EXPECT_FALSE(s.view.Select(5, 0));
  EXPECT_EQ(s.view.ShownAnimation(), 0);
  EXPECT_EQ(s.view.ShownKeyFrame(), 1);
}

TEST(MoveableView, DrawsTheSelectedPoseOnceThenTheBindPose) {
  DrawnChain s;
  ASSERT_TRUE(s.view.Select(0, 0));
  s.Draw(false);
  EXPECT_FALSE(s.view.IsPosed());
  ExpectPoint(Carry(s.World(1), {0, 1, 0}), {-1, 10, 0});
  s.Draw(false);
  ExpectPoint(Carry(s.World(1), {0, 1, 0}), {0, 11, 0});  // the pivot, unturned
  ExpectPoint(Carry(s.World(2), {0, 0, 0}), {5, 10, 0});

  // An invalid selection leaves the bind pose.
  EXPECT_FALSE(s.view.Select(0, 7));
  s.Draw(false);
  ExpectPoint(Carry(s.World(1), {0, 1, 0}), {0, 11, 0});
}

TEST(MoveableView, DrawMovesByTheRootOffsetOnlyWhenAsked) {
  DrawnChain s;
  ASSERT_TRUE(s.view.Select(0, 0));
  s.Draw(true, 2.0f, 5);
  // Pose, then the root offset (10, 20, 30) in display units with Y up, then
  // the zoom, then the pan.
  ExpectPoint(Carry(s.World(1), {0, 1, 0}), {2 * (-1 + 1) + 5, 2 * (10 - 2), 2 * 3});

  ASSERT_TRUE(s.view.Select(0, 0));
  s.Frame(0).workingRootOffset = {0, 0, 0};
  ASSERT_TRUE(s.view.SetMeshAngles(0, 0, 1, 0, 0, 0));
  s.view.MarkEdited();
  s.Draw(true);
  ExpectPoint(Carry(s.World(1), {0, 1, 0}), {0, 11, 0});  // the working copy

  ASSERT_TRUE(s.view.Select(0, 0));
  s.view.RevertKeyFrame();
  s.Draw(false);
  ExpectPoint(Carry(s.World(1), {0, 1, 0}), {-1, 10, 0});
}

TEST(MoveableView, ToleratesKeyFramesWithFewerMeshesAndUnresolvedMeshes) {
  DrawnChain s;
  s.anims[1]->keyFrames.push_back(MakeKeyFrame(2));
  ASSERT_TRUE(s.view.LoadAnimations(s.anims, 0, 2, false));
  EXPECT_FALSE(s.view.SetMeshAngles(1, 0, 2, 1, 1, 1));
  ASSERT_TRUE(s.view.Select(1, 0));
  s.Draw(false);
  ExpectPoint(Carry(s.World(2), {0, 0, 0}), {5, 10, 0});  // mesh 2 at its bind pivot

  s.builder.wad.meshPointers[2] = 1;  // names no mesh
  wadMoveableD3D broken(&s.builder.wad, 0, s.meshes.get(), 1);
  broken.BuildHierarchy();
  dxBufferTextura* buffers[3] = {};
  ASSERT_TRUE(broken.GetMeshBuffers(buffers));
  EXPECT_EQ(buffers[0], s.meshes->GetBuffer(0));
  ASSERT_NE(buffers[2], nullptr);
  EXPECT_EQ(buffers[2]->GetUploadedPolygonCount(), 0);
  broken.Draw(*s.device, 0, 0, 0, 0, 0, 1, false);
}
