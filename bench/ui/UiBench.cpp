// The editor's frame while lara's largest moveable plays, drawn headless at
// the 3D panel's size (frames per second, to stay above 200), and opening
// lara.wad end to end through File, "Open WAD" (to stay under 500 ms).

#include <benchmark/benchmark.h>

#include <filesystem>

#include "EditorSession.h"

namespace {

const std::filesystem::path kLara = std::filesystem::path(WAD_SHARED_DIR) / "wads/lara.wad";

// The moveable whose meshes hold the most polygons, and its first animation
// with keyframes.
bool ChooseLargestPlaying(uitest::EditorSession& session) {
  const MainUnit& M = Main();
  int best = -1;
  int bestPolygons = -1;
  for (std::size_t m = 0; m < M.moveableViews.size(); ++m) {
    std::vector<dxBufferTextura*> buffers(
        static_cast<std::size_t>(M.moveableViews[m]->GetMeshCount()));
    M.moveableViews[m]->GetMeshBuffers(buffers.data());
    int polygons = 0;
    for (const dxBufferTextura* b : buffers) polygons += b->GetNumTriangles() + b->GetNumQuads();
    if (polygons > bestPolygons) best = static_cast<int>(m), bestPolygons = polygons;
  }
  if (best < 0) return false;
  const int first = M.wadfile.moveables[static_cast<std::size_t>(best)].animIndex;
  const int count =
      static_cast<int>(CountMoveableAnimations(M.wadfile, static_cast<std::uint32_t>(best)));
  for (int a = 0; a < count; ++a) {
    if (M.animaciones[static_cast<std::size_t>(first + a)]->numKeyFrames() == 0) continue;
    session.Choose(best, a);
    User::Click(session.Form().Button1);
    return true;
  }
  return false;
}

void BM_PaintWhilePlaying(benchmark::State& state) {
  if (!std::filesystem::exists(kLara)) return state.SkipWithError("lara.wad not found");
  uitest::EditorSession session(uitest::DataFileText("Strings.xml"));
  session.Open(kLara);
  if (!ChooseLargestPlaying(session)) return state.SkipWithError("no moveable to play");
  for (auto _ : state) {
    session.desktop.clock.Advance(5);
    session.Form().Paint(nullptr);
  }
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["meshes"] = static_cast<double>(Main().selectedBuffers.size());
}
BENCHMARK(BM_PaintWhilePlaying)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_OpenLara(benchmark::State& state) {
  if (!std::filesystem::exists(kLara)) return state.SkipWithError("lara.wad not found");
  uitest::EditorSession session(uitest::DataFileText("Strings.xml"));
  for (auto _ : state) session.Open(kLara);
  if (session.Form().ListBox1->GetItems()->GetCount() == 0) state.SkipWithError("nothing opened");
}
BENCHMARK(BM_OpenLara)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
