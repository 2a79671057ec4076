// Opening and saving the largest real WAD: read + decode of keyframes and
// commands, and rebuild + encode + write. Besides time, each reports the
// peak of heap bytes in use during one pass and the process's peak resident
// size.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "model/AnimCommands.h"
#include "model/KeyFrameStream.h"
#include "model/WadFile.h"

namespace {

std::atomic<std::size_t> heapInUse{0};
std::atomic<std::size_t> heapPeak{0};

void Track(void* p) {
  if (!p) return;
  const std::size_t now = heapInUse += malloc_usable_size(p);
  std::size_t peak = heapPeak;
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {}
}

const std::string kLara = std::string(WAD_SHARED_DIR) + "/wads/lara.wad";

void ReportMemory(benchmark::State& state, std::size_t heapBefore) {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["heap_peak_MB"] = double(heapPeak - heapBefore) / (1 << 20);
  state.counters["max_rss_MB"] = double(usage.ru_maxrss) / 1024;
}

struct Opened {
  WadFile wad;
  AnimationModel model;
  AnimCommandArray commands;
};

bool Open(Opened& opened) {
  uint32_t total = 0;
  if (!ReadWad(kLara, opened.wad)) return false;
  DecodeKeyFrames(opened.model, opened.wad, total);
  opened.commands = DecodeAnimCommands(opened.wad);
  return true;
}

void ReadAndDecode(benchmark::State& state) {
  if (!std::filesystem::exists(kLara)) return state.SkipWithError(("missing " + kLara).c_str());
  std::size_t heapBefore = heapInUse;
  heapPeak = heapBefore;
  for (auto _ : state) {
    Opened opened;
    if (!Open(opened)) return state.SkipWithError("lara.wad did not read");
    benchmark::DoNotOptimize(opened.model.data());
  }
  ReportMemory(state, heapBefore);
}

void RebuildEncodeWrite(benchmark::State& state) {
  if (!std::filesystem::exists(kLara)) return state.SkipWithError(("missing " + kLara).c_str());
  Opened opened;
  if (!Open(opened)) return state.SkipWithError("lara.wad did not read");
  const std::string target = (std::filesystem::temp_directory_path() / "bench_model_lara.wad").string();
  std::size_t heapBefore = heapInUse;
  heapPeak = heapBefore;
  for (auto _ : state) {
    if (!RebuildKeyFrameData(opened.model, opened.wad) || !EncodeAnimCommands(opened.commands, opened.wad) ||
        !WriteWad(target, opened.wad))
      return state.SkipWithError("saving failed");
  }
  ReportMemory(state, heapBefore);
  std::filesystem::remove(target);
}

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  Track(p);
  return p;
}

// The replaced operator new above allocates with malloc, so free is its match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  if (p) heapInUse -= malloc_usable_size(p);
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

BENCHMARK(ReadAndDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(RebuildEncodeWrite)->Unit(benchmark::kMillisecond);
