#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "OpenedScene.h"
#include "SceneTestSupport.h"
#include "SharedData.h"
#include "d3d/Device8.h"
#include "scene/KeyFrameBounds.h"

using namespace scenetest;

namespace {

constexpr int kPanelWidth = 488;
constexpr int kPanelHeight = 442;

bool OpenScene(const std::filesystem::path& path, OpenedScene& scene, dxDevice8& device) {
  if (!ReadWad(path.string(), scene.wad)) return false;
  BuildScene(scene, device);
  return true;
}

// Share of the picture that is not the clear colour, and share of those
// pixels that are pure white (drawn without a texture).
struct Coverage {
  double drawn = 0;
  double white = 0;
};

Coverage Measure(const d3d8::PixelImage& image) {
  std::size_t drawn = 0, white = 0;
  for (std::uint32_t pixel : image.pixels) {
    if (pixel == kClearPixel) continue;
    ++drawn;
    white += pixel == 0xFFFFFFFFu;
  }
  Coverage c;
  c.drawn = static_cast<double>(drawn) / static_cast<double>(image.pixels.size());
  c.white = drawn == 0 ? 0 : static_cast<double>(white) / static_cast<double>(drawn);
  return c;
}

}  // namespace

TEST(RealWads, EveryMeshPoseCageAndBoundBuildsCleanly) {
  SKIP_WITHOUT_SHARED("wads");
  const auto wads = testsupport::SharedWads();
  if (wads.empty()) GTEST_SKIP() << "no WAD files in " << testsupport::SharedPath("wads");
  for (const auto& path : wads) {
    SCOPED_TRACE(path.filename().string());
    SceneDevice device;
    OpenedScene scene;
    ASSERT_TRUE(OpenScene(path, scene, *device));
    ASSERT_NE(scene.meshList, nullptr);
    EXPECT_GE(scene.textures->PageCount(), 1);
    // Every mesh pointer names the start of a parsed mesh.
    for (std::uint32_t offset : scene.wad.meshPointers)
      EXPECT_GE(scene.meshList->Find(offset), 0) << "offset " << offset;

    std::size_t keyFrames = 0;
    for (std::uint32_t m = 0; m < scene.wad.numMoveables(); ++m) {
      const wadMoveableD3D& view = *scene.moveableViews[m];
      EXPECT_EQ(view.GetMeshCount(), scene.wad.moveables[m].numMeshes);
      for (std::int32_t k = 0; k < view.GetMeshCount(); ++k) EXPECT_GE(view.MeshIndex(k), 0);
      const std::int32_t first = scene.wad.moveables[m].animIndex;
      for (std::int32_t a = 0; a < view.BoundAnimationCount(); ++a) {
        const auto g = first + a;
        const auto count = static_cast<std::int32_t>(view.BoundAnimation(a)->keyFrames.size());
        for (std::int32_t k = 0; k < count; ++k, ++keyFrames) {
          CalculateKeyFrameBounds(scene.wad, *scene.meshList, scene.animaciones,
                                  static_cast<std::int32_t>(m), g, k);
          const KeyFrameBox& box = view.BoundAnimation(a)->keyFrames[k].workingBox;
          // Corner A: largest X, smallest Y and Z; the smallest Z never above 0.
          EXPECT_GE(box[0], box[3]);
          EXPECT_LE(box[1], box[4]);
          EXPECT_LE(box[2], 0);
          EXPECT_LE(box[2], box[5]);
        }
      }
    }
    const dxBufferTextura* cages = scene.cages.KeyFrameBoxList();
    ASSERT_NE(cages, nullptr);
    if (keyFrames > 0) {
      EXPECT_EQ(cages->GetUploadedPolygonCount(), static_cast<int>(4 * keyFrames));
    }
    ASSERT_TRUE(DumpTexturePages(scene.textureInfo));
    EXPECT_EQ(std::filesystem::file_size(kTextureDumpFile), kTexturePageBytes);
  }
}

TEST(RealWads, RendersEachMoveableOfWolfAndLaraTextured) {
  SKIP_WITHOUT_SHARED("wads/wolf.wad");
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  std::filesystem::create_directories("renders");
  for (const char* name : {"wolf", "lara"}) {
    SCOPED_TRACE(name);
    SceneDevice device(kPanelWidth, kPanelHeight);
    OpenedScene scene;
    ASSERT_TRUE(OpenScene(testsupport::SharedPath(std::string("wads/") + name + ".wad"), scene,
                          *device));
    std::map<std::size_t, Coverage> coverage;
    for (std::size_t m = 0; m < scene.moveableViews.size(); ++m) {
      DrawMoveable(scene, *device, m);
      const auto image = device.Pixels();
      coverage[m] = Measure(image);
      const std::string file = "renders/" + std::string(name) + "-" + std::to_string(m) + ".png";
      EXPECT_TRUE(d3d8::WritePng(file, image)) << file;
      EXPECT_LT(coverage[m].white, 0.05) << "moveable " << m << " drawn untextured";
    }
    // The largest moveable (the wolf; the player in lara.wad) fills a good
    // part of the view, and none overflows it.
    const Coverage largest = coverage[LargestMoveable(scene)];
    EXPECT_GT(largest.drawn, 0.03);
    for (const auto& [m, c] : coverage) EXPECT_LT(c.drawn, 0.8) << "moveable " << m;
  }
}
