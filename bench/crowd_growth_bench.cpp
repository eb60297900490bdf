// A crowd that only grows: every tunnel emits on every tick and no shot does harm, so the field
// fills with creatures that fight for ever, flashes and beams coming and going by the thousand.
// Reports ticks per CPU second, and the CPU time per creature and tick, at three crowd sizes:
// a tick that grows linearly with the crowd keeps the time per creature flat.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

class GrowingCrowd {
 public:
  GrowingCrowd() : sim_(BenchOptions()) {
    TForm1& g = sim_.Game();
    g.MIBBETSHOTSTRENGTH = 0;
    g.TURRETSHOTSTRENGTH = 0;
    sim_.Press(350, 350);
    sim_.Key("N");
    for (TunnelRec* t : {&g.ETunnel, &g.STunnel, &g.FTunnel}) t->Interval = 0;
  }

  // The benchmark calls the tick itself, so no other timer (a tunnel move, a hole) ever fires.
  // The recording sound device keeps every cue until a dump; no dump comes, so it is emptied here.
  void Tick() {
    sim_.Game().tmrTickTimer();
    sim_.Sound().Requested.clear();
    sim_.Sound().Log.clear();
  }
  void GrowTo(int creatures) {
    while (Creatures() < creatures) Tick();
  }
  int Creatures() { return int(sim_.Game().Mibbets.size()); }
  // Shots do their default harm from now on, and every creature dies of its first hit.
  void Arm() {
    TForm1& g = sim_.Game();
    const TSettings defaults;
    g.MIBBETSHOTSTRENGTH = defaults.MIBBETSHOTSTRENGTH;
    g.TURRETSHOTSTRENGTH = defaults.TURRETSHOTSTRENGTH;
    for (auto& m : g.Mibbets) m->Health = g.TURRETSHOTSTRENGTH;
  }
  int Effects() { return int(sim_.Game().Effects.size() + sim_.Game().KillAnims.size()); }

 private:
  Simulator sim_;
};

// Growing the crowd is most of the work, so the sizes share one crowd, measured in ascending order.
GrowingCrowd& SharedCrowd() {
  static GrowingCrowd crowd;
  return crowd;
}

void BM_GrowingCrowd(benchmark::State& state) {
  GrowingCrowd& crowd = SharedCrowd();
  crowd.GrowTo(int(state.range(0)));
  const int first = crowd.Creatures();
  for (auto _ : state) crowd.Tick();
  const double creatures = (first + crowd.Creatures()) / 2.0;
  state.SetItemsProcessed(state.iterations());
  state.counters["creatures"] = creatures;
  state.counters["effects"] = crowd.Effects();
  state.counters["cpu_per_creature_tick"] =
      benchmark::Counter(creatures, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The largest crowd once every shot kills: creatures die by the hundred each tick, and each
// removal moves the later entries of the list down one place.
void BM_KillingCrowd(benchmark::State& state) {
  GrowingCrowd& crowd = SharedCrowd();
  crowd.GrowTo(int(state.range(0)));
  crowd.Arm();
  const int first = crowd.Creatures();
  for (auto _ : state) crowd.Tick();
  state.SetItemsProcessed(state.iterations());
  state.counters["creatures"] = crowd.Creatures();
  // Three creatures come out of the tunnels every tick.
  const double born = 3.0 * double(state.iterations());
  state.counters["deaths_per_tick"] = (first + born - crowd.Creatures()) / double(state.iterations());
}

// Each size is measured while the crowd grows by a tenth (three creatures a tick).
void RegisterSizes() {
  for (const int creatures : {1800, 7200, 28800})
    benchmark::RegisterBenchmark("BM_GrowingCrowd", BM_GrowingCrowd)
        ->Arg(creatures)
        ->Iterations(creatures / 30)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("BM_KillingCrowd", BM_KillingCrowd)
      ->Arg(28800)
      ->Iterations(100)
      ->MeasureProcessCPUTime()
      ->Unit(benchmark::kMicrosecond);
}
[[maybe_unused]] const bool kRegistered = (RegisterSizes(), true);

}  // namespace
