// A short game played with the mouse only: a sign in the creatures' path, built and pushing.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

constexpr int kTickMs = 50;

// Window pixels of the centre of a playfield cell.
int CellCentre(int cell) { return 9 + CellSize * cell + 17; }

TEST(SimPlay, SignOrderedInThePathIsBuiltAndPushesACreature) {
  GameFixture f;
  f.StartPlaying();
  TForm1& g = f.Game();

  // The E creatures come out at (1, 19) and walk up column 1.
  f.Sim->Press(CellCentre(1), CellCentre(12));
  ASSERT_TRUE(g.MenuImg.Visible);
  f.Sim->Press(g.MenuImg.Left + 60, g.MenuImg.Top + 75);  // the right-pointing sign
  ASSERT_EQ(g.Signs.size(), 1u);
  const TSign& sign = *g.Signs[0];
  EXPECT_EQ(sign.Variant, 3);
  EXPECT_EQ(g.Scrap, 40);

  int ticks = 0;
  while (sign.Layer->MasterAlpha != FinishedSignAlpha && ticks < 400) {
    f.Sim->Wait(kTickMs);
    ++ticks;
  }
  ASSERT_EQ(sign.Layer->MasterAlpha, FinishedSignAlpha) << "the builder never finished the sign";
  EXPECT_EQ(g.Builders[0]->CellX, 1);
  EXPECT_EQ(g.Builders[0]->CellY, 12);

  while (sign.SteeredIds.empty() && ticks < 2000) {
    f.Sim->Wait(kTickMs);
    ++ticks;
  }
  ASSERT_FALSE(sign.SteeredIds.empty()) << "no creature was pushed by the sign";
  const std::string pushed = std::to_string(sign.SteeredIds[0]);
  EXPECT_NE(f.Sim->Dump().find("\"SteeredIds\":[" + pushed), std::string::npos);
  for (const auto& m : g.Mibbets)
    if (m->Id == sign.SteeredIds[0]) {
      EXPECT_EQ(m->Kind, 2) << "an E creature from the tunnel below";
      EXPECT_GT(m->DestX, 1) << "pushed to the right";
    }
}

}  // namespace
