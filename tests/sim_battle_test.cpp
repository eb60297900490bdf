// Whole games in the simulator: the player's signs win points, and the unattended horde wins.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/test_support.h"

namespace {

constexpr int kTickMs = 50;

// Window pixels of the centre of a playfield cell.
int CellCentre(int cell) { return 9 + CellSize * cell + 17; }

// Orders a sign with the mouse: a click on the cell opens the build menu, a click on the icon.
void OrderSign(GameFixture& f, int x, int y, int direction) {
  TForm1& g = f.Game();
  f.Sim->Press(CellCentre(x), CellCentre(y));
  ASSERT_TRUE(g.MenuImg.Visible);
  const int iconX[4] = {20, 60, 20, 60}, iconY[4] = {35, 35, 75, 75};
  f.Sim->Press(g.MenuImg.Left + iconX[direction], g.MenuImg.Top + iconY[direction]);
}

TEST(SimBattle, SignsPushCreaturesIntoTheKindTheyHateAndEachKillScoresTheCreatureKillPrice) {
  // Turrets that neither kill nor fall, and shots that kill in three: every point comes from a
  // creature shooting a creature.
  GameFixture f("DEBUG=1\nTURRETSHOTSTRENGTH=0\nMIBBETSHOTSTRENGTH=5\n");
  f.StartPlaying();
  TForm1& g = f.Game();
  f.Sim->Key("A");
  // E creatures come up column 1, S creatures column 10: one sign sends the E to the right,
  // the other sends the S to the left, next to them. S hunts E.
  OrderSign(f, 1, 14, 3);
  OrderSign(f, 10, 14, 2);
  ASSERT_EQ(g.Signs.size(), 2u);

  std::set<int> pushedE, pushedS;
  int kills = 0, pushedKilled = 0;
  for (int tick = 0; tick < 3 * 60 * 20; ++tick) {
    std::set<int> before;
    for (const auto& m : g.Mibbets) before.insert(m->Id);
    const int score = g.Score;
    f.Sim->Wait(kTickMs);
    for (int id : g.Signs[0]->SteeredIds) pushedE.insert(id);
    for (int id : g.Signs[1]->SteeredIds) pushedS.insert(id);
    for (const auto& m : g.Mibbets) before.erase(m->Id);
    kills += int(before.size());
    for (int id : before) pushedKilled += pushedE.count(id);
    ASSERT_EQ(g.Score - score, g.MIBBETKILL * int(before.size())) << "tick " << tick;
  }
  EXPECT_FALSE(pushedE.empty());
  EXPECT_FALSE(pushedS.empty());
  EXPECT_GT(pushedKilled, 0) << "no E creature pushed by the sign was killed";
  EXPECT_EQ(g.Score, g.MIBBETKILL * kills);
  EXPECT_EQ(g.imScore.LastText, std::to_string(g.Score));
}

}  // namespace
