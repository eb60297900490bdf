// The simulation with a crowd: 200 creatures battling on the field, the base under fire, and 8
// builders working a queue. Reports simulated ticks per CPU second, and the time to compose a
// frame of that scene.
#include <benchmark/benchmark.h>

#include <climits>

#include "bench/bench_support.h"

namespace {

constexpr int kCreatures = 200;
constexpr int kBuilders = 8;

class Crowd {
 public:
  Crowd() : sim_(BenchOptions()) {
    TForm1& g = sim_.Game();
    sim_.Press(350, 350);
    sim_.Key("N");
    for (TunnelRec* t : {&g.ETunnel, &g.STunnel, &g.FTunnel}) t->Interval = INT_MAX;  // a steady crowd
    // A base that never falls, so that the turrets keep firing and the game never ends.
    constexpr double kUnbreakable = 1e15;
    g.Orb->Health = kUnbreakable;
    for (auto& t : g.Turrets) t->Health = kUnbreakable;
    KeepCrowd();
    while (int(g.Builders.size()) < kBuilders) g.AddBuilder();
    g.HeldBuilder = -1;
  }

  // Creatures kill each other and fall to the turrets: new ones take their places.
  void KeepCrowd() {
    TForm1& g = sim_.Game();
    for (int i = int(g.Mibbets.size()); i < kCreatures; ++i)
      g.SpawnMibbet(g.Rng.Random(20), 2 + g.Rng.Random(18), 1 + i % 3);
  }

  // Keeps every builder busy: orders on random cells, gathering things long gone.
  void FillQueue() {
    TForm1& g = sim_.Game();
    while (g.Orders.size() < std::size_t(kBuilders)) {
      auto order = std::make_unique<TOrder>(&g);
      order->CellX = g.Rng.Random(20);
      order->CellY = g.Rng.Random(20);
      order->Kind = GatherOrder;
      order->TargetId = -1;
      g.Orders.push_back(std::move(order));
    }
  }

  TForm1& Game() { return sim_.Game(); }

 private:
  Simulator sim_;
};

void BM_CrowdTicks(benchmark::State& state) {
  Crowd crowd;
  for (auto _ : state) {
    crowd.KeepCrowd();
    crowd.FillQueue();
    crowd.Game().tmrTickTimer();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["creatures"] = double(crowd.Game().Mibbets.size());
}
BENCHMARK(BM_CrowdTicks)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_CrowdFrame(benchmark::State& state) {
  Crowd crowd;
  for (int i = 0; i < 200; ++i) {
    crowd.KeepCrowd();
    crowd.FillQueue();
    crowd.Game().tmrTickTimer();
  }
  // Each frame follows a tick, as in the window: most of the crowd moved.
  for (auto _ : state) {
    state.PauseTiming();
    crowd.Game().tmrTickTimer();
    state.ResumeTiming();
    benchmark::DoNotOptimize(crowd.Game().ComposeFrame().Pixels().data());
  }
}
BENCHMARK(BM_CrowdFrame)->Unit(benchmark::kMillisecond);

}  // namespace
