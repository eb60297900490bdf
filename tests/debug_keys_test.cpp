// The debug keys: what each does, and when none of them works.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/test_support.h"

namespace {

// A game in play in debug mode, the pointer resting on cell (5, 12).
struct DebugPlay : GameFixture {
  explicit DebugPlay(const std::string& settings = "DEBUG=1\n") : GameFixture(settings) {
    StartPlaying();
    Sim->Move(5 * CellSize + 10, 12 * CellSize + 10);
  }
  TForm1& g = Game();
};

int CountEffects(const TForm1& g, bool (*match)(const TSprite&)) {
  return int(std::count_if(g.Effects.begin(), g.Effects.end(), [&](const auto& e) { return match(*e); }));
}

TEST(DebugKeys, EachKeyDoesItsOneThing) {
  struct Case {
    const char* key;
    std::function<void(TForm1&)> prepare;
    std::function<void(const TForm1&)> check;
  };
  const auto none = [](TForm1&) {};
  const Case cases[] = {
      {"x", none, [](const TForm1& g) { EXPECT_EQ(g.Builders.size(), 2u); }},
      {"Z",
       [](TForm1& g) {
         g.SpawnMibbet(3, 3, 1);
         g.SpawnMibbet(4, 4, 2);
       },
       [](const TForm1& g) {
         EXPECT_TRUE(g.Mibbets.empty());
         EXPECT_EQ(g.Score, 0);
         EXPECT_EQ(g.Effects.size(), 1u) << "only the orb: no explosions";
       }},
      {"C", none,
       [](const TForm1& g) {
         EXPECT_EQ(g.Scrap, 100);
         EXPECT_EQ(g.imScrapCt.LastText, "100");
       }},
      {"V", [](TForm1& g) { g.Scrap = 30; },
       [](const TForm1& g) {
         EXPECT_EQ(g.Scrap, 0);
         EXPECT_EQ(g.imScrapCt.LastText, "0");
       }},
      {"b", none, [](const TForm1& g) { EXPECT_TRUE(g.DbgFreeze); }},
      {"A", none, [](const TForm1& g) { EXPECT_TRUE(g.DbgInvincible); }},
      {"N", [](TForm1& g) { g.Turrets.erase(g.Turrets.begin(), g.Turrets.begin() + 3); },
       [](const TForm1& g) {
         ASSERT_EQ(g.Turrets.size(), 4u);
         const std::pair<int, int> cells[] = {{8, 0}, {10, 0}, {8, 1}, {10, 1}};
         for (int t = 0; t < 4; ++t) {
           EXPECT_EQ(std::make_pair(g.Turrets[t]->CellX, g.Turrets[t]->CellY), cells[t]);
           EXPECT_TRUE(g.Turrets[t]->BaseTurret);
           EXPECT_EQ(g.Turrets[t]->Health, 10.0);
         }
       }},
      {"F", [](TForm1& g) { g.SpawnMibbet(3, 3, 1); },
       [](const TForm1& g) {
         EXPECT_EQ(g.Mibbets[0]->StepInterval, 0);
         EXPECT_EQ(g.FMIBBETBASESPEED + g.SMIBBETBASESPEED + g.EMIBBETBASESPEED, 0);
       }},
      {"G", none, [](const TForm1& g) { EXPECT_TRUE(g.DbgNoEmerge); }},
      {"W", none,
       [](const TForm1& g) {
         EXPECT_EQ(g.Score, 50);
         EXPECT_EQ(g.imScore.LastText, "50");
       }},
      {"2", none,
       [](const TForm1& g) {
         ASSERT_EQ(g.Mibbets.size(), 1u);
         EXPECT_EQ(std::make_tuple(g.Mibbets[0]->Kind, g.Mibbets[0]->CellX, g.Mibbets[0]->CellY),
                   std::make_tuple(KindS, 5, 12));
       }},
      {"6", none,
       [](const TForm1& g) {
         EXPECT_EQ(
             CountEffects(
                 g, [](const TSprite& e) { return e.OpensHole && e.HoleKind == 3 && e.CellX == 5 && e.CellY == 12; }),
             1);
       }},
      {"7", none,
       [](const TForm1& g) {
         EXPECT_EQ(CountEffects(g, [](const TSprite& e) { return e.OpensHole; }), 1);
         EXPECT_TRUE(g.tmrEmergeHole.Enabled());
       }},
      {"8", none,
       [](const TForm1& g) {
         ASSERT_GE(g.FindGatherable(5, 12), 0);
         EXPECT_EQ(g.Resources[std::size_t(g.FindGatherable(5, 12))]->Bitmap, g.BmpScrap);
       }},
      {"9", none,
       [](const TForm1& g) {
         ASSERT_EQ(g.Turrets.size(), 5u);
         EXPECT_EQ(std::make_pair(g.Turrets[4]->CellX, g.Turrets[4]->CellY), std::make_pair(5, 12));
         EXPECT_FALSE(g.Turrets[4]->BaseTurret);
       }},
      {"o", none, [](const TForm1& g) { EXPECT_TRUE(g.TunnelMovePending); }},
      {"I", [](TForm1& g) { g.SpawnMibbet(3, 3, 1); },
       [](const TForm1& g) {
         EXPECT_EQ(std::make_pair(g.Mibbets[0]->DestX, g.Mibbets[0]->DestY), std::make_pair(9, 9));
         EXPECT_EQ(std::make_pair(g.Builders[0]->DestX, g.Builders[0]->DestY), std::make_pair(9, 9));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    DebugPlay p;
    p.g.Resources.clear();
    c.prepare(p.g);
    p.Sim->Key(c.key);
    c.check(p.g);
  }
}

TEST(DebugKeys, TogglesSwitchBackAndWorkOnlyInDebugMode) {
  DebugPlay p;
  p.Sim->Key("B");
  p.Sim->Key("B");
  EXPECT_FALSE(p.g.DbgFreeze);

  // Invincible: the orb and the turrets show the hit but keep their health.
  p.Sim->Key("A");
  const std::size_t effects = p.g.Effects.size();
  p.g.DamageOrb();
  EXPECT_EQ(p.g.Orb->Health, 30.0);
  EXPECT_EQ(p.g.Effects.size(), effects + 1);
}

TEST(DebugKeys, NoneWorksWithoutDebugModeOnTheQuestionInTheTutorialOrDuringNameEntry) {
  const char* keys[] = {"X", "Z", "C", "V", "B", "A", "F", "G", "W", "1", "4", "7", "8", "9", "O", "I"};
  const auto untouched = [](const TForm1& g) {
    EXPECT_EQ(g.Builders.size(), 1u);
    EXPECT_EQ(g.Scrap, 50);
    EXPECT_EQ(g.Score, 0);
    EXPECT_EQ(g.Turrets.size(), 4u);
    EXPECT_TRUE(g.Mibbets.empty());
    EXPECT_FALSE(g.DbgFreeze || g.DbgInvincible || g.DbgNoEmerge);
    EXPECT_FALSE(g.TunnelMovePending);
    EXPECT_EQ(g.Effects.size(), 1u);
  };
  {
    DebugPlay p("DEBUG=0\n");
    for (const char* key : keys) p.Sim->Key(key);
    untouched(p.g);
  }
  {
    GameFixture f("DEBUG=1\n");
    f.Sim->Press(350, 350);  // the tutorial question is shown
    for (const char* key : keys) f.Sim->Key(key);
    untouched(f.Game());
    f.Sim->Key("N");  // answers the question; the turrets stay as they are
    EXPECT_EQ(f.Game().GameMode, ModePlaying);
    EXPECT_EQ(f.Game().Turrets.size(), 4u);
  }
  for (int mode : {0, 1}) {
    DebugPlay p;
    if (mode == 0) p.g.GameMode = ModeTutorial;
    else p.g.NameEntryState = 1;
    for (const char* key : keys) p.Sim->Key(key);
    untouched(p.g);
  }
}

TEST(DebugKeys, GameOverAndTheTimerKeysWorkOnlyInPlay) {
  // On the splash and on the end screens Q must not end a game that is not running (the panel
  // would stay up for good); there, and in a pause, 7 and O must not set the timers going.
  const auto quiet = [](const TForm1& g) {
    EXPECT_FALSE(g.tmrTunnel.Enabled() || g.tmrEmergeHole.Enabled());
    EXPECT_FALSE(g.TunnelMovePending);
    EXPECT_FALSE(g.tmrSplode.Enabled());
  };
  {
    GameFixture f("DEBUG=1\n");
    f.Sim->Key("Q");
    f.Sim->Key("7");
    f.Sim->Key("O");
    quiet(f.Game());
    EXPECT_FALSE(f.Game().GameOver);
  }
  {
    DebugPlay p;
    p.Sim->Key("P");
    p.Sim->Key("O");
    p.Sim->Key("7");
    quiet(p.g);
    p.Sim->Key("Q");
    EXPECT_TRUE(p.g.GameOver) << "a paused game may end";
    EXPECT_FALSE(p.g.pnlPause.Visible);
    p.Sim->Wait(20000);
    ASSERT_EQ(p.g.GameMode, ModeGameOver);
    p.Sim->Key("7");
    p.Sim->Key("O");
    quiet(p.g);
  }
}

TEST(DebugKeys, TheHelpBoxListsTheKeys) {
  DebugPlay p;
  EXPECT_EQ(p.g.memDbg.Lines,
            (std::vector<std::string>{"[X] New Bot  [Z] Kill Mibbets", "[C] Cash + 50 [V] Cash - 50",
                                      "[B] Stop Mibbet Motion [G] Gen", "[A] Invincible [N] Replace Turrets",
                                      "[F] Fast [1/2/3/4/5/6/7/8/9]", "[Q] Game Over [W] Score + 50"}));
}

}  // namespace
