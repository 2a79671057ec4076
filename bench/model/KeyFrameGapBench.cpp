// Opening the Animation Wizard's gap in lara.wad's first animation: in one
// pass, and shift by shift as before (whose time grows with the square of the
// Length). 0 stands for the largest Length the wizard accepts. The keyframes
// are appended first, as the wizard does, outside the timing.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "model/KeyFrameEditing.h"
#include "model/KeyFrameStream.h"
#include "model/WadFile.h"

namespace {

const std::string kLara = std::string(WAD_SHARED_DIR) + "/wads/lara.wad";

template <class OpenGap>
void GapBench(benchmark::State& state, OpenGap openGap) {
  if (!std::filesystem::exists(kLara)) return state.SkipWithError(("missing " + kLara).c_str());
  WadFile wad;
  AnimationModel model;
  uint32_t total = 0;
  if (!ReadWad(kLara, wad) || DecodeKeyFrames(model, wad, total) == 0 || model[0]->keyFrames.empty())
    return state.SkipWithError("lara.wad has no first animation to grow");
  const AnimKeyFrames before = *model[0];
  const int n = before.numKeyFrames();
  const int length =
      state.range(0) == 0 ? static_cast<int>(kMaxKeyFrames) - n : static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    *model[0] = before;
    for (int i = 0; i < length; ++i) AppendKeyFrame(model, 0, wad.moveables[0].numMeshes);
    state.ResumeTiming();
    openGap(model, length);
    benchmark::DoNotOptimize(model[0]->keyFrames.data());
  }
  state.counters["length"] = length;
}

void OpenGapInOnePass(benchmark::State& state) {
  GapBench(state, [](AnimationModel& model, int length) { OpenKeyFrameGap(model, 0, 0, length); });
}

void OpenGapShiftByShift(benchmark::State& state) {
  GapBench(state, [](AnimationModel& model, int length) {
    for (int k = 0; k < length; ++k) ShiftKeyFramesUp(model, 0, k);
  });
}

}  // namespace

BENCHMARK(OpenGapInOnePass)->Arg(4000)->Arg(16000)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenGapShiftByShift)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond)->Iterations(1);
