// The device keeps what it can between frames: the clear refills only what
// the last frames touched, the product of the transforms is kept until one
// changes, a texture bound again is taken as bound. A frame drawn after
// other frames must equal, in every pixel and depth, the same frame drawn by
// a device that has drawn nothing before.

#include "SceneTestSupport.h"
#include "SharedData.h"

using namespace scenetest;

namespace {

constexpr int kWidth = 488;
constexpr int kHeight = 442;

struct Frame {
  std::size_t moveable;
  std::int32_t panX, panY;
  float rotY, rotX, zoom;
  int red, green, blue;
  bool raised;  // the camera of "Show Dide Translation"
};

void DrawFrame(OpenedScene& scene, dxDevice8& device, const Frame& f) {
  device.SetClearColor(f.red, f.green, f.blue);
  device.SetEye(0.0f, f.raised ? 220.0f : 0.0f, 800.0f);
  device.SetLookAt(0.0f, f.raised ? 220.0f : 0.0f, 0.0f);
  device.Clear(true);
  wadMoveableD3D& view = *scene.moveableViews[f.moveable];
  view.Select(0, 0);
  view.Draw(device, f.panX, f.panY, 0, f.rotY, f.rotX, f.zoom, f.raised);
  device.Present();
}

}  // namespace

TEST(RenderShortcuts, FramesAfterOtherFramesEqualFramesDrawnAfresh) {
  SKIP_WITHOUT_SHARED("wads/lara.wad");
  SceneDevice reused(kWidth, kHeight);
  OpenedScene scene;
  ASSERT_TRUE(ReadWad(testsupport::SharedPath("wads/lara.wad").string(), scene.wad));
  BuildScene(scene, *reused);
  const std::size_t largest = LargestMoveable(scene), other = (largest + 1) % scene.moveableViews.size();
  const Frame frames[] = {
      {largest, 0, 0, 0.3f, 0.2f, 6, 0, 255, 255, false},
      {other, -120, 60, 2.5f, -0.7f, 3, 0, 255, 255, false},    // same clear colour
      {largest, 40, -30, 1.2f, 0.4f, 6, 0, 255, 255, true},     // another camera
      {largest, 40, -30, 1.2f, 0.4f, 6, 10, 20, 30, true},      // another clear colour
      {largest, 0, 0, -0.8f, 3.0f, 60, 10, 20, 30, false},      // close up: clipped
      {largest, 0, 0, 0.3f, 0.2f, 6, 0, 255, 255, false},       // the first again
  };
  for (const Frame& frame : frames) {
    SCOPED_TRACE("frame " + std::to_string(&frame - frames));
    DrawFrame(scene, *reused, frame);
    SceneDevice fresh(kWidth, kHeight);
    DrawFrame(scene, *fresh, frame);
    const d3d8::PixelImage pixels = reused.Pixels();
    ASSERT_EQ(pixels.pixels, fresh.Pixels().pixels);
    ASSERT_EQ(d3d8::ReadDepthBuffer(reused->GetDevice()).depths,
              d3d8::ReadDepthBuffer(fresh->GetDevice()).depths);
    ASSERT_EQ(reused.window.LastFrame().pixels, pixels.pixels);
    EXPECT_LT(std::count(pixels.pixels.begin(), pixels.pixels.end(), pixels.pixels[0]),
              static_cast<std::ptrdiff_t>(pixels.pixels.size()));  // something was drawn
  }
}
