// Whole default games with nobody at the controls, each from the start until the horde brings
// the orb down (or an hour of game time has passed), one seed after another. Reports how fast
// the game runs on one core as the crowd grows, and what one tick costs when the crowd is at
// its largest.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "sim/simulator.h"

namespace {

constexpr std::int64_t kStepMs = 50;  // one main tick
constexpr int kStepsPerWindow = 20;  // one second of game time
constexpr std::int64_t kCapMs = 60 * 60 * 1000;  // an unattended game ends long before this
constexpr int kGames = 30;  // one game is over in well under a CPU second: too short to time alone

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

SimulatorOptions Options(std::uint32_t seed) {
  SimulatorOptions options;
  options.AssetDir = std::string(MIBBETFALL_ASSET_DIR) + "/";
  options.Today = {2026, 3, 1};
  options.Seed = seed;
  options.SystemFonts = false;
  return options;
}

bool OrbStands(const TForm1& g) { return g.Orb && g.Orb->Health > 0; }

void BM_FullUnattendedGame(benchmark::State& state) {
  double simulatedMs = 0, ticks = 0, largestCrowd = 0, orbsFallen = 0;
  struct Window {
    double Crowd, CpuSeconds, Ticks;
  };
  std::vector<Window> windows;
  std::uint32_t seed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto owned = std::make_unique<Simulator>(Options(++seed));
    Simulator& sim = *owned;
    sim.Press(350, 350);  // past the splash
    sim.Key("N");  // no tutorial: the game starts
    TForm1& g = sim.Game();
    const std::int64_t startMs = sim.Time().NowMs();
    const std::int64_t startTicks = g.TickCount;
    state.ResumeTiming();

    while (OrbStands(g) && sim.Time().NowMs() - startMs < kCapMs) {
      const double windowStart = CpuSeconds();
      const std::int64_t windowTicks = g.TickCount;
      double crowdSum = 0;
      for (int s = 0; s < kStepsPerWindow && OrbStands(g); ++s) {
        sim.Wait(kStepMs);
        crowdSum += double(g.Mibbets.size());
        largestCrowd = std::max(largestCrowd, double(g.Mibbets.size()));
      }
      // The crowd of a window is its mean: a count at one instant can be a passing spike.
      windows.push_back({crowdSum / kStepsPerWindow, CpuSeconds() - windowStart, double(g.TickCount - windowTicks)});
      // The recorder is the host's, not the game's: keep it from growing for an hour.
      sim.Sound().Requested.clear();
      sim.Sound().Log.clear();
    }

    simulatedMs += double(sim.Time().NowMs() - startMs);
    ticks += double(g.TickCount - startTicks);
    orbsFallen += OrbStands(g) ? 0 : 1;
    state.PauseTiming();  // the shutdown is no part of the game
    owned.reset();
    state.ResumeTiming();
  }
  // One window is a few hundred microseconds, easily disturbed: the cost at the peak is taken
  // over every window whose crowd came within a tenth of the largest.
  double peakCrowd = 0, peakCpu = 0, peakTicks = 0;
  for (const Window& w : windows) peakCrowd = std::max(peakCrowd, w.Crowd);
  for (const Window& w : windows) {
    if (w.Crowd < 0.9 * peakCrowd) continue;
    peakCpu += w.CpuSeconds;
    peakTicks += w.Ticks;
  }
  // Rates divide by the measured process CPU time.
  state.counters["sim_minutes_per_cpu_s"] = benchmark::Counter(simulatedMs / 60000.0, benchmark::Counter::kIsRate);
  state.counters["ticks_per_cpu_s"] = benchmark::Counter(ticks, benchmark::Counter::kIsRate);
  state.counters["game_minutes_mean"] = simulatedMs / 60000.0 / double(state.iterations());
  state.counters["largest_crowd"] = largestCrowd;
  state.counters["peak_window_crowd"] = peakCrowd;
  state.counters["tick_us_at_peak"] = peakTicks > 0 ? peakCpu * 1e6 / peakTicks : 0;
  state.counters["orb_fell_share"] = orbsFallen / double(state.iterations());
}
BENCHMARK(BM_FullUnattendedGame)->MeasureProcessCPUTime()->Iterations(kGames)->Unit(benchmark::kMillisecond);

}  // namespace
