// Twenty whole games back to back in one simulator, played by a random hand: clicks on the field
// and the menus, keys of every kind, a name typed with slips and Backspace, the post question
// answered, and back to the splash. Every game must come round to a fresh world, and the memory
// of the tenth game must not have grown much by the twentieth.
//
// Odd games are played in debug mode and ended with Q after a random time, usually after W has
// lifted the score into the table; even games are played with the debug keys off and end when
// the horde takes the orb.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "platform/bmp_file.h"
#include "screens/high_score_table.h"
#include "tests/test_support.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own count of the bytes the program holds (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();

// Freed memory waits in the sanitizer's quarantine (256 MB by default) before it is used again;
// while that fills, resident memory climbs game after game as if something leaked. A smaller
// quarantine is full within the first game and still catches a use after a recent free.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }
#endif

namespace {

constexpr int kGames = 20;
// Game time allowed for one game from splash to splash. A horde game ends in well under a
// minute even with signs put up at random; a debug game meets its Q within about a minute.
constexpr std::int64_t kGameBudgetMs = 15 * 60 * 1000;
// After this much play a horde game is left alone, so that random signs cannot hold the horde off.
constexpr std::int64_t kHordeMeddleMs = 90 * 1000;

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The peak says nothing until it is passed; what is resident now shows a slow leak sooner.
long CurrentRssKb() {
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// What the game holds on the heap now, without the allocator's spare or quarantined memory.
long LiveHeapKb() {
#if defined(__SANITIZE_ADDRESS__)
  return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
  const struct mallinfo2 info = mallinfo2();
  return long((info.uordblks + info.hblkhd) / 1024);
#endif
}

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

class RandomPlayer {
 public:
  RandomPlayer(Simulator& sim, std::uint32_t seed) : sim_(sim), g_(sim.Game()), rng_(seed) {}

  struct GameRecord {
    bool Played = false;  // play began
    bool Ended = false;  // the game-over panel came up
    bool OrbFell = false;  // the horde won, not the Q key
    bool NameAsked = false;
    std::string Name;  // as entered, when asked
    int Score = 0;  // at the end of the game
    std::size_t MostSigns = 0, MostBuilders = 0, MostCreatures = 0;
    std::int64_t GameMs = 0;  // from the first splash click to the return
  };

  // Plays one game from the splash round to the splash again; false when the budget ran out.
  bool PlayOneGame(bool debugKeys, GameRecord& record) {
    g_.DEBUG = debugKeys ? 1 : 0;
    // Beating the table's last line asks for a name: most debug games aim for that.
    aimHigh_ = debugKeys && Chance(4, 5);
    quitAfterMs_ = 3000 + Below(60000);
    nameKeys_ = Below(16);
    const std::int64_t start = sim_.Time().NowMs();
    std::int64_t playStart = -1;
    while (sim_.Time().NowMs() - start < kGameBudgetMs) {
      const bool onTable = g_.pnlHighScores.Visible;
      if (g_.GameMode == ModePlaying && !g_.GameOver && playStart < 0) {
        playStart = sim_.Time().NowMs();
        record.Played = true;
      }
      if (g_.GameOver && !record.Ended && g_.Orb && g_.Orb->Health <= 0) record.OrbFell = true;
      if (g_.GameMode == ModeGameOver) record.Ended = true;
      if (g_.NameEntryState == 1 && !record.NameAsked) {
        record.NameAsked = true;
        record.Score = g_.Score;
      }
      if (g_.NameEntryState == 2) record.Name = g_.EnteredName;
      record.MostSigns = std::max(record.MostSigns, g_.Signs.size());
      record.MostBuilders = std::max(record.MostBuilders, g_.Builders.size());
      record.MostCreatures = std::max(record.MostCreatures, g_.Mibbets.size());
      if (!record.NameAsked && g_.GameOver) record.Score = g_.Score;

      const bool meddle = !(g_.DEBUG == 0 && playStart >= 0 && sim_.Time().NowMs() - playStart > kHordeMeddleMs);
      const bool playing = g_.GameMode == ModePlaying && !g_.GameOver;
      if (meddle && Chance(1, playing ? 2 : 3)) Noise();
      else Advance(playStart);
      if (onTable && !g_.pnlHighScores.Visible && g_.pnlSplash.Visible) {
        record.GameMs = sim_.Time().NowMs() - start;
        return true;
      }
    }
    return false;
  }

 private:
  bool Chance(int in, int of) { return int(rng_() % unsigned(of)) < in; }
  int Below(int n) { return int(rng_() % unsigned(n)); }

  bool TutorialQuestion() const { return g_.pnlTutorial.Visible; }

  // The step that moves the game on from where it stands.
  void Advance(std::int64_t playStart) {
    if (g_.pnlTutorial.Visible) {
      sim_.Key(Chance(1, 2) ? "N" : "n");
    } else if (g_.pnlSplash.Visible && g_.GameMode == ModeSplash) {
      sim_.Press(8 + Below(700), 8 + Below(700));
    } else if (g_.GameMode == ModePlaying && !g_.GameOver) {
      if (g_.pnlPause.Visible && Chance(1, 2)) {
        sim_.Key("P");
      } else if (aimHigh_ && g_.Score <= g_.HighScoreFloor) {
        sim_.Key("W");
      } else if (g_.DEBUG != 0 && sim_.Time().NowMs() - playStart >= quitAfterMs_) {
        sim_.Key(Chance(1, 2) ? "Q" : "q");
      } else {
        sim_.Wait(50 + Below(600));
      }
    } else if (g_.NameEntryState == 1) {
      TypeName();
    } else if (g_.NameEntryState == 2) {
      // Y posts; the keys around it are ignored as slips; anything else declines.
      static const char* const answers[] = {"Y", "y", "N", "n", "T", "7", "A", "Space", "Enter", "Esc"};
      sim_.Key(answers[Below(std::size(answers))]);
    } else if (g_.pnlGameOver.Visible || g_.pnlHighScores.Visible) {
      sim_.Press(8 + Below(700), 8 + Below(700));
    } else {
      sim_.Wait(50 + Below(500));  // the explosions are still going off
    }
  }

  void TypeName() {
    if (nameKeys_ <= 0) {
      sim_.Key("Enter");
      return;
    }
    --nameKeys_;
    if (Chance(1, 5)) {
      sim_.Key("Backspace");
    } else if (Chance(1, 10)) {
      sim_.Key(std::string(1, char('0' + Below(10))));
    } else {
      sim_.Key(std::string(1, char((Chance(1, 2) ? 'A' : 'a') + Below(26))));
    }
    if (Chance(1, 4)) sim_.Wait(Below(300));
  }

  // Something a restless player does whatever the screen shows.
  void Noise() {
    const int what = Below(10);
    if (what < 3) {
      // A click on the field, or on a menu when one is open, where it chooses an item.
      TLayeredImageControl* menu = g_.MenuImg.Visible ? &g_.MenuImg : g_.OrbMenuImg.Visible ? &g_.OrbMenuImg : nullptr;
      if (menu && Chance(2, 3)) sim_.Press(menu->Left + Below(menu->Width), menu->Top + Below(menu->Height));
      else sim_.Press(8 + Below(700), 8 + Below(700), Chance(1, 10) ? MouseButton::Right : MouseButton::Left);
    } else if (what < 4) {
      sim_.Move(Below(WindowWidth), Below(WindowHeight));
    } else if (what < 5) {
      sim_.Press(Below(WindowWidth), Below(WindowHeight));  // anywhere, panels included
    } else if (what < 8) {
      sim_.Key(RandomKey());
    } else {
      sim_.Wait(Below(700));
    }
  }

  std::string RandomKey() {
    static const std::string named[] = {"Esc", "Enter", "Backspace", "Space"};
    static const std::string often = "SMPsmp";
    for (;;) {
      std::string key;
      const int kind = Below(10);
      if (kind < 3) key = std::string(1, often[std::size_t(Below(int(often.size())))]);
      else if (kind < 6) key = std::string(1, char((Chance(1, 2) ? 'A' : 'a') + Below(26)));
      else if (kind < 8) key = std::string(1, char('0' + Below(10)));
      else if (kind < 9) key = std::string(1, "-=[];',./"[Below(9)]);
      else key = named[Below(4)];
      // The tutorial is no part of this run: its question is only ever answered N.
      if (TutorialQuestion() && (key == "Esc" || key == "Y" || key == "y")) continue;
      // Q ends a debug game: only the player's own clock decides when.
      if (g_.DEBUG != 0 && (key == "Q" || key == "q")) continue;
      // The debug keys that stop the horde or keep the orb alive would only lengthen the run;
      // the fast-creature key changes the settings for every later game, not just this one.
      if (g_.DEBUG != 0 && std::string("AaBbGgFf").find(key) != std::string::npos) continue;
      return key;
    }
  }

  Simulator& sim_;
  TForm1& g_;
  std::mt19937 rng_;
  bool aimHigh_ = false;
  std::int64_t quitAfterMs_ = 0;
  int nameKeys_ = 0;
};

TEST(Soak, TwentyRandomGamesComeBackToAFreshWorldWithoutGrowing) {
  GameFixture f("DEBUG=1\n", {2026, 3, 1}, 2026);
  Simulator& sim = *f.Sim;
  TForm1& g = f.Game();
  RandomPlayer player(sim, 20260301);
  long peakAfter[kGames + 1] = {}, nowAfter[kGames + 1] = {}, heapAfter[kGames + 1] = {};
  int namesEntered = 0, debugGames = 0;
  std::int64_t gameMs = 0;

  for (int game = 1; game <= kGames; ++game) {
    SCOPED_TRACE("game " + std::to_string(game));
    // Each return to the splash seeds a new world from the clock: a different one every game.
    sim.Time().SetSeed(std::uint32_t(1000 + game));
    const bool debugKeys = game % 2 == 1;
    debugGames += debugKeys ? 1 : 0;
    RandomPlayer::GameRecord record;
    ASSERT_TRUE(player.PlayOneGame(debugKeys, record)) << "the game did not come back to the splash in time";
    EXPECT_TRUE(record.Played);
    EXPECT_TRUE(record.Ended);
    gameMs += record.GameMs;
    std::printf(
        "soak: game %2d: %s, %5.1f s of game time, at most %zu signs, %zu builders, %zu creatures, %s, "
        "score %d%s\n",
        game, debugKeys ? "debug keys" : "no debug keys", double(record.GameMs) / 1000.0, record.MostSigns,
        record.MostBuilders, record.MostCreatures, record.OrbFell ? "the orb fell" : "ended with Q", record.Score,
        record.NameAsked ? (", name '" + record.Name + "'").c_str() : "");

    // A fresh world waits on the splash.
    EXPECT_EQ(g.GameMode, ModeSplash);
    EXPECT_FALSE(g.GameOver);
    EXPECT_EQ(g.NameEntryState, 0);
    EXPECT_EQ(g.Score, 0);
    EXPECT_TRUE(g.Mibbets.empty());
    EXPECT_TRUE(g.Orders.empty());
    EXPECT_TRUE(g.Signs.empty());
    ASSERT_EQ(g.Turrets.size(), 4u);
    for (const auto& t : g.Turrets) EXPECT_TRUE(t->BaseTurret);
    EXPECT_EQ(g.Builders.size(), 1u);
    ASSERT_NE(g.Orb, nullptr);
    EXPECT_EQ(g.Orb->Health, double(g.BASEORBHEALTH));
    EXPECT_EQ(g.Effects.size(), 1u) << "only the orb";
    EXPECT_EQ(g.Resources.size(), std::size_t(g.NUMSTARTRES + 1));
    EXPECT_EQ(g.HighScoreLines.size(), std::size_t(HighScoreLineCount));
    EXPECT_FALSE(g.pnlGameOver.Visible);
    EXPECT_FALSE(g.pnlPause.Visible);
    // Nothing of play goes on behind the splash. (In debug mode the hole and tunnel keys, pressed
    // on the game-over screens, start their timers again: a debug key's business.)
    if (!debugKeys) {
      for (const Timer* t : {&g.tmrTick, &g.tmrSplode, &g.tmrRHS, &g.tmrTunnel, &g.tmrEmergeHole, &g.tmrEmergeSwap})
        EXPECT_FALSE(t->Enabled()) << t->Name();
    }

    // A name entered is in the table on disk, with the score of its game.
    if (record.NameAsked) {
      ++namesEntered;
      const std::optional<Bitmap32> picture = ReadBmp(g.HighScorePath());
      ASSERT_TRUE(picture.has_value());
      const std::vector<std::string> lines = HighScoreLinesFromPicture(*picture);
      const bool found = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return HighScoreOfLine(line) == record.Score &&
               WithoutTrailingBlanks(NameOfLine(line)) == WithoutTrailingBlanks(record.Name);
      });
      EXPECT_TRUE(found) << "score " << record.Score << " name '" << record.Name << "'";
    }

    // The recorders belong to the simulator, not the game: they would grow for ever.
    sim.Sound().Requested.clear();
    sim.Sound().Log.clear();
    sim.Music().Events.clear();
    peakAfter[game] = PeakRssKb();
    nowAfter[game] = CurrentRssKb();
    heapAfter[game] = LiveHeapKb();
  }

  std::printf("soak: %d games (%d in debug mode), %d names entered, %.1f minutes of game time\n", kGames, debugGames,
              namesEntered, double(gameMs) / 60000.0);
  std::printf("soak: peak RSS after game 1: %ld kB, game 10: %ld kB, game 20: %ld kB\n", peakAfter[1], peakAfter[10],
              peakAfter[20]);
  std::printf("soak: resident after game 1: %ld kB, game 10: %ld kB, game 20: %ld kB\n", nowAfter[1], nowAfter[10],
              nowAfter[20]);
  std::printf("soak: live heap after game 1: %ld kB, game 10: %ld kB, game 20: %ld kB (debug log %zu lines)\n",
              heapAfter[1], heapAfter[10], heapAfter[20], g.DebugLog.size());
  EXPECT_GT(namesEntered, 0);
  // Generous, so that the allocator's and the sanitizer's own habits do not count as growth.
  for (const long* rss : {peakAfter, nowAfter, heapAfter}) {
    const long allowedKb = std::max(rss[10] / 5, 4096L);
    EXPECT_LT(rss[20] - rss[10], allowedKb) << "memory grew from game 10 to game 20";
  }
}

}  // namespace
