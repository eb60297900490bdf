// The whole round of a default game with nobody at the controls: from the splash click through
// play until the horde takes the orb, the explosions, the game-over panel, the high-score screen
// (a name and the post question when the score makes the table) and back to the splash over a
// fresh world. Reports game time per CPU second over the whole round, and what one reset of the
// world costs after a played game.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "sim/simulator.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kStepMs = 50;  // one main tick
constexpr std::int64_t kCapMs = 60 * 60 * 1000;  // an unattended game ends long before this

// The generated assets, linked into a private folder: the rounds write their own high scores.
class PrivateAssets {
 public:
  PrivateAssets() {
    dir_ = fs::temp_directory_path() / ("mibbetfall-bench-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    const fs::path generated = MIBBETFALL_ASSET_DIR;
    for (const auto& entry : fs::recursive_directory_iterator(generated)) {
      if (!entry.is_regular_file()) continue;
      const fs::path relative = fs::relative(entry.path(), generated);
      if (relative == "hs.bmp" || relative == "debug.txt") continue;
      fs::create_directories((dir_ / relative).parent_path());
      fs::create_symlink(entry.path(), dir_ / relative);
    }
  }
  ~PrivateAssets() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string Path() const { return dir_.string() + "/"; }

 private:
  fs::path dir_;
};

class Round {
 public:
  explicit Round(const std::string& assetDir) : sim_(Options(assetDir)) {}

  // From the splash to the high-score table with its last question answered; returns the game
  // time from the orb's fall to the game-over panel.
  std::int64_t PlayToTable() {
    TForm1& g = sim_.Game();
    sim_.Press(350, 350);
    if (g.pnlTutorial.Visible) sim_.Key("N");
    const std::int64_t start = sim_.Time().NowMs();
    while (g.Orb && g.Orb->Health > 0 && sim_.Time().NowMs() - start < kCapMs) sim_.Wait(kStepMs);
    if (!g.GameOver) g.EndGame();  // not in any game seen so far; the round must still end
    const std::int64_t fallen = sim_.Time().NowMs();
    while (g.GameMode != ModeGameOver && sim_.Time().NowMs() - start < kCapMs) sim_.Wait(kStepMs);
    const std::int64_t gameOverAt = sim_.Time().NowMs();
    sim_.Press(350, 350);  // the game-over panel
    if (g.NameEntryState == 1) {
      for (const char* key : {"B", "E", "N", "C", "H", "Enter"}) sim_.Key(key);
    }
    if (g.NameEntryState == 2) sim_.Key("N");
    // The recorder is the host's, not the game's: keep it from growing.
    sim_.Sound().Requested.clear();
    sim_.Sound().Log.clear();
    sim_.Music().Events.clear();
    return gameOverAt - fallen;
  }

  // The click on the table; the next world is laid out from a new seed.
  void BackToSplash(std::uint32_t seed) {
    sim_.Time().SetSeed(seed);
    sim_.Press(350, 350);
  }

  Simulator& Sim() { return sim_; }
  TForm1& Game() { return sim_.Game(); }

 private:
  static SimulatorOptions Options(const std::string& assetDir) {
    SimulatorOptions options;
    options.AssetDir = assetDir;
    options.Today = {2026, 3, 1};
    options.Seed = 1;
    options.SystemFonts = false;
    return options;
  }
  Simulator sim_;
};

void BM_FullGameRound(benchmark::State& state) {
  PrivateAssets assets;
  Round round(assets.Path());
  TForm1& g = round.Game();
  double simulatedMs = 0, endMs = 0, names = 0;
  std::uint32_t seed = 1;
  for (auto _ : state) {
    const std::int64_t start = round.Sim().Time().NowMs();
    endMs += double(round.PlayToTable());
    names += g.NameEntryState == 3 ? 1 : 0;
    round.BackToSplash(++seed);
    if (g.GameMode != ModeSplash || g.Turrets.size() != 4) state.SkipWithError("the round did not come back");
    simulatedMs += double(round.Sim().Time().NowMs() - start);
  }
  state.counters["sim_minutes_per_cpu_s"] = benchmark::Counter(simulatedMs / 60000.0, benchmark::Counter::kIsRate);
  state.counters["round_minutes_mean"] = simulatedMs / 60000.0 / double(state.iterations());
  state.counters["end_sequence_s_mean"] = endMs / 1000.0 / double(state.iterations());
  state.counters["names_share"] = names / double(state.iterations());
}
BENCHMARK(BM_FullGameRound)->MeasureProcessCPUTime()->Iterations(30)->Unit(benchmark::kMillisecond);

// The world after a whole game is full of explosions' leftovers, creatures and scrap; the reset
// throws it away, reads the table again and lays out the next one.
void BM_NewGameAfterPlayedGame(benchmark::State& state) {
  PrivateAssets assets;
  Round round(assets.Path());
  TForm1& g = round.Game();
  double thrownAway = 0;
  std::uint32_t seed = 1;
  for (auto _ : state) {
    state.PauseTiming();
    round.PlayToTable();
    thrownAway += double(g.Mibbets.size() + g.Effects.size() + g.Resources.size() + g.Builders.size());
    round.Sim().Time().SetSeed(++seed);
    state.ResumeTiming();
    g.NewGame();
    state.PauseTiming();
    round.BackToSplash(seed);  // the screens back where a click on the table leaves them
    state.ResumeTiming();
  }
  state.counters["entities_thrown_away"] = thrownAway / double(state.iterations());
}
BENCHMARK(BM_NewGameAfterPlayedGame)->MeasureProcessCPUTime()->Iterations(20)->Unit(benchmark::kMicrosecond);

}  // namespace
