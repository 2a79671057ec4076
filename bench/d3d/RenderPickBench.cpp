// A moveable-sized scene: 15 mesh buffers of 100 textured quads each (1,500
// polygons), drawn one Render per buffer as a frame does, and picked under the
// cursor as a click does, in the editor's 488 x 442 view.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

#include "d3d/Direct3DMain.h"
#include "d3d8/Headless.h"

namespace {

constexpr int kWidth = 488;
constexpr int kHeight = 442;
constexpr int kMeshes = 15;
constexpr int kQuadsPerMesh = 100;

struct MoveableScene {
  d3d8::OffscreenWindow window{kWidth, kHeight};
  dxMain main;
  std::unique_ptr<dxDevice8> device;
  IDirect3DTexture8* page = nullptr;
  std::vector<std::unique_ptr<dxBufferTextura>> meshes;

  MoveableScene() {
    main.CreateD3D();
    dxDevice8* created = nullptr;
    main.CreateDevice(&window, true, &created, D3DCREATE_HARDWARE_VERTEXPROCESSING);
    device.reset(created);
    device->SetProjection(1.0f, 3000.0f, static_cast<float>(kWidth / kHeight),
                          std::numbers::pi_v<float> / 4, kWidth, kHeight);
    device->SetEye(0, 0, 800);
    device->SetLookAt(0, 0, 0);
    std::vector<std::uint32_t> pixels(256 * 256);
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u);
    page = device->CreateTextureFromPixels(256, 256, D3DFMT_A8R8G8B8, pixels.data());
    // Each mesh a 10 x 10 sheet of quads 6 units wide, the sheets in three
    // rows of five.
    constexpr float kSide = 6.0f;
    for (int m = 0; m < kMeshes; ++m) {
      auto mesh = std::make_unique<dxBufferTextura>();
      const float left = -150.0f + 60.0f * static_cast<float>(m % 5);
      const float bottom = -90.0f + 60.0f * static_cast<float>(m / 5);
      for (int q = 0; q < kQuadsPerMesh; ++q) {
        const float x = left + kSide * static_cast<float>(q % 10);
        const float y = bottom + kSide * static_cast<float>(q / 10);
        auto* quad = new dxCuadradoTex(POLY_CULL_CCW, 0);
        quad->AddVertex(x, y + kSide, 0);
        quad->AddVertex(x, y, 0);
        quad->AddVertex(x + kSide, y + kSide, 0);
        quad->AddVertex(x + kSide, y, 0);
        quad->SetTextureRect(page, (q % 4) * 64, (q / 4 % 4) * 64, 64, 64);
        mesh->AddPolygon(quad);
      }
      device->AddBuffer(mesh.get());
      meshes.push_back(std::move(mesh));
    }
  }

  ~MoveableScene() {
    meshes.clear();
    if (page != nullptr) page->Release();
  }
};

void BM_RenderMoveable(benchmark::State& state) {
  MoveableScene scene;
  for (auto _ : state) {
    scene.device->Clear(true);
    for (auto& mesh : scene.meshes) scene.device->Render(mesh.get(), 0, 0);
    scene.device->Present();
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderMoveable)->Unit(benchmark::kMillisecond);

void BM_PickMoveable(benchmark::State& state) {
  MoveableScene scene;
  std::vector<dxBufferColor8*> list;
  for (auto& mesh : scene.meshes) list.push_back(mesh.get());
  for (auto _ : state) {
    const bool hit = scene.device->Pick(kWidth / 2, kHeight / 2, &scene.window, kWidth, kHeight,
                                        kMeshes, list.data());
    benchmark::DoNotOptimize(hit);
  }
}
BENCHMARK(BM_PickMoveable)->Unit(benchmark::kMicrosecond);

}  // namespace
