// The census of who stands where names the prey a look down the whole crowd would, however the
// crowd comes, moves and goes while it counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "creatures/cell_census.h"
#include "tests/test_support.h"

namespace {

// The latest-listed creature other than the hunter, of a kind it hates, within one cell.
int PreyByLooking(TForm1& g, int hunter) {
  const TMibbet& h = *g.Mibbets[std::size_t(hunter)];
  for (int j = int(g.Mibbets.size()) - 1; j >= 0; --j) {
    const TMibbet& m = *g.Mibbets[std::size_t(j)];
    if (j != hunter && Hates(g.HatredState, h.Kind, m.Kind) && TForm1::InReachOf(h.CellX, h.CellY, m.CellX, m.CellY))
      return j;
  }
  return -1;
}

TEST(CellCensus, AHunterFindsThePreyALookDownTheCrowdFindsWhateverComesMovesAndGoes) {
  GameFixture f;
  f.StartPlaying();
  TForm1& g = f.Game();
  g.RemoveAllMibbets();
  std::mt19937 random(2026);
  // A crowded corner, so that creatures leave and rejoin cells that others hold, the field and a
  // border of two cells, where creatures come out of the ground; now and then one strays far off,
  // where the census cannot place it.
  std::uniform_int_distribution<int> corner(-2, 2), cell(-2, FieldCells + 1), kind(0, 2), step(-1, 1), state(0, 2);
  const auto add = [&] {
    auto& where = random() % 4 == 0 ? cell : corner;
    g.AddMibbet(MibbetKind(kind(random)), where(random), where(random), 0);
  };
  for (int n = 0; n < 300; ++n) add();
  g.Census.Count(g.Mibbets);
  for (int round = 0; round < 5000; ++round) {
    const int what = int(random() % 8);
    if (what == 0 || g.Mibbets.empty()) {
      add();
    } else if (what == 1) {
      g.RemoveMibbetAt(int(random() % g.Mibbets.size()));
    } else if (what == 2) {
      g.HatredState = state(random);
    } else {
      TMibbet& m = *g.Mibbets[random() % g.Mibbets.size()];
      if (what == 3 && random() % 50 == 0) g.MoveMibbetTo(m, -50, m.CellY);
      else
        g.MoveMibbetTo(m, std::clamp(m.CellX + step(random), -2, FieldCells + 1),
                       std::clamp(m.CellY + step(random), -2, FieldCells + 1));
    }
    if (g.Mibbets.empty()) continue;
    const int hunter = int(random() % g.Mibbets.size());
    ASSERT_EQ(g.FindHatedMibbet(hunter), PreyByLooking(g, hunter)) << "round " << round;
  }
  g.Census.Stop();
  EXPECT_FALSE(g.Census.Counting());
}

TEST(CellCensus, NamesNoPreyForACreatureFarOffTheFieldAndLeavesTheLookToTheCrowd) {
  LayeredImage image;
  std::vector<std::unique_ptr<TMibbet>> crowd;
  crowd.push_back(std::make_unique<TMibbet>(image));
  crowd.back()->Kind = KindS;
  crowd.back()->Id = 1;
  crowd.back()->CellX = -50;
  CellCensus census;
  census.Count(crowd);
  EXPECT_EQ(census.LatestPreyNear(1, KindF, 10, 10), std::nullopt) << "F hunts S in state 1";
  EXPECT_EQ(census.LatestPreyNear(1, KindS, 10, 10), CellCensus::kNoPrey) << "nobody hunts its own kind";
  census.Remove(*crowd.back());
  EXPECT_EQ(census.LatestPreyNear(1, KindF, 10, 10), CellCensus::kNoPrey) << "the stray is gone";
}

}  // namespace
