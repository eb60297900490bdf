// The battle: what creatures shoot, their shots, turrets and the orb falling, creature death,
// turret fire, the hatred meter, and one unattended game from start to the orb's fall.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/bmp_file.h"
#include "tests/test_support.h"

namespace {

constexpr int kDefaultPace = 20;  // ticks between two steps of every kind by default

// Advances the creatures by whole steps at the default pace; like the tick, every update
// starts with fresh hit flags.
void RunSteps(TForm1& g, int steps) {
  for (int t = 0; t < steps * kDefaultPace; ++t) {
    g.ClearHitFlags();
    g.UpdateMibbets();
  }
}

// A playfield with no resources, no turrets and no creatures; the orb stays on (9, 0).
TForm1& ClearField(GameFixture& f) {
  TForm1& g = f.Game();
  g.Resources.clear();
  g.Turrets.clear();
  g.Mibbets.clear();
  return g;
}

void RemoveOrb(TForm1& g) {
  for (int e = int(g.Effects.size()) - 1; e >= 0; --e)
    if (g.Effects[std::size_t(e)].get() == g.Orb) g.RemoveEffectAt(e);
}

// A creature standing on (x, y) with no push and no home: it stays there unless told otherwise.
TMibbet& Put(TForm1& g, int x, int y, MibbetKind kind) {
  g.SpawnMibbet(x, y, TypeOfKind(kind));
  TMibbet& m = *g.Mibbets.back();
  m.ForceY = 0;
  m.DestX = x;
  m.DestY = y;
  return m;
}

// A turret that is not one of the base's, as a gathered gift leaves.
TSign& PutTurret(TForm1& g, int x, int y) {
  g.CreateTurret(x, y);
  return *g.Turrets.back();
}

int IndexOf(const TForm1& g, const TMibbet& m) {
  for (std::size_t i = 0; i < g.Mibbets.size(); ++i)
    if (g.Mibbets[i].get() == &m) return int(i);
  return -1;
}

std::vector<int> Ids(const TForm1& g) {
  std::vector<int> ids;
  for (const auto& m : g.Mibbets) ids.push_back(m->Id);
  return ids;
}

bool Alive(const TForm1& g, int id) {
  const std::vector<int> ids = Ids(g);
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

int Heard(GameFixture& f, const std::string& cue) {
  const auto& cues = f.Sim->Sound().Requested;
  return int(std::count(cues.begin(), cues.end(), cue));
}

int Explosions(GameFixture& f) { return Heard(f, "explosion1") + Heard(f, "explosion2"); }

// The three explosions made of the "Splode" pictures, all drawn opaque.
struct Splode {
  int Frames, Life;
};
constexpr Splode kHitFlash{2, 3};
constexpr Splode kDeath{7, 7};
constexpr Splode kOrbBlast{7, 14};

// Splode effects of one kind on one cell, as made (no update has run since).
int SplodesAt(const TForm1& g, int x, int y, Splode kind) {
  return int(std::count_if(g.Effects.begin(), g.Effects.end(), [&](const auto& e) {
    return e->Bitmap == g.BmpSplode && e->FrameCount == kind.Frames && e->Life == kind.Life && e->Alpha == 255 &&
           e->CellX == x && e->CellY == y;
  }));
}

// The beam's pixel at a point named by a cell and the pixels into it; 0 outside the beam.
Pixel BeamPixel(const TAnimKill& beam, int cellX, int cellY, int px, int py) {
  const BitmapLayer& layer = *beam.Layer;
  const int x = CellSize * cellX + px - int(layer.Location.Left);
  const int y = CellSize * cellY + py - int(layer.Location.Top);
  const Bitmap32& picture = layer.Picture();
  if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return 0;
  return layer.ShownAt(x, y);
}

LayerRect CellsRect(int x1, int y1, int x2, int y2) {
  return {float(CellSize * std::min(x1, x2)), float(CellSize * std::min(y1, y2)),
          float(CellSize * (std::max(x1, x2) + 1)), float(CellSize * (std::max(y1, y2) + 1))};
}

Bitmap32 AssetPicture(const TForm1& g, const std::string& file) {
  std::optional<Bitmap32> picture = ReadBmp(g.AssetDir + file);
  EXPECT_TRUE(picture.has_value()) << file;
  return picture ? *picture : Bitmap32(1, 1, 0);
}

// ---- Target choice ----

TEST(Targeting, TurretBeforeOrbBeforeHatedCreature) {
  // An F on (9, 1), in front of the orb, with an S below it; the base turrets are
  // 0 (8, 0), 1 (10, 0), 2 (8, 1), 3 (10, 1).
  struct Case {
    const char* name;
    std::function<void(TForm1&)> arrange;
    int target;
    TargetKind type;
  };
  const auto keepOnly = [](TForm1& g, int keep) {
    for (int t = 3; t >= 0; --t)
      if (t != keep) g.RemoveTurretAt(t);
  };
  const Case cases[] = {
      {"the whole base stands", [](TForm1&) {}, 3, TargetKind::Turret},
      {"one base turret left", [&](TForm1& g) { keepOnly(g, 0); }, 0, TargetKind::Turret},
      {"no turrets", [](TForm1& g) { g.Turrets.clear(); }, 1, TargetKind::Orb},
      {"a far gift turret does not shield the orb",
       [](TForm1& g) {
         g.Turrets.clear();
         PutTurret(g, 15, 15);
       },
       1, TargetKind::Orb},
      {"a gift turret in reach comes before the orb",
       [](TForm1& g) {
         g.Turrets.clear();
         PutTurret(g, 10, 2);
       },
       0, TargetKind::Turret},
      {"a base turret out of reach still shields the orb",
       [&](TForm1& g) {
         keepOnly(g, 1);
         g.Turrets[0]->SetCellX(15);
         g.Turrets[0]->SetCellY(15);
       },
       1, TargetKind::Creature},
      {"the tutorial never targets the orb",
       [](TForm1& g) {
         g.Turrets.clear();
         g.GameMode = ModeTutorial;
       },
       1, TargetKind::Creature},
      {"an orb without health is out of reach",
       [](TForm1& g) {
         g.Turrets.clear();
         g.Orb->Health = 0;
       },
       1, TargetKind::Creature},
      {"no orb at all",
       [](TForm1& g) {
         g.Turrets.clear();
         RemoveOrb(g);
       },
       1, TargetKind::Creature},
      {"nothing to shoot in the tutorial",
       [](TForm1& g) {
         g.Turrets.clear();
         g.GameMode = ModeTutorial;
         g.Mibbets.pop_back();
       },
       -1, TargetKind::Orb},
  };
  for (const Case& c : cases) {
    GameFixture f;
    TForm1& g = f.Game();
    g.Resources.clear();
    TMibbet& hunter = Put(g, 9, 1, KindF);
    Put(g, 9, 2, KindS);
    c.arrange(g);
    hunter.TargetType = TargetKind::Orb;  // what a search that finds nothing must leave alone
    EXPECT_EQ(g.AcquireTarget(0), c.target) << c.name;
    EXPECT_EQ(hunter.TargetType, c.type) << c.name;
  }
}

TEST(Targeting, ReachIsTheBlockOfNineCellsAroundTheCreature) {
  struct Case {
    int dx, dy;
    bool inReach;
  };
  const Case cases[] = {{0, 0, true},  {1, 1, true},  {-1, -1, true}, {1, -1, true}, {-1, 1, true},  {0, 1, true},
                        {-1, 0, true}, {2, 0, false}, {0, -2, false}, {2, 2, false}, {-2, 1, false}, {1, 2, false}};
  GameFixture f;
  TForm1& g = ClearField(f);
  for (const Case& c : cases) {
    const std::string where = std::to_string(c.dx) + "," + std::to_string(c.dy);
    // A hated creature there.
    g.Mibbets.clear();
    g.Turrets.clear();
    Put(g, 10, 10, KindS);
    Put(g, 10 + c.dx, 10 + c.dy, KindE);
    EXPECT_EQ(g.AcquireTarget(0), c.inReach ? 1 : -1) << "creature at " << where;
    // A turret there.
    g.Mibbets.pop_back();
    PutTurret(g, 10 + c.dx, 10 + c.dy);
    EXPECT_EQ(g.AcquireTarget(0), c.inReach ? 0 : -1) << "turret at " << where;
  }
  // The orb on (9, 0), once the base turrets are gone.
  const Case orbCases[] = {{1, 1, true},  {-1, 1, true}, {0, 1, true},  {1, 0, true},
                           {0, 2, false}, {2, 0, false}, {2, 1, false}, {-2, 2, false}};
  for (const Case& c : orbCases) {
    g.Mibbets.clear();
    g.Turrets.clear();
    Put(g, 9 + c.dx, c.dy, KindF);
    EXPECT_EQ(g.AcquireTarget(0), c.inReach ? 1 : -1) << "orb from " << c.dx << "," << c.dy;
  }
}

TEST(Targeting, HighestListPositionWinsATie) {
  GameFixture f;
  TForm1& g = ClearField(f);
  // Creatures: S 0 and S 2 in reach, the F hunter at 1, S 3 out of reach.
  Put(g, 9, 9, KindS);
  TMibbet& hunter = Put(g, 10, 10, KindF);
  Put(g, 11, 11, KindS);
  Put(g, 12, 10, KindS);
  EXPECT_EQ(g.AcquireTarget(IndexOf(g, hunter)), 2);
  Put(g, 10, 11, KindS);
  EXPECT_EQ(g.AcquireTarget(IndexOf(g, hunter)), 4);
  // Turrets: 0 and 1 in reach, 2 not.
  PutTurret(g, 9, 10);
  PutTurret(g, 11, 9);
  PutTurret(g, 13, 13);
  EXPECT_EQ(g.AcquireTarget(IndexOf(g, hunter)), 1);
  EXPECT_EQ(hunter.TargetType, TargetKind::Turret);
}

TEST(Targeting, HatredStateDecidesWhichKindIsHunted) {
  struct Case {
    int state;
    MibbetKind hunter;
    int prey;  // a kind, or -1 for none
  };
  const Case cases[] = {{1, KindF, KindS}, {1, KindS, KindE}, {1, KindE, KindF}, {2, KindF, KindE}, {2, KindS, KindF},
                        {2, KindE, KindS}, {0, KindF, -1},    {3, KindS, -1},    {-1, KindE, -1}};
  GameFixture f;
  TForm1& g = ClearField(f);
  for (const Case& c : cases) {
    g.Mibbets.clear();
    g.HatredState = c.state;
    // Every kind next to the hunter, its own included; the hunter is listed last.
    Put(g, 9, 10, KindF);
    Put(g, 11, 10, KindS);
    Put(g, 10, 11, KindE);
    Put(g, 10, 10, c.hunter);
    const int target = g.AcquireTarget(3);
    const std::string name = "state " + std::to_string(c.state) + " hunter " + std::to_string(c.hunter);
    if (c.prey < 0) {
      EXPECT_EQ(target, -1) << name;
      continue;
    }
    ASSERT_GE(target, 0) << name;
    ASSERT_LT(target, 3) << name;
    EXPECT_EQ(g.Mibbets[std::size_t(target)]->Kind, c.prey) << name;
    EXPECT_EQ(g.Mibbets[3]->TargetType, TargetKind::Creature) << name;
  }
  // Alone among its own kind, a creature has nothing to shoot, whatever the state.
  for (int state = 1; state <= 2; ++state) {
    g.Mibbets.clear();
    g.HatredState = state;
    Put(g, 10, 10, KindS);
    Put(g, 10, 11, KindS);
    EXPECT_EQ(g.AcquireTarget(0), -1);
    EXPECT_EQ(g.AcquireTarget(1), -1);
  }
}

TEST(Targeting, CreatureThatCannotAttackFindsNothingAndLogsNothing) {
  GameFixture f("DEBUG=1\n");
  TForm1& g = f.Game();
  g.Resources.clear();
  TMibbet& hunter = Put(g, 9, 1, KindF);  // between the base turrets
  TMibbet& prey = Put(g, 9, 2, KindS);
  hunter.CanAttack = prey.CanAttack = false;
  hunter.TargetType = TargetKind::Orb;
  g.DebugLog.clear();
  EXPECT_EQ(g.AcquireTarget(0), -1);
  EXPECT_EQ(hunter.TargetType, TargetKind::Orb);
  EXPECT_TRUE(g.DebugLog.empty());
  // Nor does it shoot when its steps come.
  RunSteps(g, 2);
  EXPECT_TRUE(g.KillAnims.empty());
  for (const auto& t : g.Turrets) EXPECT_EQ(t->Health, 10.0);
}

TEST(Targeting, DebugLinesNameTheCreatureItsPushAndItsTarget) {
  // The hunter is creature 1, on (9, 1) when it may reach the base, else on (5, 5).
  struct Case {
    const char* name;
    const char* settings;
    bool nearBase, turrets, prey;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"turret", "DEBUG=1\n", true, true, true, {"Mibbet 1 force params -3 4", "Mibbet 1 acquired target type 1 id 3"}},
      {"orb", "DEBUG=1\n", true, false, true, {"Mibbet 1 force params -3 4", "Mibbet 1 acquired target type 2 id 1"}},
      {"creature",
       "DEBUG=1\n",
       false,
       false,
       true,
       {"Mibbet 1 force params -3 4", "Mibbet 1 acquired target type 0 id 2"}},
      {"nothing", "DEBUG=1\n", false, false, false, {"Mibbet 1 force params -3 4"}},
      {"debug off", "DEBUG=0\n", true, true, true, {}},
  };
  for (const Case& c : cases) {
    GameFixture f(c.settings);
    TForm1& g = f.Game();
    g.Resources.clear();
    if (!c.turrets) g.Turrets.clear();
    const int x = c.nearBase ? 9 : 5, y = c.nearBase ? 1 : 5;
    Put(g, 15, 15, KindF);  // far away, only to take position 0
    TMibbet& hunter = Put(g, x, y, KindF);
    if (c.prey) Put(g, x, y + 1, KindS);
    hunter.ForceX = -3;
    hunter.ForceY = 4;
    g.DebugLog.clear();
    g.AcquireTarget(1);
    EXPECT_EQ(DebugLines(g), c.lines) << c.name;
  }
}

// ---- The shot ----

TEST(Shot, BeamSoundAndShotStrengthForEachKindOfTarget) {
  struct Case {
    const char* name;
    TargetKind type;
    int shooterX, shooterY, targetX, targetY;
    int endOffset;  // pixels into the target's cell where the beam ends
    double healthBefore;
  };
  const Case cases[] = {
      {"creature", TargetKind::Creature, 10, 10, 9, 11, 10, 15.0},
      {"turret", TargetKind::Turret, 10, 10, 9, 11, 10, 10.0},
      {"orb", TargetKind::Orb, 8, 1, 9, 0, 17, 30.0},
  };
  for (const Case& c : cases) {
    GameFixture f("MIBBETSHOTSTRENGTH=2.5\n");
    TForm1& g = ClearField(f);
    TMibbet& shooter = Put(g, c.shooterX, c.shooterY, KindF);
    const std::function<double()> health = [&]() -> double {
      switch (c.type) {
        case TargetKind::Creature:
          return g.Mibbets.size() > 1 ? g.Mibbets[1]->Health : -99;
        case TargetKind::Turret:
          return g.Turrets.empty() ? -99 : g.Turrets[0]->Health;
        case TargetKind::Orb:
          return g.Orb->Health;
      }
      return -99;
    };
    if (c.type == TargetKind::Creature) Put(g, c.targetX, c.targetY, KindS);
    if (c.type == TargetKind::Turret) PutTurret(g, c.targetX, c.targetY);
    ASSERT_EQ(health(), c.healthBefore) << c.name;
    f.Sim->Sound().Requested.clear();

    RunSteps(g, 1);
    EXPECT_EQ(shooter.TargetType, c.type) << c.name;
    EXPECT_DOUBLE_EQ(health(), c.healthBefore - 2.5) << c.name;
    EXPECT_EQ(SplodesAt(g, c.targetX, c.targetY, kHitFlash), 1) << c.name;
    EXPECT_EQ(Heard(f, "beamshot1"), 1) << c.name;
    EXPECT_FALSE(shooter.Engaged) << c.name;
    EXPECT_EQ(std::make_pair(shooter.CellX, shooter.CellY), std::make_pair(c.shooterX, c.shooterY)) << c.name;

    ASSERT_EQ(g.KillAnims.size(), 1u) << c.name;
    const TAnimKill& beam = *g.KillAnims[0];
    EXPECT_EQ(beam.Life, 4) << c.name;
    EXPECT_EQ(beam.Layer->Location, CellsRect(c.shooterX, c.shooterY, c.targetX, c.targetY)) << c.name;
    EXPECT_GT(g.Playfield.Image.IndexOf(beam.Layer), g.Playfield.Image.IndexOf(shooter.Layer))
        << c.name << ": drawn over the creatures";
    // From the middle of the shooter's cell, in its beam colour moved by one jitter.
    const Pixel from = BeamPixel(beam, c.shooterX, c.shooterY, 17, 17);
    EXPECT_EQ(PixelAlpha(from), 255) << c.name;
    EXPECT_EQ(PixelRed(from), PixelGreen(from)) << c.name;
    EXPECT_EQ(PixelGreen(from), PixelBlue(from)) << c.name;
    EXPECT_LE(std::abs(PixelRed(from) - PixelRed(shooter.BeamColour)), 30) << c.name;
    EXPECT_EQ(PixelAlpha(BeamPixel(beam, c.targetX, c.targetY, c.endOffset, c.endOffset)), 255) << c.name;
  }
}

TEST(Shot, TwoShotsAtOneTurretInOneTickDrawTwoBeamsButHitOnce) {
  GameFixture f;
  TForm1& g = ClearField(f);
  Put(g, 9, 10, KindF);
  Put(g, 11, 10, KindF);
  TSign& turret = PutTurret(g, 10, 11);
  RunSteps(g, 1);
  EXPECT_EQ(g.KillAnims.size(), 2u);
  EXPECT_EQ(turret.Health, 9.0);
  EXPECT_TRUE(turret.HitThisTick);
  EXPECT_EQ(SplodesAt(g, 10, 11, kHitFlash), 1);
  // The next step hits it again, once.
  RunSteps(g, 1);
  EXPECT_EQ(g.KillAnims.size(), 4u);
  EXPECT_EQ(turret.Health, 8.0);
  EXPECT_EQ(SplodesAt(g, 10, 11, kHitFlash), 2);
}

TEST(Shot, ShooterNeverWalksAndStandsThreeStepsAfterItsLastShot) {
  GameFixture f("TURRETHEALTH=1000\n");
  TForm1& g = ClearField(f);
  TMibbet& m = Put(g, 10, 10, KindF);
  m.DestY = 5;
  PutTurret(g, 11, 10);
  RunSteps(g, 5);
  EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(10, 10));
  EXPECT_EQ(g.Turrets[0]->Health, 995.0);
  g.Turrets.clear();
  for (int step = 1; step <= 3; ++step) {
    RunSteps(g, 1);
    EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(10, 10)) << "step " << step;
  }
  RunSteps(g, 1);
  EXPECT_EQ(std::make_pair(m.CellX, m.CellY), std::make_pair(10, 9));
}

// ---- Turrets and the orb falling ----

TEST(Defences, TurretAtZeroExplodesAndGoesWithoutScoreOrScrap) {
  GameFixture f("MIBBETSCRAPPERC=99\n");
  TForm1& g = ClearField(f);
  TMibbet& shooter = Put(g, 10, 10, KindF);
  PutTurret(g, 11, 10).Health = 1.0;
  const std::string scoreText = g.imScore.LastText;
  f.Sim->Sound().Requested.clear();
  RunSteps(g, 1);
  EXPECT_TRUE(g.Turrets.empty());
  EXPECT_EQ(Explosions(f), 1);
  EXPECT_EQ(SplodesAt(g, 11, 10, kDeath), 1);
  EXPECT_EQ(g.Score, 0);
  EXPECT_EQ(g.imScore.LastText, scoreText);
  EXPECT_TRUE(g.Resources.empty());
  // Nothing left to shoot: the next steps fire no beam.
  RunSteps(g, 2);
  EXPECT_EQ(g.KillAnims.size(), 1u);
  EXPECT_FALSE(shooter.Engaged);
}

TEST(Defences, OrbAtZeroHidesItAndStartsTheGameEndingBlast) {
  GameFixture f;
  TForm1& g = ClearField(f);
  TMibbet& shooter = Put(g, 9, 1, KindE);
  g.Orb->Health = 1.0;
  TSprite* orb = g.Orb;
  f.Sim->Sound().Requested.clear();
  RunSteps(g, 1);
  EXPECT_LE(orb->Health, 0.0);
  EXPECT_FALSE(orb->Visible);
  EXPECT_FALSE(orb->Layer->Visible);
  EXPECT_EQ(g.Orb, orb) << "the orb stays among the effects";
  EXPECT_NE(std::find_if(g.Effects.begin(), g.Effects.end(), [&](const auto& e) { return e.get() == orb; }),
            g.Effects.end());
  EXPECT_EQ(Explosions(f), 1);
  EXPECT_EQ(SplodesAt(g, 9, 0, kOrbBlast), 1);
  for (const auto& e : g.Effects)
    if (e->FrameCount == kOrbBlast.Frames && e->Life == kOrbBlast.Life) {
      EXPECT_TRUE(e->EndsGame);
    }
  // Never in reach again.
  const double left = orb->Health;
  RunSteps(g, 3);
  EXPECT_EQ(g.KillAnims.size(), 1u);
  EXPECT_EQ(orb->Health, left);
  EXPECT_EQ(g.AcquireTarget(IndexOf(g, shooter)), -1);
  EXPECT_FALSE(orb->Visible);
}

TEST(Defences, InvincibilityInDebugModeShowsHitsButKeepsHealth) {
  struct Case {
    const char* settings;
    bool invincible;
    double loss;
  };
  const Case cases[] = {{"DEBUG=1\n", true, 0.0}, {"DEBUG=0\n", true, 1.0}, {"DEBUG=1\n", false, 1.0}};
  for (const Case& c : cases) {
    GameFixture f(c.settings);
    TForm1& g = f.Game();
    g.DbgInvincible = c.invincible;
    const std::string name = std::string(c.settings) + (c.invincible ? " invincible" : "");
    TSign& turret = *g.Turrets[2];
    // A second hit in the same tick does nothing, not even a flash.
    for (int tick = 1; tick <= 2; ++tick) {
      g.ClearHitFlags();
      g.DamageTurret(2);
      g.DamageTurret(2);
      g.DamageOrb();
      g.DamageOrb();
      EXPECT_EQ(turret.Health, 10.0 - tick * c.loss) << name;
      EXPECT_EQ(g.Orb->Health, 30.0 - tick * c.loss) << name;
      EXPECT_EQ(SplodesAt(g, turret.CellX, turret.CellY, kHitFlash), tick) << name;
      EXPECT_EQ(SplodesAt(g, 9, 0, kHitFlash), tick) << name;
    }
  }
}

// ---- Creature death ----

TEST(Death, HitFlashesAndOnlyOneHitPerTick) {
  GameFixture f;
  TForm1& g = ClearField(f);
  TMibbet& m = Put(g, 6, 7, KindS);
  g.DamageMibbet(0, Shooter::Creature, 1.0);
  EXPECT_EQ(m.Health, 14.0);
  EXPECT_EQ(SplodesAt(g, 6, 7, kHitFlash), 1);
  g.DamageMibbet(0, Shooter::Turret, 1.0);
  g.DamageMibbet(0, Shooter::Creature, 20.0);
  EXPECT_EQ(m.Health, 14.0);
  EXPECT_EQ(SplodesAt(g, 6, 7, kHitFlash), 1) << "no flash for a hit that does nothing";
  g.ClearHitFlags();
  g.DamageMibbet(0, Shooter::Turret, 1.0);
  EXPECT_EQ(m.Health, 13.0);
  EXPECT_EQ(SplodesAt(g, 6, 7, kHitFlash), 2);
}

TEST(Death, DiesAtTheLastShotItsHealthAllowsAndScoresByShooter) {
  struct Case {
    const char* settings;
    bool byTurret;
    int hitsToDie;
    int scored;
  };
  const Case cases[] = {
      {"", false, 15, 50},
      // 0.1 taken 150 times from 15 leaves a tiny positive remainder.
      {"", true, 151, 10},
      {"MIBBETKILL=7\nMIBBETSHOTSTRENGTH=4\n", false, 4, 7},
      {"TURRETKILL=3\nTURRETSHOTSTRENGTH=0.5\nBASEMIBBETHEALTH=2\n", true, 4, 3},
  };
  for (const Case& c : cases) {
    GameFixture f(c.settings);
    TForm1& g = ClearField(f);
    const std::string name = std::string(c.settings) + (c.byTurret ? " turret" : " creature");
    const int preyId = Put(g, 11, 10, KindS).Id;
    if (c.byTurret) PutTurret(g, 12, 11);
    else Put(g, 10, 10, KindF);
    g.Score = 1000;
    const auto hit = [&] {
      if (c.byTurret) {
        g.ClearHitFlags();
        g.TurretsFire();
      } else {
        RunSteps(g, 1);
      }
    };
    for (int k = 1; k < c.hitsToDie; ++k) hit();
    ASSERT_TRUE(Alive(g, preyId)) << name;
    EXPECT_GT(g.Mibbets[0]->Health, 0.0) << name;
    f.Sim->Sound().Requested.clear();
    hit();
    EXPECT_FALSE(Alive(g, preyId)) << name;
    EXPECT_EQ(g.Score, 1000 + c.scored) << name;
    EXPECT_EQ(g.imScore.LastText, std::to_string(1000 + c.scored)) << name;
    EXPECT_EQ(Explosions(f), 1) << name;
    EXPECT_EQ(SplodesAt(g, 11, 10, kDeath), 1) << name;
  }
}

TEST(Death, ScrapChanceAlwaysOrNeverLeavesAPile) {
  struct Case {
    const char* settings;
    bool drops;
  };
  const Case cases[] = {{"MIBBETSCRAPPERC=99\n", true},
                        {"MIBBETSCRAPPERC=100\n", true},
                        {"MIBBETSCRAPPERC=-1\n", false},
                        {"MIBBETSCRAPPERC=-500\n", false}};
  for (const Case& c : cases) {
    GameFixture f(c.settings);
    TForm1& g = ClearField(f);
    for (int x = 0; x < 12; ++x) {
      Put(g, x, 6, KindE);
      g.DamageMibbet(0, Shooter::Creature, 100.0);
      ASSERT_TRUE(g.Mibbets.empty());
    }
    ASSERT_EQ(g.Resources.size(), c.drops ? 12u : 0u) << c.settings;
    for (std::size_t k = 0; k < g.Resources.size(); ++k) {
      const TSprite& pile = *g.Resources[k];
      EXPECT_EQ(pile.Bitmap, g.BmpScrap) << c.settings;
      EXPECT_EQ(std::make_pair(pile.CellX, pile.CellY), std::make_pair(int(k), 6)) << c.settings;
    }
  }
}

TEST(Death, MarkedCreatureDiesInTheTutorialWithoutTrouble) {
  GameFixture f;
  TForm1& g = ClearField(f);
  g.GameMode = ModeTutorial;
  TMibbet& m = Put(g, 4, 4, KindF);
  m.TutorialMark = true;
  const int id = m.Id;
  g.DamageMibbet(0, Shooter::Creature, 100.0);
  EXPECT_FALSE(Alive(g, id));
}

TEST(Death, KillOfAnEarlierCreatureVisitsTheShooterAgain) {
  struct Case {
    bool preyListedFirst;
    int shooterCounterAfter;  // 1: visited a second time right after its step
  };
  for (const Case c : {Case{true, 1}, Case{false, 0}}) {
    GameFixture f;
    TForm1& g = ClearField(f);
    TMibbet* prey = nullptr;
    TMibbet* shooter = nullptr;
    if (c.preyListedFirst) prey = &Put(g, 11, 10, KindS);
    shooter = &Put(g, 10, 10, KindF);
    if (!c.preyListedFirst) prey = &Put(g, 11, 10, KindS);
    TMibbet& bystander = Put(g, 3, 15, KindE);
    prey->Health = 1.0;
    const int preyId = prey->Id, shooterId = shooter->Id, bystanderId = bystander.Id;
    RunSteps(g, 1);
    EXPECT_EQ(Ids(g), (std::vector<int>{shooterId, bystanderId})) << c.preyListedFirst;
    EXPECT_FALSE(Alive(g, preyId));
    EXPECT_EQ(shooter->StepCounter, c.shooterCounterAfter) << c.preyListedFirst;
    EXPECT_EQ(bystander.StepCounter, 0);
    EXPECT_EQ(g.Score, 50);
    // Both go on stepping normally afterwards.
    RunSteps(g, 1);
    EXPECT_EQ(Ids(g), (std::vector<int>{shooterId, bystanderId}));
  }
}

TEST(Death, StalePositionsAreSkipped) {
  GameFixture f;
  TForm1& g = ClearField(f);
  TMibbet& m = Put(g, 10, 10, KindF);
  struct Case {
    TargetKind type;
    int index;
  };
  const Case cases[] = {{TargetKind::Creature, 1}, {TargetKind::Creature, 7}, {TargetKind::Creature, -1},
                        {TargetKind::Turret, 0},   {TargetKind::Turret, 9},   {TargetKind::Orb, -1}};
  const std::size_t effects = g.Effects.size();
  for (const Case& c : cases) {
    m.Engaged = true;
    m.TargetType = c.type;
    m.TargetIndex = c.index;
    g.FireShot(0);
    EXPECT_FALSE(m.Engaged);
  }
  g.DamageMibbet(1, Shooter::Creature, 100.0);
  g.DamageMibbet(-1, Shooter::Turret, 100.0);
  g.DamageTurret(0);
  g.DamageTurret(-3);
  EXPECT_EQ(g.AcquireTarget(5), -1);
  g.FireShot(5);
  g.FireShot(-1);
  // Without an orb at all, a shot at it and damage to it do nothing.
  RemoveOrb(g);
  m.Engaged = true;
  m.TargetType = TargetKind::Orb;
  m.TargetIndex = 1;
  g.FireShot(0);
  g.DamageOrb();
  EXPECT_TRUE(g.KillAnims.empty());
  EXPECT_EQ(g.Effects.size(), effects - 1);
  EXPECT_EQ(m.Health, 15.0);
  EXPECT_EQ(g.Score, 0);
  EXPECT_EQ(g.Mibbets.size(), 1u);
}

// ---- Turret fire ----

TEST(TurretFire, EveryCreatureInTheBlockIncludingTheTurretsOwnCellGetsABlueBeam) {
  struct Spot {
    int dx, dy;
    bool inReach;
  };
  const Spot spots[] = {{0, 0, true},  {1, 1, true},   {-1, 0, true},  {1, -1, true},
                        {2, 0, false}, {0, -2, false}, {-2, 2, false}, {2, 1, false}};
  GameFixture f("BASEMIBBETHEALTH=100\n");
  TForm1& g = ClearField(f);
  PutTurret(g, 10, 10);
  for (const Spot& s : spots) Put(g, 10 + s.dx, 10 + s.dy, KindE);
  g.TurretsFire();
  std::vector<LayerRect> expectedRects;
  for (std::size_t k = 0; k < std::size(spots); ++k) {
    const Spot& s = spots[k];
    EXPECT_DOUBLE_EQ(g.Mibbets[k]->Health, s.inReach ? 100.0 - 0.1 : 100.0) << s.dx << "," << s.dy;
    if (s.inReach) expectedRects.push_back(CellsRect(10, 10, 10 + s.dx, 10 + s.dy));
  }
  ASSERT_EQ(g.KillAnims.size(), expectedRects.size());
  for (const Spot& s : spots) {
    if (!s.inReach) continue;
    const LayerRect rect = CellsRect(10, 10, 10 + s.dx, 10 + s.dy);
    const auto beam =
        std::find_if(g.KillAnims.begin(), g.KillAnims.end(), [&](const auto& b) { return b->Layer->Location == rect; });
    ASSERT_NE(beam, g.KillAnims.end()) << s.dx << "," << s.dy;
    // From the turret's muzzle to the middle of the creature's cell, pure blue moved by a jitter.
    const Pixel from = BeamPixel(**beam, 10, 10, 17, 5);
    EXPECT_EQ(PixelAlpha(from), 255);
    EXPECT_EQ(PixelRed(from), PixelGreen(from));
    EXPECT_GE(PixelBlue(from) - PixelRed(from), 225);
    EXPECT_EQ(PixelAlpha(BeamPixel(**beam, 10 + s.dx, 10 + s.dy, 17, 17)), 255);
  }
}

TEST(TurretFire, ThreeTurretsDrawThreeBeamsButTakeOneShotPerTick) {
  GameFixture f;
  TForm1& g = ClearField(f);
  PutTurret(g, 9, 9);
  PutTurret(g, 11, 9);
  PutTurret(g, 10, 11);
  TMibbet& m = Put(g, 10, 10, KindS);
  for (int tick = 1; tick <= 3; ++tick) {
    g.ClearHitFlags();
    g.TurretsFire();
    EXPECT_EQ(g.KillAnims.size(), std::size_t(3 * tick));
    EXPECT_NEAR(m.Health, 15.0 - 0.1 * tick, 1e-9);
  }
  // A creature already hit by a creature's shot in this tick takes no turret damage.
  g.ClearHitFlags();
  g.DamageMibbet(0, Shooter::Creature, 1.0);
  g.TurretsFire();
  EXPECT_NEAR(m.Health, 15.0 - 0.3 - 1.0, 1e-9);
}

TEST(TurretFire, OneVolleyKillsEveryWeakCreatureInReachAndSparesTheRest) {
  GameFixture f;
  TForm1& g = ClearField(f);
  PutTurret(g, 10, 10);
  const auto weak = [&](int x, int y) {
    TMibbet& m = Put(g, x, y, KindF);
    m.Health = 0.05;
    return m.Id;
  };
  weak(9, 10);
  const int far = weak(14, 10);
  weak(10, 10);
  weak(11, 11);
  const int strong = Put(g, 10, 9, KindS).Id;
  g.TurretsFire();
  EXPECT_EQ(Ids(g), (std::vector<int>{far, strong}));
  EXPECT_EQ(g.Score, 30);
  EXPECT_EQ(g.imScore.LastText, "30");
}

TEST(TurretFire, TurretSoundAtMostOncePerHalfSecondHoweverManyFire) {
  GameFixture f("INITDELAY=100000\nDEBUG=1\nBASEMIBBETHEALTH=1000\n");
  f.StartPlaying();
  TForm1& g = ClearField(f);
  g.DbgFreeze = true;  // the creature stands still and shoots nothing
  PutTurret(g, 9, 9);
  PutTurret(g, 11, 9);
  PutTurret(g, 10, 11);
  TMibbet& m = Put(g, 10, 10, KindS);
  f.Sim->Sound().Requested.clear();
  f.Sim->Wait(2000);  // 40 ticks, 120 turret shots
  EXPECT_EQ(Heard(f, "turret"), 4);
  EXPECT_NEAR(m.Health, 1000.0 - 40 * 0.1, 1e-6);
}

// ---- The hatred meter ----

TEST(Hatred, WarningsComeAtShrinkingGapsDownToFortySecondsAndEachFlipsTheCircle) {
  GameFixture f("INITDELAY=100000\n");
  TForm1& g = f.Game();
  f.StartPlaying();
  EXPECT_TRUE(g.tmrRHS.Enabled());
  EXPECT_EQ(g.tmrRHS.Interval(), 120000);
  const Bitmap32 pictures[3] = {Bitmap32(1, 1, 0), AssetPicture(g, "rhs1.bmp"), AssetPicture(g, "rhs2.bmp")};
  const auto waitUntil = [&](std::int64_t ms) { f.Sim->Wait(ms - f.Sim->Time().NowMs()); };
  std::vector<int> gaps;
  for (int s = 120; s >= 40; s -= 5) gaps.push_back(s);
  gaps.push_back(40);
  gaps.push_back(40);
  std::int64_t warning = 0;
  for (std::size_t k = 0; k < gaps.size(); ++k) {
    const int gap = gaps[k] * 1000;
    const int state = g.HatredState;
    f.Sim->Sound().Requested.clear();
    waitUntil(warning + gap - 1);
    EXPECT_FALSE(g.spHatred.Visible) << "gap " << gaps[k];
    EXPECT_EQ(Heard(f, "hatewarning"), 0) << "gap " << gaps[k];
    warning += gap;
    waitUntil(warning);
    EXPECT_TRUE(g.spHatred.Visible) << "gap " << gaps[k];
    EXPECT_EQ(Heard(f, "hatewarning"), 1) << "gap " << gaps[k];
    EXPECT_EQ(g.tmrRHS.Interval(), std::max(gap - 5000, 40000)) << "gap " << gaps[k];
    waitUntil(warning + 650);
    EXPECT_EQ(g.HatredState, state) << "gap " << gaps[k];
    waitUntil(warning + 750);
    EXPECT_EQ(g.HatredState, 3 - state) << "gap " << gaps[k];
    EXPECT_FALSE(g.spHatred.Visible) << "gap " << gaps[k];
    EXPECT_TRUE(g.imHatred.Image.Bitmap == pictures[g.HatredState]) << "gap " << gaps[k];
  }
}

TEST(Hatred, WarningSoundsExceptAfterGameOverAndTheFlipGoesBothWays) {
  struct Case {
    GameModeId mode;
    int from;
    bool sound;
  };
  const Case cases[] = {
      {ModePlaying, 1, true}, {ModePlaying, 2, true}, {ModeTutorial, 2, true}, {ModeGameOver, 1, false}};
  for (const Case& c : cases) {
    GameFixture f("INITDELAY=100000\n");
    TForm1& g = f.Game();
    g.GameMode = c.mode;
    g.HatredState = c.from;
    g.SetHatred();
    const Bitmap32 before = AssetPicture(g, c.from == 1 ? "rhs1.bmp" : "rhs2.bmp");
    const Bitmap32 after = AssetPicture(g, c.from == 1 ? "rhs2.bmp" : "rhs1.bmp");
    ASSERT_FALSE(before == after);
    EXPECT_TRUE(g.imHatred.Image.Bitmap == before);
    f.Sim->Sound().Requested.clear();
    g.tmrRHSTimer();
    const std::string name = "mode " + std::to_string(c.mode) + " from " + std::to_string(c.from);
    EXPECT_TRUE(g.spHatred.Visible) << name;
    EXPECT_EQ(g.spHatred.Tag, 0) << name;
    EXPECT_EQ(Heard(f, "hatewarning"), c.sound ? 1 : 0) << name;
    for (int tick = 1; tick <= 14; ++tick) g.tmrTickTimer();
    EXPECT_EQ(g.HatredState, c.from) << name;
    EXPECT_TRUE(g.imHatred.Image.Bitmap == before) << name;
    g.tmrTickTimer();
    EXPECT_EQ(g.HatredState, 3 - c.from) << name;
    EXPECT_TRUE(g.imHatred.Image.Bitmap == after) << name;
  }
}

TEST(Hatred, OldCircleDecidesTargetsUntilTheFlip) {
  // An F that steps every tick between an S and an E, which stand still and shoot nothing.
  GameFixture f("INITDELAY=100000\nBASEMIBBETHEALTH=100\n");
  TForm1& g = ClearField(f);
  TMibbet& s = Put(g, 9, 10, KindS);
  TMibbet& e = Put(g, 11, 10, KindE);
  TMibbet& hunter = Put(g, 10, 10, KindF);
  s.CanAttack = e.CanAttack = false;
  hunter.StepInterval = 1;
  g.tmrRHSTimer();
  // The flip comes at the end of the 15th tick, after the creatures' steps.
  for (int tick = 1; tick <= 15; ++tick) g.tmrTickTimer();
  EXPECT_EQ(g.HatredState, 2);
  EXPECT_DOUBLE_EQ(s.Health, 100.0 - 15);
  EXPECT_DOUBLE_EQ(e.Health, 100.0);
  g.tmrTickTimer();
  EXPECT_DOUBLE_EQ(s.Health, 100.0 - 15);
  EXPECT_DOUBLE_EQ(e.Health, 100.0 - 1);
}

// ---- A whole game ----

TEST(WholeGame, UnattendedBaseLosesItsTurretsFirstAndThenTheOrb) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  const double orbHealth = g.Orb->Health;
  const auto baseTurrets = [&] {
    return int(std::count_if(g.Turrets.begin(), g.Turrets.end(), [](const auto& t) { return t->BaseTurret; }));
  };
  // Watched tick by tick, so that no hit on the orb can hide between two looks; a lost game
  // takes well under a simulated minute, and the cap is 40.
  constexpr std::int64_t kCapMs = 40 * 60 * 1000;
  int standing = baseTurrets();
  ASSERT_EQ(standing, 4);
  int ticksWithoutTurrets = 0;
  while (f.Sim->Time().NowMs() < kCapMs) {
    f.Sim->Wait(50);
    ASSERT_NE(g.Orb, nullptr);
    const int now = baseTurrets();
    ASSERT_LE(now, standing) << "turrets are never rebuilt";
    standing = now;
    if (standing > 0) {
      ASSERT_EQ(g.Orb->Health, orbHealth) << "the orb was hit while a base turret stood, tick " << g.TickCount;
    } else {
      ++ticksWithoutTurrets;
    }
    if (g.Orb->Health <= 0) break;
  }
  EXPECT_LE(g.Orb->Health, 0.0) << "the orb did not fall within 40 simulated minutes";
  EXPECT_EQ(baseTurrets(), 0);
  EXPECT_GT(ticksWithoutTurrets, 0);
  EXPECT_FALSE(g.Orb->Visible);
}

}  // namespace
