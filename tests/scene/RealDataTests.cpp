// Every WAD of ../shared/wads built whole; the moveables of wolf.wad and
// lara.wad rendered to renders/*.png in the test's build folder.

#include <filesystem>

#include "SceneTestSupport.h"
#include "SharedData.h"
#include "scene/KeyFrameBounds.h"

using namespace scenetest;

TEST(RealWads, EveryMeshPoseCageAndBoundBuildsCleanly) {
  SKIP_WITHOUT_SHARED("wads");
  const auto wads = testsupport::SharedWads();
  if (wads.empty()) GTEST_SKIP() << "no WAD files in " << testsupport::SharedPath("wads");
  for (const auto& path : wads) {
    SCOPED_TRACE(path.filename().string());
    SceneDevice device;
    OpenedScene scene;
    ASSERT_TRUE(ReadWad(path.string(), scene.wad));
    BuildScene(scene, *device);
    EXPECT_GE(scene.textures->PageCount(), 1);
    std::size_t keyFrames = 0;
    for (std::uint32_t m = 0; m < scene.wad.numMoveables(); ++m) {
      const wadMoveableD3D& view = *scene.moveableViews[m];
      EXPECT_EQ(view.GetMeshCount(), scene.wad.moveables[m].numMeshes);
      for (std::int32_t k = 0; k < view.GetMeshCount(); ++k) EXPECT_GE(view.MeshIndex(k), 0);
      for (std::int32_t a = 0; a < view.BoundAnimationCount(); ++a)
        for (std::size_t k = 0; k < view.BoundAnimation(a)->keyFrames.size(); ++k, ++keyFrames) {
          CalculateKeyFrameBounds(scene.wad, *scene.meshList, scene.animaciones, std::int32_t(m),
                                  scene.wad.moveables[m].animIndex + a, std::int32_t(k));
          // Corner A: smallest X, Y and Z; the smallest Z never above 0.
          const KeyFrameBox& box = view.BoundAnimation(a)->keyFrames[k].workingBox;
          EXPECT_TRUE(box[0] <= box[3] && box[1] <= box[4] && box[2] <= std::min<int>(0, box[5]));
        }
    }
    EXPECT_EQ(scene.cages.KeyFrameBoxList()->GetUploadedPolygonCount(), int(4 * keyFrames));
    ASSERT_TRUE(DumpTexturePages(scene.textureInfo));
    EXPECT_EQ(std::filesystem::file_size(kTextureDumpFile), kTexturePageBytes);
  }
}

TEST(RealWads, RendersEachMoveableOfWolfAndLaraTextured) {
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  std::filesystem::create_directories("renders");
  for (std::string name : {"wolf", "lara"}) {
    SCOPED_TRACE(name);
    SceneDevice device(488, 442);
    OpenedScene scene;
    ASSERT_TRUE(ReadWad(testsupport::SharedPath("wads/" + name + ".wad").string(), scene.wad));
    BuildScene(scene, *device);
    const std::size_t largest = LargestMoveable(scene);
    for (std::size_t m = 0; m < scene.moveableViews.size(); ++m) {
      DrawMoveable(scene, *device, m);
      const auto image = device.Pixels();
      EXPECT_TRUE(d3d8::WritePng("renders/" + name + "-" + std::to_string(m) + ".png", image));
      const auto all = double(image.pixels.size());
      const auto clear = double(std::count(image.pixels.begin(), image.pixels.end(), kClearPixel));
      const auto white = double(std::count(image.pixels.begin(), image.pixels.end(), kWhitePixel));
      // Drawn with texture colours, not white; the largest moveable (the wolf;
      // the player in lara.wad) fills a good part of the view, none overflows.
      EXPECT_LT(white, 0.05 * (all - clear)) << "moveable " << m << " drawn untextured";
      EXPECT_LT(all - clear, 0.8 * all) << "moveable " << m;
      if (m == largest) { EXPECT_GT(all - clear, 0.03 * all); }
    }
  }
}
