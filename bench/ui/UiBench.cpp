// The editor's frame while lara's largest moveable plays, drawn headless at
// the 3D panel's size (frames per second, to stay above 200), opening
// lara.wad end to end through File, "Open WAD" (to stay under 500 ms), and
// the Animation Wizard's "GO!" on lara.wad's first animation with the
// largest Length it accepts (to stay well under a second).

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

// "GO!" inserting length keyframes at the start of the first animation of
// lara.wad, interpolated from its first to its last keyframe; 0 stands for
// the largest Length the wizard accepts. Each run is undone, untimed.
void BM_WizardRun(benchmark::State& state) {
  if (!std::filesystem::exists(kLara)) return state.SkipWithError("lara.wad not found");
  uitest::EditorSession session(uitest::DataFileText("Strings.xml"));
  session.Open(kLara);
  session.Choose(0, 0);
  TForm2& form = session.Form();
  const int n = Main().animaciones[0]->numKeyFrames();
  if (n == 0) return state.SkipWithError("the first animation has no keyframes");
  const int length =
      state.range(0) == 0 ? static_cast<int>(kMaxKeyFrames) - n : static_cast<int>(state.range(0));
  User::TypeText(form.Edit14, L"0");
  User::TypeText(form.Edit15, IntToStr(n - 1));
  User::TypeText(form.Edit16, IntToStr(length));
  User::TypeText(form.Edit17, L"0");
  for (auto _ : state) {
    User::Click(form.Button9);
    state.PauseTiming();
    if (Main().animaciones[0]->numKeyFrames() != n + length)
      return state.SkipWithError("the run was refused");
    User::Click(form.Button12);
    state.ResumeTiming();
  }
  state.counters["length"] = length;
}
BENCHMARK(BM_WizardRun)->Arg(4000)->Arg(16000)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
