// The mesh hierarchy from the link stream, and the view: meshes, poses with
// their working and committed copies, selection and drawing.

#include <random>

#include "SceneTestSupport.h"
#include "scene/PoseMath.h"

using namespace scenetest;

namespace {

void ExpectCarries(const Matrix4& m, std::array<float, 3> p, std::array<float, 3> want) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(Carry(m, p)[c], want[c], 1e-4f) << "axis " << c;
}

// Links for meshes 1.. after 4 unrelated words, so the walk must start at the
// link index.
MeshHierarchy Build(std::vector<std::int32_t> links, std::int32_t numMeshes) {
  links.insert(links.begin(), {99, 99, 99, 99});
  return BuildMeshHierarchy(links.data(), links.size(), 4, numMeshes);
}

void ExpectPivots(const MeshHierarchy& h, std::vector<std::array<float, 3>> pivots) {
  ASSERT_EQ(h.pivots.size(), pivots.size());
  for (std::size_t k = 0; k < pivots.size(); ++k)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(h.pivots[k][c], pivots[k][c], 1e-5f) << "mesh " << k;
}

}  // namespace

TEST(MeshHierarchy, EveryLinkOperationPlacesAndParentsTheMesh) {
  // 1 pushes 0; 2 is a child of 1; 3 pops 0; 4 pushes 3; 5 is a child of 4;
  // 6 uses the top (3); 7 pops it. WAD Y points down.
  const auto h = Build({2, 10, 0, 0,  0, 0, -25, -27,  1, -10, 0, 0,  2, 0, 0, 30,
                        0, 0, 0, 5,   3, 1, 0, 0,      1, 2, 0, 0},
                       8);
  EXPECT_EQ(h.parent, (std::vector<std::int32_t>{-1, 0, 1, 0, 3, 4, 3, 3}));
  ExpectPivots(h, {{0, 0, 0}, {1, 0, 0}, {1, 2.5f, -2.7f}, {-1, 0, 0}, {-1, 0, 3},
                   {-1, 0, 3.5f}, {-0.9f, 0, 0}, {-0.8f, 0, 0}});
  // rel is cut to whole display units towards 0, while the pivot keeps 2.5.
  EXPECT_EQ((std::array{h.relX[2], h.relY[2], h.relZ[2], h.relX[1]}),
            (std::array{0.0f, 2.0f, -2.0f, 1.0f}));
}

TEST(MeshHierarchy, BadLinksNeverOverrun) {
  // A pop and a top on an empty stack hang from the root; op 7 is op 0.
  const auto bad = Build({0, 10, 0, 0,  1, 0, 10, 0,  3, 0, 0, 10,  7, 0, 0, 10}, 5);
  EXPECT_EQ(bad.parent, (std::vector<std::int32_t>{-1, 0, 0, 0, 3}));
  ExpectPivots(bad, {{0, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, 2}});
  // Links past the end of the stream are (0, 0, 0, 0).
  ExpectPivots(Build({0, 10, 0, 0}, 3), {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}});
  // Twelve pushes, deeper than any fixed stack, pop back in order.
  std::vector<std::int32_t> deep;
  for (int i = 0; i < 24; ++i) deep.insert(deep.end(), {i < 12 ? 2 : 1, 1, 0, 0});
  const auto nested = BuildMeshHierarchy(deep.data(), deep.size(), 0, 25);
  for (std::int32_t k = 13; k < 25; ++k) EXPECT_EQ(nested.parent[k], 24 - k) << "mesh " << k;
}

TEST(MoveableView, PlaceholderMeshesComeFromTheObject8Moveable) {
  WadBuilder b;
  const std::uint32_t at[4] = {b.AddMesh(), b.AddMesh(), b.AddMesh(), b.AddMesh()};
  b.AddMoveable(5, {at[0], at[1], at[0]});  // meshes 0 and 2 are placeholders
  b.AddMoveable(9, {at[0], at[1]});         // not a fallback object
  b.AddMoveable(33, {at[0]});               // a fallback object of the view only
  b.AddMoveable(8, {at[2], at[2], at[3]});
  b.AddMoveable(3, {at[1], 9999});  // 9999 starts no mesh
  auto meshes = b.ParseMeshes();
  auto resolve = [&](std::int32_t m) {
    wadMoveableD3D view(&b.wad, m, meshes.get(), 1);
    EXPECT_EQ(view.BuildHierarchy(), b.wad.moveables[m].numMeshes);
    std::vector<std::int32_t> out;
    for (int k = 0; k < view.GetMeshCount(); ++k) out.push_back(view.MeshIndex(k));
    return out;
  };
  using V = std::vector<std::int32_t>;
  EXPECT_EQ(resolve(0), (V{2, 1, 3}));
  EXPECT_EQ(resolve(1), (V{0, 1}));
  EXPECT_EQ(resolve(2), (V{2}));
  EXPECT_EQ(resolve(4), (V{1, -1}));
  b.wad.moveables[3].objectId = 7;  // no object-8 moveable any more
  EXPECT_EQ(resolve(0), (V{0, 1, 0}));
  b.wad.moveables[0].numMeshes = 40;  // pointers past the table
  EXPECT_EQ(resolve(0)[39], -1);
}

namespace {

// Mesh 1 hangs 10 display units above mesh 0, mesh 2 5 units along +X from
// mesh 1. Animation 0 has two keyframes, animation 1 none. Keyframe 0 turns
// mesh 0 by 90 degrees about Y and mesh 1 by 90 about X, root offset
// (10, 20, 30); keyframe 1 is the rest pose.
struct Chain {
  static std::unique_ptr<Lista_Mesh> Meshes(WadBuilder& b) {
    b.AddMoveable(9, {b.AddMesh(), b.AddMesh(), b.AddMesh()}, {0, 0, -100, 0, 0, 50, 0, 0}, 0);
    return b.ParseMeshes();
  }
  Chain() {
    meshes->BuildD3D(*device, pages, b.wad);
    view.BuildHierarchy();
    KeyFrame turned = MakeKeyFrame(3);
    turned.meshes[0].angles = turned.meshes[0].workingAngles = {0, 90, 0};
    turned.meshes[1].angles = turned.meshes[1].workingAngles = {90, 0, 0};
    turned.rootOffset = turned.workingRootOffset = {10, 20, 30};
    anims.push_back(MakeAnimation({turned, MakeKeyFrame(3)}));
    anims.push_back(MakeAnimation({}));
    EXPECT_TRUE(view.LoadAnimations(anims, 0, 2, false));
  }
  KeyFrame& Frame(int k) { return anims[0]->keyFrames[static_cast<std::size_t>(k)]; }
  Matrix4 Drawn(int m) { return ToMatrix4(meshes->GetBuffer(m)->GetWorldMatrix()); }
  void Draw(bool root, std::int32_t panX = 0, float zoom = 1) {
    view.Draw(*device, panX, 0, 0, 0, 0, zoom, root);
  }

  SceneDevice device;
  TextureInfo info;
  trTextura pages{info};
  WadBuilder b;
  std::unique_ptr<Lista_Mesh> meshes = Meshes(b);
  AnimationModel anims;
  wadMoveableD3D view{&b.wad, 0, meshes.get(), wadMoveableD3D::kModeRootMotion};
};

}  // namespace

TEST(MoveableView, PosesATwoLevelChainWithRotationsInheritedFromParents) {
  Chain s;
  const KeyFrame& k = s.Frame(0);
  // Mesh 0 turns Z toward X. Mesh 1 turns Y toward -Z, is lifted by its
  // offset, then turns with its parent; mesh 2 turns with both.
  ExpectCarries(k.meshes[0].world, {0, 0, 1}, {1, 0, 0});
  ExpectCarries(k.meshes[1].world, {0, 1, 0}, {-1, 10, 0});
  ExpectCarries(k.meshes[1].world, {1, 0, 0}, {0, 10, -1});
  ExpectCarries(k.meshes[2].world, {0, 1, 0}, {-1, 10, -5});
  EXPECT_EQ(k.meshes[2].workingWorld, k.meshes[2].world);
  // The plain rotation turns by +x about X where the local one turns by -x.
  ExpectCarries(k.meshes[1].plainRotation, {0, 1, 0}, {0, 0, 1});

  s.Frame(1).meshes[1].angles = {360.9f, 360, 360.5f};  // cut to whole turns: no turn
  ASSERT_EQ(s.view.ComputeFramePose(0, 1, false), 1);
  ExpectCarries(s.Frame(1).meshes[1].world, {1, 2, 3}, {1, 12, 3});
  EXPECT_EQ(s.view.ComputeFramePose(1, 0, false), 0);

  // With the stored local rotation, only that one is kept: mesh 1 still
  // turns Y toward -Z, while its plain rotation follows the new roll of 90
  // degrees (X toward Y).
  KeyFrame& turned = s.Frame(0);
  const Matrix4 world = turned.meshes[1].world;
  turned.meshes[1].angles = {0, 0, 90};
  ASSERT_EQ(s.view.ComputeFramePose(0, 0, true), 1);
  EXPECT_EQ(turned.meshes[1].world, world);
  ExpectCarries(turned.meshes[1].plainRotation, {1, 0, 0}, {0, 1, 0});
}

TEST(MoveableView, WorkingAnglesMoveDescendantsUntilRevertedOrCommitted) {
  Chain s;
  KeyFrame& k = s.Frame(0);
  const KeyFrame committed = k;
  ASSERT_TRUE(s.view.Select(0, 0));
  ASSERT_TRUE(s.view.SetMeshAngles(0, 0, 1, 0, 0, 0));
  EXPECT_EQ(k.meshes[0].workingWorld, committed.meshes[0].workingWorld);
  ExpectCarries(k.meshes[1].workingWorld, {0, 1, 0}, {0, 11, 0});
  ExpectCarries(k.meshes[2].workingWorld, {0, 1, 0}, {0, 11, -5});
  for (int m = 0; m < 3; ++m) EXPECT_EQ(k.meshes[m].world, committed.meshes[m].world);
  k.workingRootOffset = {1, 2, 3};
  k.workingBox = {1, 1, 1, 1, 1, 1};
  s.view.MarkEdited();
  s.view.RevertKeyFrame();
  EXPECT_FALSE(s.view.IsEdited());
  EXPECT_EQ(k, committed);  // angles, worlds, rotation matrices, box and root offset

  ASSERT_TRUE(s.view.SetMeshAngles(0, 0, 1, 0, 0, 0));
  k.workingBox = {1, 2, 3, 4, 5, 6};
  s.view.CommitKeyFrame();
  EXPECT_EQ(k.box, (KeyFrameBox{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(k.meshes[1].angles, (std::array<float, 3>{0, 0, 0}));
  ExpectCarries(k.meshes[2].world, {0, 1, 0}, {0, 11, -5});
  s.view.RevertKeyFrame();  // now keeps what was committed
  ExpectCarries(k.meshes[1].workingWorld, {0, 1, 0}, {0, 11, 0});
  EXPECT_FALSE(s.view.SetMeshAngles(0, 0, 3, 1, 1, 1));
}

TEST(MoveableView, DrawsTheSelectedPoseOnceThenTheBindPose) {
  Chain s;
  ASSERT_TRUE(s.view.Select(0, 0));
  s.Draw(true, 5, 2);
  // Pose, then the root offset (1, -2, 3) in display units, the zoom, the pan.
  ExpectCarries(s.Drawn(1), {0, 1, 0}, {2 * (-1 + 1) + 5, 2 * (10 - 2), 2 * 3});
  s.Draw(false);
  ExpectCarries(s.Drawn(1), {0, 1, 0}, {0, 11, 0});  // the pivot, unturned
  ExpectCarries(s.Drawn(2), {0, 0, 0}, {5, 10, 0});
  for (auto [a, k] : {std::pair{0, 2}, {0, -1}, {1, 0}, {5, 0}})  // not bound: nothing changes
    EXPECT_FALSE(s.view.Select(a, k));
  EXPECT_EQ(s.view.ShownKeyFrame(), 0);
  s.Draw(false);
  ExpectCarries(s.Drawn(1), {0, 1, 0}, {0, 11, 0});

  // While edited, the working copy draws, root offset included.
  ASSERT_TRUE(s.view.Select(0, 0));
  s.Frame(0).workingRootOffset = {0, 0, 0};
  ASSERT_TRUE(s.view.SetMeshAngles(0, 0, 0, 0, 0, 0));
  s.view.MarkEdited();
  s.Draw(true);
  ExpectCarries(s.Drawn(1), {0, 1, 0}, {0, 10, -1});
}

TEST(MoveableView, BindsAndPosesOnlyWhatExists) {
  Chain s;
  s.anims[1]->keyFrames.push_back(MakeKeyFrame(2));  // fewer meshes than the view
  s.anims.push_back(nullptr);
  s.anims.push_back(MakeAnimation({MakeKeyFrame(3, {0, 90, 0})}));
  for (std::int32_t first : {-1, 2, 4})  // no animations, a missing entry, past the model
    EXPECT_FALSE(s.view.LoadAnimations(s.anims, first, 1, false));
  EXPECT_EQ(s.view.BoundAnimationCount(), 2);  // unchanged by refusals
  ASSERT_TRUE(s.view.LoadAnimations(s.anims, 0, 600, false));  // through the missing entry
  EXPECT_EQ(s.view.BoundAnimationCount(), 4);
  EXPECT_FALSE(s.view.Select(2, 0));
  ExpectCarries(s.anims[3]->keyFrames[0].meshes[0].world, {0, 0, 1}, {1, 0, 0});
  s.anims[3]->keyFrames[0].meshes[0].world = Matrix4{};
  ASSERT_TRUE(s.view.LoadAnimations(s.anims, 3, 1, true));  // pointers only: no posing
  EXPECT_EQ(s.anims[3]->keyFrames[0].meshes[0].world, Matrix4{});

  ASSERT_TRUE(s.view.LoadAnimations(s.anims, 0, 2, false));
  EXPECT_FALSE(s.view.SetMeshAngles(1, 0, 2, 1, 1, 1));
  ASSERT_TRUE(s.view.Select(1, 0));
  s.view.RevertKeyFrame();
  s.view.CommitKeyFrame();
  s.Draw(false);
  ExpectCarries(s.Drawn(2), {0, 0, 0}, {5, 10, 0});  // mesh 2 at its bind pivot

  s.b.wad.meshPointers[2] = 1;  // starts no mesh
  wadMoveableD3D broken(&s.b.wad, 0, s.meshes.get(), 1);
  broken.BuildHierarchy();
  dxBufferTextura* buffers[3] = {};
  ASSERT_TRUE(broken.GetMeshBuffers(buffers));
  EXPECT_EQ(buffers[0], s.meshes->GetBuffer(0));
  EXPECT_EQ(buffers[2]->GetUploadedPolygonCount(), 0);  // draws and picks nothing
  broken.Draw(*s.device, 0, 0, 0, 0, 0, 1, false);
}

// Poses are built from a multiplied-out yaw-pitch-roll with looked-up sines:
// every element must have the value of the three-matrix product of D3DX.
TEST(PoseMath, RotationsEqualTheYawPitchRollProductOfTheConvertedAngles) {
  auto product = [](float yaw, float pitch, float roll) {
    D3DXMATRIX m;
    D3DXMatrixRotationYawPitchRoll(&m, DegToRad(yaw), DegToRad(pitch), DegToRad(roll));
    return m;
  };
  auto expectSame = [](const D3DXMATRIX& actual, const D3DXMATRIX& expected, float x, float y, float z) {
    for (UINT r = 0; r < 4; ++r)
      for (UINT c = 0; c < 4; ++c)
        ASSERT_EQ(actual(r, c), expected(r, c)) << "angles " << x << ", " << y << ", " << z << " element " << r << c;
  };
  std::vector<std::array<float, 3>> angles;
  for (int d = -800; d <= 800; ++d)  // each axis alone, past the looked-up range
    for (int axis = 0; axis < 3; ++axis) {
      std::array<float, 3> a{0, 0, 0};
      a[axis] = static_cast<float>(d);
      angles.push_back(a);
    }
  std::mt19937 random(3);
  std::uniform_int_distribution<int> whole(-400, 400);
  std::uniform_real_distribution<float> any(-400.0f, 400.0f);
  for (int i = 0; i < 20000; ++i) {
    angles.push_back({float(whole(random)), float(whole(random)), float(whole(random))});
    angles.push_back({any(random), float(whole(random)), any(random)});
  }
  for (const auto& a : angles) {
    expectSame(LocalRotation(a), product(a[1], -a[0], -a[2]), a[0], a[1], a[2]);
    expectSame(PlainRotation(a), product(a[1], a[0], a[2]), a[0], a[1], a[2]);
  }
}
