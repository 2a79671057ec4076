// The scene of lara.wad: building everything an open draws from the WAD
// (texture pages, mesh buffers, the animation model, every view with every
// keyframe posed, the cages), and one frame of its largest moveable in the
// editor's 488 x 442 view.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "OpenedScene.h"
#include "d3d/Direct3DMain.h"
#include "d3d8/Headless.h"

namespace {

constexpr int kWidth = 488;
constexpr int kHeight = 442;
constexpr float kStartZoom = 6.0f;

const std::filesystem::path kLaraWad = std::filesystem::path(WAD_SHARED_DIR) / "wads/lara.wad";

struct Device {
  d3d8::OffscreenWindow window{kWidth, kHeight};
  dxMain main;
  std::unique_ptr<dxDevice8> device;

  Device() {
    main.CreateD3D();
    dxDevice8* created = nullptr;
    main.CreateDevice(&window, true, &created, D3DCREATE_HARDWARE_VERTEXPROCESSING);
    device.reset(created);
    scenetest::SetEditorCamera(*device, kWidth, kHeight);
  }
};

bool ReadLara(WadFile& wad, benchmark::State& state) {
  if (ReadWad(kLaraWad.string(), wad)) return true;
  state.SkipWithError(("cannot read " + kLaraWad.string()).c_str());
  return false;
}

void BM_BuildLaraScene(benchmark::State& state) {
  WadFile wad;
  if (!ReadLara(wad, state)) return;
  Device d;
  for (auto _ : state) {
    state.PauseTiming();
    auto scene = std::make_unique<scenetest::OpenedScene>();
    scene->wad = wad;
    state.ResumeTiming();
    scenetest::BuildScene(*scene, *d.device);
    benchmark::DoNotOptimize(scene->moveableViews.data());
    state.PauseTiming();
    scene.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildLaraScene)->Unit(benchmark::kMillisecond);

void BM_DrawLargestMoveable(benchmark::State& state) {
  scenetest::OpenedScene scene;
  if (!ReadLara(scene.wad, state)) return;
  Device d;
  scenetest::BuildScene(scene, *d.device);
  wadMoveableD3D& view = *scene.moveableViews[scenetest::LargestMoveable(scene)];
  for (auto _ : state) {
    d.device->Clear(true);
    view.Select(0, 0);
    view.Draw(*d.device, 0, 0, 0, 0.3f, 0.2f, kStartZoom, false);
    d.device->Present();
  }
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["meshes"] = view.GetMeshCount();
}
BENCHMARK(BM_DrawLargestMoveable)->Unit(benchmark::kMillisecond);

}  // namespace
