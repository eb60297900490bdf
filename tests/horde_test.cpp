// What keeps the horde unpredictable: tunnel moves, swapped emergence intervals and holes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "tests/test_support.h"

namespace {

// A played game without creatures coming out of the tunnels, so effects can be run alone.
struct QuietPlay : GameFixture {
  explicit QuietPlay(const std::string& settings = "") : GameFixture(settings) {
    StartPlaying();
    Sim->Sound().Requested.clear();
  }
  TForm1& g = Game();
  std::vector<std::string>& Sounds() { return Sim->Sound().Requested; }
  void RunEffects(int updates) {
    for (int u = 0; u < updates; ++u) g.UpdateEffects();
  }
  std::vector<const TSprite*> EffectsWith(bool (*match)(const TSprite&)) const {
    std::vector<const TSprite*> found;
    for (const auto& e : g.Effects)
      if (match(*e)) found.push_back(e.get());
    return found;
  }
};

bool IsTunnelPreview(const TSprite& e) { return e.MovesTunnel; }
bool IsBump(const TSprite& e) { return e.OpensHole; }
bool IsOpenHole(const TSprite& e) { return e.LeavesHoleMark; }

// ---- Tunnel moves ----

TEST(Tunnels, AMoveIsAnnouncedOnAFarColumnOfTheBottomRowAndCarriedOut) {
  QuietPlay p;
  TForm1& g = p.g;
  std::set<int> typesSeen;
  for (int move = 0; move < 40; ++move) {
    const std::size_t before = g.Effects.size();
    g.tmrTunnelTimer();
    ASSERT_EQ(g.Effects.size(), before + 2) << "an exclamation and a preview";
    const TSprite& exclaim = *g.Effects[before];
    const TSprite& preview = *g.Effects[before + 1];
    ASSERT_TRUE(preview.MovesTunnel);
    typesSeen.insert(preview.TunnelKind);
    const TunnelRec& tunnel = g.TunnelOfKind(KindOfType(preview.TunnelKind));
    EXPECT_EQ(preview.CellY, FieldCells - 1);
    EXPECT_LT(preview.CellX, FieldCells - 1);
    for (const TunnelRec* t : {&g.FTunnel, &g.STunnel, &g.ETunnel}) EXPECT_GT(std::abs(preview.CellX - t->X), 2);
    EXPECT_EQ(std::make_tuple(preview.Alpha, preview.Life, preview.FrameCount, preview.Bitmap),
              std::make_tuple(128, 80, 1, tunnel.Bitmap));
    EXPECT_EQ(std::make_tuple(exclaim.CellX, exclaim.CellY, exclaim.Life, exclaim.FrameCount),
              std::make_tuple(preview.CellX, FieldCells - 2, 35, 3));
    EXPECT_TRUE(g.TunnelMovePending);
    EXPECT_EQ(p.Sounds(), std::vector<std::string>{"tunnelwarn"});
    p.Sounds().clear();

    // A second move while one is pending is skipped, the timer keeping its pace.
    const int interval = g.tmrTunnel.Interval();
    g.tmrTunnelTimer();
    EXPECT_EQ(g.Effects.size(), before + 2);
    EXPECT_EQ(g.tmrTunnel.Interval(), interval);

    const int column = preview.CellX;
    p.RunEffects(159);
    EXPECT_NE(tunnel.X, column) << "the preview stands 160 updates";
    p.RunEffects(1);
    EXPECT_EQ(std::make_pair(tunnel.X, tunnel.Y), std::make_pair(column, FieldCells - 1));
    EXPECT_EQ(tunnel.Sprite->Location.Left, float(CellSize * column)) << "the tunnel jumps, it does not glide";
    EXPECT_TRUE(tunnel.Sprite->Visible);
    EXPECT_FALSE(g.TunnelMovePending);
    EXPECT_TRUE(p.EffectsWith(IsTunnelPreview).empty());
  }
  EXPECT_EQ(typesSeen, (std::set<int>{1, 2, 3}));
}

TEST(Tunnels, PeriodsFollowBaseSpreadAndFloorAndNeverFallBelowASecond) {
  struct Case {
    const char* settings;
    int lowestMs, highestMs;
  };
  const Case cases[] = {
      {"", 10000, 29000},
      {"MIBBETTUNNELSWAPRED=0\n", 30000, 30000},
      {"MIBBETTUNNELSWAP=20\nMIBBETTUNNELSWAPRED=10\nMIBBETTUNNELSWAPMIN=15\n", 15000, 19000},
      {"MIBBETTUNNELSWAP=0\nMIBBETTUNNELSWAPRED=0\nMIBBETTUNNELSWAPMIN=0\n", 1000, 1000},
      {"MIBBETTUNNELSWAP=2\nMIBBETTUNNELSWAPRED=-5\nMIBBETTUNNELSWAPMIN=-50\n", 7000, 7000},
  };
  for (const Case& c : cases) {
    QuietPlay p(c.settings);
    std::set<int> periods;
    for (int move = 0; move < 200; ++move) {
      p.g.TunnelMovePending = false;
      p.g.tmrTunnelTimer();
      periods.insert(p.g.tmrTunnel.Interval());
      EXPECT_TRUE(p.g.tmrTunnel.Enabled());
    }
    EXPECT_EQ(*periods.begin(), c.lowestMs) << c.settings;
    EXPECT_EQ(*periods.rbegin(), c.highestMs) << c.settings;
  }
}

TEST(Tunnels, TheFirstMoveComesAfterTheBasePeriodAndNeverWithoutIt) {
  for (const char* settings : {"", "MIBBETTUNNELSWAP=0\n"}) {
    GameFixture f(std::string("EMIBBETBASEEMERGE=100000\nSMIBBETBASEEMERGE=100000\nFMIBBETBASEEMERGE=100000\n") +
                  settings);
    f.StartPlaying();
    f.Sim->Wait(29999);
    EXPECT_FALSE(f.Game().TunnelMovePending);
    f.Sim->Wait(1);
    EXPECT_EQ(f.Game().TunnelMovePending, std::string(settings).empty()) << settings;
  }
}

TEST(Tunnels, TheWarningIsSilentOnceTheGameIsOverButTheHoleWarningIsNot) {
  QuietPlay p;
  p.g.GameMode = ModeGameOver;
  p.g.tmrTunnelTimer();
  p.g.WarnHole(3, 9, 1);
  EXPECT_EQ(p.Sounds(), std::vector<std::string>{"holewarn"});
}

TEST(Tunnels, ALostGameMovesNoTunnelAndOpensNoHoleAndTheNextGameMovesAgain) {
  QuietPlay p;
  TForm1& g = p.g;
  g.tmrTunnelTimer();
  g.WarnHole(5, 10, 2);
  const int column = p.EffectsWith(IsTunnelPreview)[0]->CellX;
  const int type = p.EffectsWith(IsTunnelPreview)[0]->TunnelKind;
  g.GameOver = true;
  p.RunEffects(160);
  EXPECT_NE(g.TunnelOfKind(KindOfType(type)).X, column);
  EXPECT_TRUE(p.EffectsWith(IsOpenHole).empty());
  g.NewGame();
  EXPECT_FALSE(g.TunnelMovePending);
  g.tmrTunnelTimer();
  EXPECT_EQ(p.EffectsWith(IsTunnelPreview).size(), 1u);
}

// ---- Emergence swaps ----

TEST(EmergenceSwap, IntervalsGoRoundTheTunnelsAndCountersStay) {
  QuietPlay p;
  TForm1& g = p.g;
  const std::set<std::vector<int>> rotations = {{80, 100, 50}, {100, 50, 80}, {50, 80, 100}};
  std::set<std::vector<int>> seen;
  g.FTunnel.Counter = 7;
  g.STunnel.Counter = 8;
  g.ETunnel.Counter = 9;
  for (int swap = 0; swap < 60; ++swap) {
    g.tmrEmergeSwapTimer();
    seen.insert({g.FTunnel.Interval, g.STunnel.Interval, g.ETunnel.Interval});
    EXPECT_TRUE(g.tmrEmergeSwap.Enabled());
    EXPECT_EQ(g.tmrEmergeSwap.Interval(), 30000);
  }
  EXPECT_EQ(seen, rotations);
  EXPECT_EQ(std::make_tuple(g.FTunnel.Counter, g.STunnel.Counter, g.ETunnel.Counter), std::make_tuple(7, 8, 9));
}

// ---- Holes ----

TEST(Holes, AHoleIsAnnouncedOpensEmitsWithItsKindsTunnelAndCloses) {
  // Only the S tunnel emits, every 101 ticks.
  QuietPlay p("EMIBBETBASEEMERGE=100000\nFMIBBETBASEEMERGE=100000\n");
  TForm1& g = p.g;
  g.Resources.clear();
  g.WarnHole(4, 10, 2);
  EXPECT_EQ(p.Sounds(), std::vector<std::string>{"holewarn"});
  ASSERT_EQ(p.EffectsWith(IsBump).size(), 1u);
  const TSprite& bump = *p.EffectsWith(IsBump)[0];
  EXPECT_EQ(std::make_tuple(bump.CellX, bump.CellY, bump.HoleKind, bump.Life, g.Sprites.NameAt(bump.ShownPicture)),
            std::make_tuple(4, 10, 2, 50, std::string("mibbetbump")));
  EXPECT_EQ(g.Playfield.Image.IndexOf(bump.Layer), 0) << "below every sprite";
  const TSprite& exclaim = *g.Effects.end()[-2];
  EXPECT_EQ(std::make_tuple(exclaim.Bitmap, exclaim.Life, exclaim.FrameCount), std::make_tuple(g.BmpSExclaim, 20, 3));

  int openedAt = -1, closedAt = -1, flickerGoneAt = -1, fromHole = 0, fromTunnel = 0;
  for (int tick = 1; tick <= 400; ++tick) {
    const std::size_t before = g.Mibbets.size();
    g.tmrTickTimer();
    for (std::size_t k = before; k < g.Mibbets.size(); ++k) {
      const TMibbet& m = *g.Mibbets[k];
      EXPECT_EQ(m.Kind, KindS);
      if (m.CellX == 4 && m.CellY == 10) ++fromHole;
      else ++fromTunnel;
    }
    const bool open = !p.EffectsWith(IsOpenHole).empty();
    if (open && openedAt < 0) {
      openedAt = tick;
      EXPECT_EQ(g.Playfield.Image.IndexOf(p.EffectsWith(IsOpenHole)[0]->Layer), 0);
      EXPECT_EQ(p.EffectsWith(IsOpenHole)[0]->HoleKind, 2);
    }
    if (!open && openedAt > 0 && closedAt < 0) closedAt = tick;
    const bool flickering = std::any_of(g.Effects.begin(), g.Effects.end(),
                                        [&](const auto& e) { return e->Bitmap == g.BmpHole && !e->LeavesHoleMark; });
    if (closedAt > 0 && !flickering && flickerGoneAt < 0) flickerGoneAt = tick;
  }
  EXPECT_EQ(openedAt, 100);
  EXPECT_EQ(closedAt - openedAt, 200);
  EXPECT_EQ(flickerGoneAt - closedAt, 30);
  // The S tunnel emits at ticks 101, 202, 303: the first two fall in the hole's open time.
  EXPECT_EQ(fromTunnel, 3);
  EXPECT_EQ(fromHole, 2);
}

TEST(Holes, AppearOnlyOnFreeCellsOfTheMiddleBand) {
  QuietPlay p;
  TForm1& g = p.g;
  g.Resources.clear();
  // Everything in the band but three cells is taken by a rock, a sign, a bump or an open hole.
  const std::set<std::pair<int, int>> free = {{0, 7}, {18, 13}, {9, 10}};
  int n = 0;
  for (int x = 0; x < FieldCells - 1; ++x)
    for (int y = 7; y <= 13; ++y) {
      if (free.count({x, y})) continue;
      switch (n++ % 4) {
        case 0:
          g.Resources.push_back(std::make_unique<TSprite>(g.Playfield.Image));
          g.Resources.back()->SetCellX(x);
          g.Resources.back()->SetCellY(y);
          break;
        case 1:
          g.CreateSign(x, y, true, 0);
          break;
        case 2:
          g.AddEffect(x, y, HoleBump, g.BmpBump).HoleKind = 1;
          break;
        default:
          g.AddEffect(x, y, OpenHole, g.BmpHole).LeavesHoleMark = true;
      }
    }
  std::set<std::pair<int, int>> chosen;
  std::set<int> types;
  for (int hole = 0; hole < 30; ++hole) {
    const std::size_t before = g.Effects.size();
    g.tmrEmergeHoleTimer();
    ASSERT_EQ(g.Effects.size(), before + 2);
    const TSprite& bump = *g.Effects.back();
    chosen.insert({bump.CellX, bump.CellY});
    types.insert(bump.HoleKind);
    g.Effects.pop_back();  // leave the cell free for the next round
    g.Effects.pop_back();
    const int period = g.tmrEmergeHole.Interval();
    EXPECT_TRUE(period >= 70000 && period <= 89000) << period;
  }
  EXPECT_EQ(chosen, free);
  EXPECT_EQ(types, (std::set<int>{1, 2, 3}));
}

TEST(Holes, WithNoFreeCellNoHoleComesAndTheTimerStaysOff) {
  QuietPlay p;
  TForm1& g = p.g;
  for (int x = 0; x < FieldCells - 1; ++x)
    for (int y = 7; y <= 13; ++y) g.CreateSign(x, y, true, 1);
  const std::size_t before = g.Effects.size();
  g.tmrEmergeHoleTimer();
  EXPECT_EQ(g.Effects.size(), before);
  EXPECT_FALSE(g.tmrEmergeHole.Enabled());
  EXPECT_TRUE(p.Sounds().empty());
}

TEST(Holes, TheFirstHoleComesAfterTheBasePeriod) {
  GameFixture f("EMIBBETBASEEMERGE=100000\nSMIBBETBASEEMERGE=100000\nFMIBBETBASEEMERGE=100000\n");
  f.StartPlaying();
  const auto bumps = [&] {
    const auto& e = f.Game().Effects;
    return std::count_if(e.begin(), e.end(), [](const auto& s) { return s->OpensHole; });
  };
  f.Sim->Wait(89999);
  EXPECT_EQ(bumps(), 0);
  f.Sim->Wait(1);
  EXPECT_EQ(bumps(), 1);
}

}  // namespace
