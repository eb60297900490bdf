// The tutorial: every stage's scene and the one event it waits for, Esc, and a clean hand-over.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "tests/test_support.h"

namespace {

// Window pixels of the centre of a playfield cell.
int CellCentre(int cell) { return 9 + CellSize * cell + 17; }

struct Tutorial : GameFixture {
  Tutorial() {
    Sim->Press(350, 350);
    Sim->Key("Y");
  }
  TForm1& g = Game();

  void ClickCell(int x, int y) { Sim->Press(CellCentre(x), CellCentre(y)); }
  void ClickAnywhere() { ClickCell(3, 7); }
  // The overlays on the playfield: picture name, left, top, master alpha, blended.
  std::vector<std::tuple<std::string, int, int, int, bool>> Overlays() const {
    std::vector<std::tuple<std::string, int, int, int, bool>> found;
    const LayeredImage& field = g.Playfield.Image;
    for (int i = 0; i < field.LayerCount(); ++i) {
      const BitmapLayer& layer = field.LayerAt(i);
      if (layer.Tag != -1) continue;
      std::string name;
      for (int p = 0; p < g.Sprites.Count(); ++p)
        if (g.Sprites.At(p).get() == &layer.Picture()) name = g.Sprites.NameAt(p);
      found.emplace_back(name, int(layer.Location.Left), int(layer.Location.Top), layer.MasterAlpha,
                         layer.Mode == DrawMode::Blend);
    }
    return found;
  }
  int Centred(const std::string& page) const {
    for (int p = 0; p < g.Sprites.Count(); ++p)
      if (g.Sprites.NameAt(p) == page) return (PlayfieldSize - g.Sprites.At(p)->Width()) / 2;
    return -1;
  }
  // Plays on to the given stage the way a player does.
  void PlayTo(int stage) {
    const auto step = [&](const std::function<void()>& event, std::int64_t waitMs = 200) {
      event();
      Sim->Wait(waitMs);
    };
    // Stages that wait for the game itself: time passes until the stage moves on.
    const auto waitForTheStageToMoveOn = [&] {
      const int from = g.TutorialStage;
      for (int t = 0; t < 600 && g.TutorialStage == from; ++t) Sim->Wait(100);
    };
    const auto allArrived = [&] {
      return std::all_of(g.Mibbets.begin(), g.Mibbets.end(), [](const auto& m) { return m->Arrived; });
    };
    while (g.TutorialStage < stage && g.GameMode == ModeTutorial) {
      switch (g.TutorialStage) {
        case 1:
        case 3:
          for (int t = 0; t < 200 && !allArrived(); ++t) Sim->Wait(100);
          step([&] { ClickAnywhere(); });
          break;
        case 2:
        case 7:
        case 8:
          waitForTheStageToMoveOn();
          break;
        case 5:
          step([&] { ClickCell(9, 16); });
          break;
        case 6:
          step([&] { Sim->Press(g.MenuImg.Left + 20, g.MenuImg.Top + 75); });
          break;
        case 11:
          step([&] { ClickCell(9, 0); });
          break;
        case 12:
          step([&] { Sim->Press(g.OrbMenuImg.Left + 20, g.OrbMenuImg.Top + 30); });
          break;
        default:
          step([&] { ClickAnywhere(); });
      }
    }
    ASSERT_EQ(g.TutorialStage, stage);
  }
};

using Overlay = std::tuple<std::string, int, int, int, bool>;

TEST(Tutorial, StartsOnAnEmptyFieldWithTheThreeKindsStandingStill) {
  Tutorial t;
  TForm1& g = t.g;
  EXPECT_EQ(g.GameMode, ModeTutorial);
  EXPECT_EQ(g.TutorialStage, 0);
  EXPECT_TRUE(g.tmrTickTut.Enabled());
  for (const Timer* timer : {&g.tmrTick, &g.tmrRHS, &g.tmrTunnel, &g.tmrEmergeHole, &g.tmrEmergeSwap})
    EXPECT_FALSE(timer->Enabled()) << timer->Name();
  EXPECT_TRUE(g.Builders.empty());
  EXPECT_TRUE(g.Turrets.empty());
  EXPECT_TRUE(g.Resources.empty());
  EXPECT_EQ(g.Orb, nullptr);
  EXPECT_FALSE(g.ETunnel.Sprite || g.STunnel.Sprite || g.FTunnel.Sprite);
  EXPECT_EQ(g.imSignsCt.LastText, "0/0");
  EXPECT_FALSE(g.Cursor->Visible || g.MenuHighlight->Visible || g.OrbMenuHighlight->Visible);
  EXPECT_FALSE(g.pnlSplash.Visible || g.pnlTutorial.Visible);
  EXPECT_EQ(t.Overlays(), (std::vector<Overlay>{{"tutorial0", t.Centred("tutorial0"), 245, 255, false}}));
  ASSERT_EQ(g.Mibbets.size(), 3u);
  const std::pair<int, MibbetKind> expected[] = {{5, KindE}, {9, KindS}, {13, KindF}};
  t.Sim->Wait(5000);
  for (int i = 0; i < 3; ++i) {
    const TMibbet& m = *g.Mibbets[std::size_t(i)];
    EXPECT_EQ(std::make_tuple(m.CellX, m.CellY, m.Kind, m.Active, m.Arrived),
              std::make_tuple(expected[i].first, 9, expected[i].second, false, true));
  }
}

TEST(Tutorial, EachStageWaitsForItsOwnEvent) {
  Tutorial t;
  TForm1& g = t.g;
  t.PlayTo(1);
  // The three walkers have not arrived yet: a click is spent without effect.
  t.ClickAnywhere();
  EXPECT_EQ(g.TutorialStage, 1);
  t.PlayTo(2);
  for (int click = 0; click < 3; ++click) t.ClickAnywhere();
  EXPECT_EQ(g.TutorialStage, 2) << "clicks do nothing while the holes are announced";
  t.Sim->Wait(5000);
  EXPECT_EQ(g.TutorialStage, 3) << "the first hole to open moves on, the other two do not";
  EXPECT_EQ(std::count_if(g.Effects.begin(), g.Effects.end(), [](const auto& e) { return e->LeavesHoleMark; }), 3);
  t.PlayTo(5);
  t.ClickCell(8, 16);
  t.ClickAnywhere();
  EXPECT_EQ(g.TutorialStage, 5) << "only the red cross counts";
  t.ClickCell(9, 16);
  EXPECT_EQ(g.TutorialStage, 6);
  EXPECT_TRUE(g.MenuImg.Visible) << "the click goes on and opens the build menu there";
  t.Sim->Press(g.MenuImg.Left + 60, g.MenuImg.Top + 75);  // the right-pointing sign
  EXPECT_EQ(g.TutorialStage, 6);
  EXPECT_TRUE(g.Signs.empty());
  t.Sim->Press(g.MenuImg.Left + 20, g.MenuImg.Top + 75);  // the left-pointing sign
  EXPECT_EQ(g.TutorialStage, 7);
  ASSERT_EQ(g.Signs.size(), 1u);
  EXPECT_EQ(std::make_tuple(g.Signs[0]->CellX, g.Signs[0]->CellY, g.Signs[0]->Variant), std::make_tuple(9, 16, 2));
  t.Sim->Wait(10000);
  EXPECT_EQ(g.TutorialStage, 8) << "the builder finished the sign";
  EXPECT_EQ(g.Signs[0]->Layer->MasterAlpha, FinishedSignAlpha);
  // The new creature is pushed along row 16 to the marked one and shoots it: the death moves on.
  t.Sim->Wait(15000);
  EXPECT_EQ(g.TutorialStage, 9);
  EXPECT_EQ(g.Score, g.MIBBETKILL);
  ASSERT_EQ(g.Mibbets.size(), 1u);
  EXPECT_EQ(g.Mibbets[0]->Kind, KindS);
  EXPECT_FALSE(g.Mibbets[0]->Active);
  t.PlayTo(11);
  EXPECT_TRUE(g.Mibbets.empty());
  EXPECT_EQ(g.Scrap, g.BOTCOST + g.SIGNCOST);
  EXPECT_EQ(g.imScrapCt.LastText, "110");
  t.ClickAnywhere();
  EXPECT_EQ(g.TutorialStage, 11) << "only the orb's cell counts";
  t.ClickCell(9, 0);
  EXPECT_EQ(g.TutorialStage, 12);
  EXPECT_TRUE(g.OrbMenuImg.Visible);
  t.Sim->Press(g.OrbMenuImg.Left + 20, g.OrbMenuImg.Top + 30);
  EXPECT_EQ(g.TutorialStage, 13);
  EXPECT_EQ(g.Builders.size(), 2u) << "the orb menu bought a builder";
  EXPECT_EQ(g.Scrap, g.SIGNCOST);
}

TEST(Tutorial, StagesLayTheirPagesAndArrows) {
  Tutorial t;
  TForm1& g = t.g;
  struct Case {
    int stage;
    std::vector<Overlay> overlays;
  };
  const auto centred = [&](const char* page, int y) { return Overlay{page, t.Centred(page), y, 255, false}; };
  const auto arrow = [](const char* name, int x, int y) { return Overlay{name, x, y, 200, true}; };
  const Case cases[] = {
      {1, {centred("tutorial0", 245), centred("tutorial1", 263)}},
      {4,
       {arrow("arrowr", 265, 0),
        {"tutorial3", 210, 10, 255, false},
        arrow("arrowu", 315, 70),
        {"tutorial4", 460, 45, 255, false},
        arrow("arrowl", 385, 35),
        {"tutorial5", 245, 140, 255, false},
        centred("tutorial6", 250)}},
      {5, {centred("tutorial7", 105), {"redcross", 315, 560, 127, true}}},
      {6, {centred("tutorial7", 105), {"redcross", 315, 560, 127, true}, centred("tutorial8", 125)}},
      {7,
       {centred("tutorial7", 105), centred("tutorial8", 125), centred("tutorial9", 145), centred("tutorial25", 255)}},
      {9, {centred("tutorial10", 105), centred("tutorial11", 210), arrow("arrowr", 595, 210)}},
      {10,
       {centred("tutorial12", 105),
        {"Rock1", 105, 350, 255, true},
        arrow("arrowu", 105, 385),
        {"Ruin1", 315, 350, 255, true},
        arrow("arrowu", 315, 385),
        {"Scrap", 560, 350, 255, true},
        arrow("arrowu", 560, 385),
        {"tutorial13", 70, 455, 200, true},
        {"tutorial14", 260, 455, 200, true},
        {"tutorial15", 515, 455, 200, true}}},
      {13,
       {{"tutorial18", 70, 105, 255, false},
        {"tutorial19", 605, 20, 255, false},
        {"tutorial20", 545, 70, 255, false},
        {"tutorial21", 595, 132, 255, false}}},
      {14, {centred("tutorial22", 105), centred("tutorial23", 140), centred("tutorial24", 245)}},
  };
  for (const Case& c : cases) {
    t.PlayTo(c.stage);
    EXPECT_EQ(t.Overlays(), c.overlays) << "stage " << c.stage;
  }
  EXPECT_EQ(g.TutCellX, -1);
}

TEST(Tutorial, NothingComesOutOfTheGroundAndNoTurretFires) {
  Tutorial t;
  TForm1& g = t.g;
  t.PlayTo(4);
  const std::size_t creatures = g.Mibbets.size();
  g.SpawnMibbet(9, 2, 1);  // right under the turrets
  const double health = g.Mibbets.back()->Health;
  t.Sim->Wait(30000);
  EXPECT_EQ(g.Mibbets.size(), creatures + 1);
  EXPECT_EQ(g.Mibbets.back()->Health, health);
  EXPECT_EQ(g.HatredState, 1);
  EXPECT_EQ(g.Orb->Health, g.BASEORBHEALTH) << "the orb is never a target in the tutorial";
}

TEST(Tutorial, EscLeavesFromAnyStageIntoAFreshGameWithNothingLeftOver) {
  GameFixture plain;
  plain.StartPlaying();
  const int freshLayers = plain.Game().Playfield.Image.LayerCount();
  for (int stage = 0; stage <= 14; ++stage) {
    SCOPED_TRACE(stage);
    Tutorial t;
    TForm1& g = t.g;
    t.PlayTo(stage);
    if (stage == 6) t.ClickCell(9, 16);  // a menu is open
    t.Sim->Key("Esc");
    EXPECT_EQ(g.GameMode, ModePlaying);
    EXPECT_FALSE(g.tmrTickTut.Enabled());
    EXPECT_TRUE(g.tmrTick.Enabled());
    EXPECT_FALSE(g.pnlSplash.Visible);
    EXPECT_TRUE(t.Overlays().empty());
    EXPECT_FALSE(g.MenuImg.Visible || g.OrbMenuImg.Visible);
    EXPECT_TRUE(g.Cursor->Visible);
    EXPECT_TRUE(g.Mibbets.empty());
    EXPECT_FALSE(std::any_of(g.Effects.begin(), g.Effects.end(),
                             [](const auto& e) { return e->HoleKind != -1 || e->OpensHole; }));
    EXPECT_EQ(g.Scrap, g.BASESCRAP);
    EXPECT_EQ(g.Turrets.size(), 4u);
    EXPECT_EQ(g.Builders.size(), 1u);
    EXPECT_TRUE(g.ETunnel.Sprite && g.STunnel.Sprite && g.FTunnel.Sprite);
    EXPECT_EQ(std::make_tuple(g.TutCellX, g.TutCellY, g.TutMenuTag), std::make_tuple(-1, -1, -1));
    EXPECT_EQ(g.Playfield.Image.LayerCount(), freshLayers) << "no layer of the tutorial is left behind";
    // The game runs: creatures come out of the tunnels.
    t.Sim->Wait(5000);
    EXPECT_FALSE(g.Mibbets.empty());
  }
}

TEST(Tutorial, TheLastClickStartsAGameAtOnceWithoutTheSplash) {
  Tutorial t;
  TForm1& g = t.g;
  t.PlayTo(14);
  EXPECT_EQ(g.GameMode, ModeTutorial);
  t.ClickAnywhere();
  EXPECT_EQ(g.GameMode, ModePlaying);
  EXPECT_FALSE(g.pnlSplash.Visible);
  EXPECT_TRUE(t.Overlays().empty());
  EXPECT_FALSE(g.OrbMenuImg.Visible || g.MenuImg.Visible) << "the click that ended the tutorial opens no menu";
  EXPECT_EQ(g.Builders.size(), 1u);
  t.Sim->Wait(1000);
  EXPECT_FALSE(g.tmrTickTut.Enabled());
}

TEST(Tutorial, PauseAndTheTutorialQuestionKeysDoNothingInIt) {
  Tutorial t;
  TForm1& g = t.g;
  for (const char* key : {"P", "N", "Y"}) t.Sim->Key(key);
  EXPECT_FALSE(g.pnlPause.Visible);
  EXPECT_EQ(g.GameMode, ModeTutorial);
  EXPECT_EQ(g.TutorialStage, 0);
}

}  // namespace
