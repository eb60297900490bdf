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

// A frame is painted again only where it changed: each frame below follows 50 ms of play, a
// pointer move of one cell, or nothing at all, as the window's frames do.
enum class Between { Play, PointerMove, Nothing };

void BM_ComposePlayingFrame(benchmark::State& state) {
  Simulator sim(Options());
  sim.Press(350, 350);
  sim.Key("N");
  sim.Wait(5000);
  sim.Game().ComposeFrame();
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++step;
    if (Between(state.range(0)) == Between::Play) sim.Wait(50);
    if (Between(state.range(0)) == Between::PointerMove) sim.Move(20 + 35 * (step % 19), 300);
    state.ResumeTiming();
    benchmark::DoNotOptimize(sim.Game().ComposeFrame().Pixels().data());
  }
}
BENCHMARK(BM_ComposePlayingFrame)
    ->ArgName("after")
    ->Arg(int(Between::Play))
    ->Arg(int(Between::PointerMove))
    ->Arg(int(Between::Nothing))
    ->Iterations(400)  // 20 s of play, in the thick of the first waves rather than long after a game over
    ->Unit(benchmark::kMicrosecond);

}  // namespace
