// Start-up to the first frame, and the composition of one window frame.
#include <benchmark/benchmark.h>

#include "sim/simulator.h"

namespace {

SimulatorOptions Options() {
  SimulatorOptions options;
  options.AssetDir = std::string(MIBBETFALL_ASSET_DIR) + "/";
  options.Today = {2026, 3, 1};
  return options;
}

void BM_StartupToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    Simulator sim(Options());
    benchmark::DoNotOptimize(sim.Game().ComposeFrame().Pixels().data());
  }
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_ComposePlayingFrame(benchmark::State& state) {
  Simulator sim(Options());
  sim.Press(350, 350);
  sim.Key("N");
  sim.Wait(5000);
  for (auto _ : state) benchmark::DoNotOptimize(sim.Game().ComposeFrame().Pixels().data());
}
BENCHMARK(BM_ComposePlayingFrame)->Unit(benchmark::kMillisecond);

}  // namespace
