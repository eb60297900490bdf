// A fresh world after a game: what is reset and what is kept.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TEST(NewGame, LaysOutAFreshWorldAndKeepsTheIdsGrowing) {
  GameFixture f("", {2026, 12, 25});
  TForm1& g = f.Game();
  f.StartPlaying();
  f.Sim->Wait(10000);
  g.Scrap = 7;
  g.Score = 300;
  g.HatredState = 2;
  g.GameOver = true;
  g.TunnelMovePending = true;
  g.spHatred.Visible = true;
  g.spHatred.Tag = 12;
  const int lastId = g.NextId;
  g.NewGame();
  EXPECT_EQ(g.GameMode, ModeSplash);
  EXPECT_FALSE(g.GameOver);
  EXPECT_EQ(g.TickCount, 0);
  EXPECT_TRUE(g.Mibbets.empty());
  EXPECT_EQ(g.Resources.size(), 31u);  // 26 and the five Christmas gifts again
  EXPECT_EQ(g.Resources.front()->Id, lastId + 1);
  EXPECT_EQ(g.Turrets.size(), 4u);
  ASSERT_NE(g.Orb, nullptr);
  EXPECT_EQ(g.Orb->Health, 30.0);
  EXPECT_EQ(g.Builders.size(), 1u);
  EXPECT_EQ(g.imScore.LastText, "0");
  EXPECT_EQ(g.imScrapCt.LastText, "50");
  EXPECT_EQ(g.HatredState, 1);
  // Faults mended: a pending tunnel move and a cut-off warning flash do not outlive their game.
  EXPECT_FALSE(g.TunnelMovePending);
  EXPECT_FALSE(g.spHatred.Visible);
  EXPECT_EQ(g.spHatred.Tag, 0);
  // The cursor sprites are kept, below the new world's sprites.
  EXPECT_TRUE(g.Cursor->Visible);
  EXPECT_LT(g.Playfield.Image.IndexOf(g.Cursor->Layer), g.Playfield.Image.IndexOf(g.Resources[0]->Layer));
}

TEST(Shutdown, AnUnwritableDebugLogIsReportedNotFatal) {
  GameFixture f("DEBUG=1\n");
  std::filesystem::create_directory(f.Assets.Path() + "debug.txt");  // cannot be written as a file
  f.Game().LogDebug("line");
  f.Sim->Quit();
  EXPECT_TRUE(std::filesystem::is_directory(f.Assets.Path() + "debug.txt"));
}

}  // namespace
