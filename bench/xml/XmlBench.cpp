// Loading, saving and exporting to the registry a document whose root holds
// many siblings, and one run of the XML fuzz target's checks on it. Each
// should take time linear in the number of siblings: the reported
// complexity (BigO) says whether it does.

#include <benchmark/benchmark.h>

#include "win32/Registry.h"
#include "xml/XML.h"
#include "xml/XMLWriteTarget.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::string Siblings(benchmark::IterationCount count) {
  std::string text = "<?xml version=\"1.0\"?><r>";
  for (benchmark::IterationCount i = 0; i < count; ++i) text += "<item id=\"" + std::to_string(i) + "\"/>";
  return text + "</r>";
}

void BM_LoadSiblings(benchmark::State& state) {
  const std::string text = Siblings(state.range(0));
  for (auto _ : state) {
    XML document(text.c_str(), XML::kFromText);
    benchmark::DoNotOptimize(document.root());
  }
  state.SetComplexityN(state.range(0));
}

void BM_SaveSiblings(benchmark::State& state) {
  XML document(Siblings(state.range(0)).c_str(), XML::kFromText);
  for (auto _ : state) {
    std::string saved;
    document.saveToMemory(saved);
    benchmark::DoNotOptimize(saved.data());
  }
  state.SetComplexityN(state.range(0));
}

void BM_ExportSiblingsToRegistry(benchmark::State& state) {
  XML document(Siblings(state.range(0)).c_str(), XML::kFromText);
  for (auto _ : state) {
    XMLWriteTarget target = XMLWriteTarget::registry(HKEY_CURRENT_USER);
    benchmark::DoNotOptimize(document.root()->write(target, 0, 1, 1));
    state.PauseTiming();
    RegistryDeleteAll();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}

void BM_FuzzTargetSiblings(benchmark::State& state) {
  const std::string text = Siblings(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  state.SetComplexityN(state.range(0));
}

constexpr int kFewest = 1000;
constexpr int kMost = 100000;

BENCHMARK(BM_LoadSiblings)->RangeMultiplier(10)->Range(kFewest, kMost)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SaveSiblings)->RangeMultiplier(10)->Range(kFewest, kMost)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ExportSiblingsToRegistry)
    ->RangeMultiplier(10)
    ->Range(kFewest, kMost)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_FuzzTargetSiblings)->RangeMultiplier(10)->Range(kFewest, kMost)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
