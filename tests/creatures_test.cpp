// Creatures: how they emerge, walk, meet trees and signs, and look around on arrival.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "tests/test_support.h"

namespace {

constexpr int kDefaultPace = 20;  // ticks between two steps of every kind by default

// Advances the creatures by whole steps at the default pace, gliding included.
void RunSteps(TForm1& g, int steps) {
  for (int t = 0; t < steps * kDefaultPace; ++t) g.UpdateMibbets();
}

// A playfield with nothing on it that a creature could trample or shoot.
TForm1& BareField(GameFixture& f) {
  TForm1& g = f.Game();
  g.Resources.clear();
  g.Turrets.clear();
  for (int e = int(g.Effects.size()) - 1; e >= 0; --e)
    if (g.Effects[std::size_t(e)].get() == g.Orb) g.RemoveEffectAt(e);
  return g;
}

TSign& PutSign(TForm1& g, int x, int y, int direction, bool finished = true, int alpha = FinishedSignAlpha) {
  g.Signs.push_back(std::make_unique<TSign>(g.Playfield.Image));
  TSign& sign = *g.Signs.back();
  sign.SetCellX(x);
  sign.SetCellY(y);
  sign.Variant = direction;
  sign.Id = ++g.NextId;
  g.ShowPicture(sign, g.BmpSign + direction);
  sign.Finished = finished;
  sign.Layer->MasterAlpha = alpha;
  sign.Place();
  return sign;
}

// True when every expected line appears in the log, in this order (other lines may lie between).
bool LogHasInOrder(const std::deque<std::string>& log, const std::vector<std::string>& expected) {
  std::size_t next = 0;
  for (const std::string& line : log)
    if (next < expected.size() && line == expected[next]) ++next;
  return next == expected.size();
}

int CountLines(const std::deque<std::string>& log, const std::string& text) {
  return int(std::count(log.begin(), log.end(), text));
}

std::string PictureOf(const TForm1& g, const TSprite& s) { return g.Sprites.NameAt(s.ShownPicture); }

// ---- Emergence ----

TEST(Emergence, TunnelsEmitOnEveryIntervalPlusFirstTick) {
  struct Case {
    const char* settings;
    int ticks;
    std::map<int, std::vector<int>> ticksByKind;
  };
  const Case cases[] = {
      {"", 205, {{KindE, {51, 102, 153, 204}}, {KindS, {101, 202}}, {KindF, {81, 162}}}},
      {"INITDELAY=100\n", 210, {{KindE, {151, 202}}, {KindS, {201}}, {KindF, {181}}}},
      {"EMIBBETBASEEMERGE=0\nSMIBBETBASEEMERGE=500\nFMIBBETBASEEMERGE=500\n", 3, {{KindE, {1, 2, 3}}}},
  };
  for (const Case& c : cases) {
    GameFixture f(c.settings);
    TForm1& g = f.Game();
    std::map<int, std::vector<int>> seen;
    for (int t = 0; t < c.ticks; ++t) {
      const std::size_t before = g.Mibbets.size();
      g.tmrTickTimer();
      for (std::size_t k = before; k < g.Mibbets.size(); ++k) seen[g.Mibbets[k]->Kind].push_back(g.TickCount);
    }
    EXPECT_EQ(seen, c.ticksByKind) << c.settings;
  }
}

TEST(Emergence, NewCreaturesTakeTheirKindsTraitsInTheOrderESF) {
  GameFixture f(
      "EMIBBETBASEEMERGE=0\nSMIBBETBASEEMERGE=0\nFMIBBETBASEEMERGE=0\nBASEMIBBETHEALTH=7\n"
      "FMIBBETBASESPEED=11\nSMIBBETBASESPEED=12\nEMIBBETBASESPEED=13\nFMIBBETFORCEY=4\nSMIBBETFORCEY=5\n"
      "EMIBBETFORCEY=6\n");
  TForm1& g = f.Game();
  const int idsBefore = g.NextId;
  g.EmergenceTick();
  struct Expected {
    int kind, x;
    const char* picture;
    Pixel beam;
    int pace, push;
  };
  const Expected expected[] = {{KindE, 1, "EMibbet_D", MakePixel(185, 245, 120), 13, 6},
                               {KindS, 10, "SMibbet_D", MakePixel(245, 0, 0), 12, 5},
                               {KindF, 18, "FMibbet_D", MakePixel(75, 75, 75), 11, 4}};
  ASSERT_EQ(g.Mibbets.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    const TMibbet& m = *g.Mibbets[k];
    const Expected& e = expected[k];
    EXPECT_EQ(m.Kind, e.kind);
    EXPECT_EQ(m.Id, idsBefore + int(k) + 1);
    EXPECT_EQ(PictureOf(g, m), e.picture);
    EXPECT_EQ(m.Variant, 0);
    EXPECT_EQ(m.BeamColour, e.beam);
    EXPECT_EQ(m.StepInterval, e.pace);
    EXPECT_EQ(m.Health, 7.0);
    EXPECT_EQ(m.CellX, e.x);
    EXPECT_EQ(m.CellY, 18);
    EXPECT_EQ(m.ForceX, 0);
    EXPECT_EQ(m.ForceY, e.push);
    EXPECT_FALSE(m.LooksAround);
    EXPECT_EQ(m.DestX, 9);
    EXPECT_EQ(m.DestY, 1);
    // Placed exactly on its cell, and gliding from then on.
    EXPECT_EQ(m.Location.Left, 35.0f * float(e.x));
    EXPECT_EQ(m.Location.Top, 35.0f * 18);
    EXPECT_TRUE(m.Glide);
  }
  const std::string dump = f.Sim->Dump();
  EXPECT_NE(dump.find("\"BeamColour\":[185,245,120]"), std::string::npos);
  EXPECT_NE(dump.find("\"KindBitmap\":" + std::to_string(g.BmpFMibbet)), std::string::npos);
}

TEST(Emergence, OpenHolesOfTheEmittingKindEmitToo) {
  GameFixture f("EMIBBETBASEEMERGE=0\nSMIBBETBASEEMERGE=500\nFMIBBETBASEEMERGE=500\n");
  TForm1& g = f.Game();
  const auto openHole = [&](int x, int y, int type, bool open) {
    TSprite& hole = g.AddEffect(x, y, 255, 100, 1, g.BmpHole);
    hole.HoleKind = type;
    hole.LeavesHoleMark = open;
  };
  openHole(5, 12, 3, true);
  openHole(6, 3, 3, true);
  openHole(7, 7, 2, true);  // another kind
  openHole(8, 8, 3, false);  // only announced, not open
  g.EmergenceTick();
  ASSERT_EQ(g.Mibbets.size(), 3u);
  const std::pair<int, int> cells[] = {{1, 18}, {5, 12}, {6, 3}};
  const int pushes[] = {9, 0, 6};  // a hole's creature is pushed by what is left of the push
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(g.Mibbets[k]->Kind, KindE);
    EXPECT_EQ(std::make_pair(g.Mibbets[k]->CellX, g.Mibbets[k]->CellY), cells[k]);
    EXPECT_EQ(g.Mibbets[k]->ForceY, pushes[k]);
  }
}

TEST(Spawn, PushIsWhatRemainsOfTheKindsPushAndNoneInTheTutorial) {
  struct Case {
    int type, y;
    GameModeId mode;
    int push;
  };
  const Case cases[] = {
      {1, 5, ModePlaying, 12}, {1, 17, ModePlaying, 0}, {1, 19, ModePlaying, 0}, {2, 3, ModePlaying, 6},
      {3, 8, ModePlaying, 1},  {3, 9, ModePlaying, 0},  {1, 5, ModeTutorial, 0}, {3, 0, ModeTutorial, 0},
  };
  GameFixture f;
  TForm1& g = f.Game();
  // Holes of every kind, which a spawned creature must not set off.
  for (int type = 1; type <= 3; ++type) g.AddEffect(type, 10, 255, 100, 1, g.BmpHole).LeavesHoleMark = true;
  for (const Case& c : cases) {
    g.Mibbets.clear();
    g.GameMode = c.mode;
    g.SpawnMibbet(4, c.y, c.type);
    ASSERT_EQ(g.Mibbets.size(), 1u);
    const TMibbet& m = *g.Mibbets[0];
    EXPECT_EQ(m.Kind, c.type - 1);
    EXPECT_EQ(m.CellX, 4);
    EXPECT_EQ(m.CellY, c.y);
    EXPECT_EQ(m.ForceY, c.push) << "type " << c.type << " row " << c.y << " mode " << c.mode;
  }
  EXPECT_EQ(g.ETunnel.Counter + g.STunnel.Counter + g.FTunnel.Counter, 0);
}

// ---- Movement ----

TEST(Movement, FirstPushThenHomeInEightDiagonalSteps) {
  GameFixture f("DEBUG=1\n");
  TForm1& g = BareField(f);
  g.ETunnel.Interval = 0;
  g.EmergeFromTunnel(g.ETunnel);
  TMibbet& m = *g.Mibbets[0];
  // Straight up its own column: the push sets the destination to (1, 9) and the home.
  for (int step = 1; step <= 9; ++step) {
    RunSteps(g, 1);
    EXPECT_EQ(m.CellX, 1);
    EXPECT_EQ(m.CellY, 18 - step);
  }
  EXPECT_EQ(m.DestY, 9);
  EXPECT_EQ(m.HomeX, 9);
  EXPECT_EQ(m.HomeY, 1);
  EXPECT_EQ(PictureOf(g, m), "EMibbet_U");
  // Standing on (1, 9): a fresh creature turns for home at once, without an exclamation.
  const std::size_t effectsBefore = g.Effects.size();
  RunSteps(g, 1);
  EXPECT_TRUE(m.Arrived);
  EXPECT_EQ(std::make_pair(m.DestX, m.DestY), std::make_pair(9, 1));
  EXPECT_EQ(g.Effects.size(), effectsBefore);
  for (int step = 1; step <= 8; ++step) {
    RunSteps(g, 1);
    EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(1 + step, 9 - step));
    EXPECT_EQ(m.Variant, 1) << "the vertical picture wins a diagonal step";
  }
  EXPECT_TRUE(LogHasInOrder(g.DebugLog, {"Mibbet 0 target M0 now 1 9", "Mibbet 0 target M2 now 9 1"}));
}

TEST(Movement, LookAroundOnArrivalFollowsThePauses) {
  struct Case {
    const char* settings;
    // Per step after arrival: the phase after it (-1: turned for home) and the facing.
    std::vector<std::pair<int, int>> phaseAndFacing;
  };
  const Case cases[] = {
      {"", {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 3}, {-1, 3}}},
      {"CONFSTATERPAUSEA=1\nCONFSTATERPAUSEB=2\n",
       {{1, 0}, {1, 0}, {2, 1}, {2, 1}, {3, 2}, {3, 2}, {4, 3}, {4, 3}, {-1, 3}}},
  };
  for (const Case& c : cases) {
    GameFixture f(std::string("DEBUG=1\n") + c.settings);
    TForm1& g = BareField(f);
    g.SpawnMibbet(5, 15, 3);
    TMibbet& m = *g.Mibbets[0];
    // As after a sign's push: standing on its destination, with a home, looking around.
    m.DestX = 5;
    m.DestY = 15;
    m.HomeX = 9;
    m.HomeY = 1;
    m.LooksAround = true;
    const std::size_t effectsBefore = g.Effects.size();
    RunSteps(g, 1);
    ASSERT_EQ(g.Effects.size(), effectsBefore + 1) << "an exclamation at arrival";
    const TSprite& exclaim = *g.Effects.back();
    EXPECT_EQ(exclaim.Bitmap, g.BmpEExclaim);
    EXPECT_EQ(exclaim.FrameCount, 3);
    EXPECT_EQ(std::make_pair(exclaim.CellX, exclaim.CellY), std::make_pair(5, 15));
    for (std::size_t step = 0; step < c.phaseAndFacing.size(); ++step) {
      if (step > 0) RunSteps(g, 1);
      const auto [phase, facing] = c.phaseAndFacing[step];
      const bool home = phase < 0;
      EXPECT_EQ(m.LookPhase, home ? 0 : phase) << c.settings << " step " << step;
      EXPECT_EQ(m.Variant, facing) << c.settings << " step " << step;
      EXPECT_EQ(m.DestX, home ? 9 : 5) << c.settings << " step " << step;
      EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(5, 15));
    }
    EXPECT_EQ(g.DebugLog.back(), "Mibbet 0 target M2 now 9 1");
    RunSteps(g, 1);
    EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(6, 14)) << "first step toward home";
  }
}

TEST(Movement, CreatureOnItsHomeKeepsLookingAround) {
  GameFixture f;
  TForm1& g = BareField(f);
  g.SpawnMibbet(9, 1, 2);
  TMibbet& m = *g.Mibbets[0];
  m.ForceY = 0;
  m.HomeX = 9;
  m.HomeY = 1;
  m.LooksAround = true;
  const std::size_t effectsBefore = g.Effects.size();
  RunSteps(g, 13);
  // Arriving on home again at the end of every look-around: an exclamation every 6 steps.
  EXPECT_EQ(g.Effects.size(), effectsBefore + 3);
  for (std::size_t e = effectsBefore; e < g.Effects.size(); ++e) EXPECT_EQ(g.Effects[e]->Bitmap, g.BmpSExclaim);
  EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(9, 1));
}

TEST(Movement, CreatureWithoutHomeStaysOnItsDestination) {
  GameFixture f;
  TForm1& g = BareField(f);
  g.SpawnMibbet(12, 12, 3);  // below the push: no home is ever set
  RunSteps(g, 14);
  const TMibbet& m = *g.Mibbets[0];
  EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(9, 1));
  EXPECT_TRUE(m.Arrived);
  EXPECT_EQ(m.LookPhase, 0);
  EXPECT_FALSE(m.LooksAround);
}

TEST(Movement, ShortPaceStepsOnInMidGlide) {
  // 28 px into a glide the picture stands on a tenth of a cell again: the step comes
  // without waiting for the glide to end.
  GameFixture f("EMIBBETBASESPEED=7\n");
  TForm1& g = BareField(f);
  g.SpawnMibbet(5, 15, 3);
  for (int t = 0; t < 14; ++t) g.UpdateMibbets();
  EXPECT_EQ(g.Mibbets[0]->CellY, 13);
}

TEST(Movement, FrozenCreatureHoldsBackEveryoneBeforeIt) {
  GameFixture f("DEBUG=1\n");
  TForm1& g = BareField(f);
  for (int x = 3; x <= 6; ++x) g.SpawnMibbet(x, 12, 3);
  for (auto& m : g.Mibbets) m->SetCellY(11);  // each has somewhere to glide
  g.Mibbets[2]->Active = false;
  g.UpdateMibbets();
  for (std::size_t k = 0; k < 4; ++k) {
    const bool updated = k == 3;
    EXPECT_EQ(g.Mibbets[k]->StepCounter, updated ? 1 : 0) << k;
    EXPECT_EQ(g.Mibbets[k]->Location.Top, updated ? 35.0f * 12 - 4 : 35.0f * 12) << k;
  }
  // The debug freeze stops every creature, but only in debug mode.
  g.Mibbets[2]->Active = true;
  g.DbgFreeze = true;
  g.UpdateMibbets();
  EXPECT_EQ(g.Mibbets[3]->StepCounter, 1);
  g.DEBUG = 0;
  g.UpdateMibbets();
  EXPECT_EQ(g.Mibbets[0]->StepCounter, 1);
}

TEST(Movement, SteppingOnATreeTramplesOnlyTheTreesThere) {
  GameFixture f;
  TForm1& g = BareField(f);
  const auto put = [&](int x, int y, ResourceKind kind, int picture) {
    g.Resources.push_back(std::make_unique<TSprite>(g.Playfield.Image));
    TSprite& r = *g.Resources.back();
    r.Resource = kind;
    g.ShowPicture(r, picture);
    r.SetCellX(x);
    r.SetCellY(y);
    r.Place();
  };
  put(7, 14, ResourceKind::Tree, g.BmpTree + 1);
  put(7, 14, ResourceKind::Rock, g.BmpRock);
  put(7, 14, ResourceKind::Tree, g.BmpTree);
  put(8, 14, ResourceKind::Tree, g.BmpTree);
  g.SpawnMibbet(7, 14, 2);
  const std::size_t effectsBefore = g.Effects.size();
  RunSteps(g, 1);
  ASSERT_EQ(g.Resources.size(), 2u);
  EXPECT_EQ(g.Resources[0]->Bitmap, g.BmpRock);
  EXPECT_EQ(g.Resources[1]->CellX, 8);
  ASSERT_EQ(g.Effects.size(), effectsBefore + 2);
  for (std::size_t e = effectsBefore; e < g.Effects.size(); ++e) {
    EXPECT_EQ(g.Effects[e]->Bitmap, g.BmpSplode);
    EXPECT_EQ(g.Effects[e]->FrameCount, 2);
    EXPECT_EQ(std::make_pair(g.Effects[e]->CellX, g.Effects[e]->CellY), std::make_pair(7, 14));
  }
}

// A creature tramples what is a tree, however it is drawn (a themed field may draw trees otherwise).
TEST(Movement, TramplesWhatIsATreeNotWhatIsDrawnAsOne) {
  struct Case {
    const char* name;
    ResourceKind kind;
    int TGameState::*picture;
    bool trampled;
  };
  const Case cases[] = {{"a tree drawn as a rock", ResourceKind::Tree, &TGameState::BmpRock, true},
                        {"a rock drawn as a tree", ResourceKind::Rock, &TGameState::BmpTree, false},
                        {"a gift drawn as a tree", ResourceKind::Gift, &TGameState::BmpTree, false}};
  for (const Case& c : cases) {
    GameFixture f;
    TForm1& g = BareField(f);
    g.Resources.push_back(std::make_unique<TSprite>(g.Playfield.Image));
    TSprite& r = *g.Resources.back();
    r.Resource = c.kind;
    g.ShowPicture(r, g.*c.picture);
    r.SetCellX(7);
    r.SetCellY(14);
    r.Place();
    g.SpawnMibbet(7, 14, 2);
    RunSteps(g, 1);
    EXPECT_EQ(g.Resources.empty(), c.trampled) << c.name;
  }
}

// ---- Signs ----

TEST(Movement, FinishedSignPushesFiveCellsClampedToTheField) {
  struct Case {
    int x, y, direction, destX, destY;
    const char* pushLine;
  };
  const Case cases[] = {
      {10, 10, 0, 10, 15, "Mibbet 0 sign 0 D_D 0 -5 "}, {10, 10, 1, 10, 5, "Mibbet 0 sign 0 D_U 0 5 "},
      {10, 10, 2, 5, 10, "Mibbet 0 sign 0 D_L 5 0 "},   {10, 10, 3, 15, 10, "Mibbet 0 sign 0 D_R -5 0 "},
      {2, 17, 0, 2, 19, "Mibbet 0 sign 0 D_D 0 -5 "},   {3, 2, 1, 3, 0, "Mibbet 0 sign 0 D_U 0 5 "},
      {2, 17, 2, 0, 17, "Mibbet 0 sign 0 D_L 5 0 "},    {17, 3, 3, 19, 3, "Mibbet 0 sign 0 D_R -5 0 "},
  };
  for (const Case& c : cases) {
    GameFixture f("DEBUG=1\n");
    TForm1& g = BareField(f);
    g.SpawnMibbet(c.x, c.y, 3);
    TMibbet& m = *g.Mibbets[0];
    m.ForceY = 0;
    TSign& sign = PutSign(g, c.x, c.y, c.direction);
    RunSteps(g, 1);
    const std::string where = std::to_string(c.x) + "," + std::to_string(c.y) + " dir " + std::to_string(c.direction);
    EXPECT_EQ(std::make_pair(m.DestX, m.DestY), std::make_pair(c.destX, c.destY)) << where;
    EXPECT_EQ(std::make_pair(m.HomeX, m.HomeY), std::make_pair(9, 1)) << where;
    EXPECT_TRUE(m.LooksAround);
    EXPECT_EQ(sign.SteeredIds, std::vector<int>{m.Id});
    EXPECT_TRUE(LogHasInOrder(g.DebugLog,
                              {"Mibbet 0 at sign 0", "Mibbet 0 not seen by sign 0", c.pushLine,
                               "Mibbet 0 target M0 now " + std::to_string(c.destX) + " " + std::to_string(c.destY)}))
        << where;
    // It leaves the sign in the same step.
    EXPECT_NE(std::make_pair(m.CellX, m.CellY), std::make_pair(c.x, c.y)) << where;
  }
}

TEST(Movement, SignPushesEachCreatureOnlyOnce) {
  // Up from (10, 10) onto a sign that sends it down again: back on the first sign, it is not
  // pushed a second time, but it looks around on arrival.
  GameFixture f("DEBUG=1\n");
  TForm1& g = BareField(f);
  g.SpawnMibbet(10, 10, 2);
  TMibbet& m = *g.Mibbets[0];
  TSign& up = PutSign(g, 10, 10, 1);
  TSign& down = PutSign(g, 10, 5, 0);
  RunSteps(g, 10);
  EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(10, 10));
  const std::size_t effectsBefore = g.Effects.size();
  m.LooksAround = false;
  RunSteps(g, 1);
  EXPECT_EQ(std::make_pair(m.DestX, m.DestY), std::make_pair(10, 10)) << "not pushed again";
  EXPECT_TRUE(m.LooksAround);
  EXPECT_TRUE(m.Arrived);
  EXPECT_EQ(g.Effects.size(), effectsBefore + 1) << "a full look-around, exclamation first";
  EXPECT_EQ(up.SteeredIds, std::vector<int>{m.Id});
  EXPECT_EQ(down.SteeredIds, std::vector<int>{m.Id});
  EXPECT_EQ(CountLines(g.DebugLog, "Mibbet 0 at sign 0"), 2);
  EXPECT_EQ(CountLines(g.DebugLog, "Mibbet 0 not seen by sign 0"), 1);
}

TEST(Movement, PlaceholderSignDoesNotSteer) {
  GameFixture f("DEBUG=1\n");
  TForm1& g = BareField(f);
  g.SpawnMibbet(10, 10, 3);
  TMibbet& m = *g.Mibbets[0];
  TSign& placeholder = PutSign(g, 10, 10, 2, false, PlaceholderSignAlpha);
  RunSteps(g, 1);
  EXPECT_EQ(std::make_pair(m.DestX, m.DestY), std::make_pair(9, 1));
  EXPECT_EQ(std::make_pair(m.HomeX, m.HomeY), std::make_pair(0, 0));
  EXPECT_FALSE(m.LooksAround);
  EXPECT_TRUE(placeholder.SteeredIds.empty());
  EXPECT_EQ(CountLines(g.DebugLog, "Mibbet 0 at sign 0"), 0);
}

// Whether a sign is built is the sign's own state; how faintly it is drawn is only its picture.
TEST(Movement, OnlyABuiltSignSteersHoweverItIsDrawn) {
  struct Case {
    const char* name;
    bool finished;
    int alpha;
  };
  const Case cases[] = {{"a placeholder drawn solid", false, FinishedSignAlpha},
                        {"a built sign drawn faintly", true, PlaceholderSignAlpha}};
  for (const Case& c : cases) {
    GameFixture f("DEBUG=1\n");
    TForm1& g = BareField(f);
    g.SpawnMibbet(10, 10, 3);
    TMibbet& m = *g.Mibbets[0];
    TSign& sign = PutSign(g, 10, 10, 2, c.finished, c.alpha);
    RunSteps(g, 1);
    EXPECT_EQ(m.LooksAround, c.finished) << c.name;
    EXPECT_EQ(sign.SteeredIds, c.finished ? std::vector<int>{m.Id} : std::vector<int>{}) << c.name;
    EXPECT_EQ(CountLines(g.DebugLog, "Mibbet 0 at sign 0"), c.finished ? 1 : 0) << c.name;
  }
}

TEST(Movement, StaleCreaturePositionIsSkipped) {
  GameFixture f;
  TForm1& g = BareField(f);
  g.SpawnMibbet(10, 10, 3);
  PutSign(g, 10, 10, 1);
  g.CheckCell(10, 10, 1);
  g.CheckCell(10, 10, -1);
  EXPECT_TRUE(g.Signs[0]->SteeredIds.empty());
  EXPECT_EQ(g.MibbetAt(1), nullptr);
}

}  // namespace
