// A fresh world after a game: what is reset and what is kept.
#include <gtest/gtest.h>

#include <algorithm>

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

// A game played, lost with moves, holes, warnings and a menu pending, a name entered, and the
// click back to the splash: the next world is fresh, and what the player chose is kept.
TEST(NewGame, AfterALostGameNothingLeaksAndThePlayersChoicesStay) {
  GameFixture f("", {2026, 12, 25});
  TForm1& g = f.Game();
  GameFixture unplayed("", {2026, 12, 25});
  f.StartPlaying();
  f.Sim->Wait(20000);
  ASSERT_FALSE(g.Mibbets.empty());
  TSprite* cursor = g.Cursor.get();
  // The player's choices.
  g.PlaySfx("beamshot1", 1);
  g.PlaySfx("turret", 2);
  g.PlaySfx("explosion1", 3);
  f.Sim->Key("m");
  f.Sim->Key("s");
  g.DbgFreeze = g.DbgInvincible = g.DbgNoEmerge = true;
  // Left pending when the orb falls.
  g.tmrTunnelTimer();
  g.WarnHole(4, 9, 1);
  g.OpenEmergenceHole(14, 10, 3);
  g.tmrRHSTimer();
  TForm1::StartWarningFlash(g.spNoCash);
  TForm1::StartWarningFlash(g.spTooManySigns);
  f.Sim->Press(8 + 35 * 6 + 17, 8 + 35 * 12 + 17);
  ASSERT_TRUE(g.MenuImg.Visible);
  ASSERT_FALSE(g.Cursor->Visible);
  g.Score = 2600;
  const int lastId = g.NextId;
  g.EndGame();
  for (int i = 0; i < 200 && g.GameMode != ModeGameOver; ++i) f.Sim->Wait(50);
  f.Sim->Press(358, 358);
  for (const char* key : {"a", "c", "e", "Enter", "n"}) f.Sim->Key(key);
  ASSERT_EQ(g.NameEntryState, 3);
  f.Sim->Press(358, 358);

  EXPECT_EQ(g.GameMode, ModeSplash);
  EXPECT_FALSE(g.GameOver);
  EXPECT_EQ(g.NameEntryState, 0);
  EXPECT_EQ(g.TickCount, 0);
  // Kept.
  EXPECT_EQ(g.Theme, ThemeSnow);
  EXPECT_FALSE(g.MusicOn);
  EXPECT_FALSE(g.SoundOn);
  EXPECT_TRUE(g.DbgFreeze && g.DbgInvincible && g.DbgNoEmerge);
  EXPECT_EQ(std::make_pair(g.MenuCellX, g.MenuCellY), std::make_pair(6, 12));
  EXPECT_EQ(g.Cursor.get(), cursor);
  // Reset.
  EXPECT_EQ(g.Score, 0);
  EXPECT_EQ(g.imScore.LastText, "0");
  EXPECT_EQ(g.Scrap, 50);
  EXPECT_EQ(g.imScrapCt.LastText, "50");
  EXPECT_EQ(g.HatredState, 1);
  EXPECT_EQ(g.MusicStage, 0);
  for (std::size_t c = 0; c < g.SoundNextTime.size(); ++c) EXPECT_EQ(g.SoundNextTime[c], 0) << "channel " << c;
  // The table read again: the new line with its name padded as the file holds it, a new floor.
  EXPECT_NE(std::find(g.HighScoreLines.begin(), g.HighScoreLines.end(), "0000002600 ACE         "),
            g.HighScoreLines.end());
  EXPECT_EQ(g.HighScoreFloor, 1000);
  // A fresh world, as an unplayed start lays it out.
  const TForm1& fresh = unplayed.Game();
  EXPECT_TRUE(g.Mibbets.empty());
  EXPECT_TRUE(g.Signs.empty());
  EXPECT_TRUE(g.Orders.empty());
  EXPECT_TRUE(g.KillAnims.empty());
  EXPECT_EQ(g.Resources.size(), fresh.Resources.size());
  EXPECT_EQ(g.Resources.front()->Id, lastId + 1);
  EXPECT_EQ(g.Turrets.size(), 4u);
  EXPECT_TRUE(std::all_of(g.Turrets.begin(), g.Turrets.end(), [](const auto& t) { return t->BaseTurret; }));
  EXPECT_EQ(g.Builders.size(), 1u);
  ASSERT_NE(g.Orb, nullptr);
  EXPECT_EQ(g.Orb->Health, fresh.Orb->Health);
  EXPECT_TRUE(g.Orb->Visible);
  EXPECT_EQ(g.Effects.size(), fresh.Effects.size()) << "no explosion, hole, preview or mark is left";
  EXPECT_FALSE(g.TunnelMovePending);
  for (const TShape* frame : {&g.spNoCash, &g.spTooManySigns, &g.spHatred}) {
    EXPECT_FALSE(frame->Visible);
    EXPECT_EQ(frame->Tag, 0);
  }
  EXPECT_FALSE(g.MenuImg.Visible);
  EXPECT_FALSE(g.OrbMenuImg.Visible);
  EXPECT_TRUE(g.Cursor->Visible);
  EXPECT_TRUE(g.Cursor->Layer->Visible);
  for (int i = 0; i < g.imHiScore.Image.LayerCount(); ++i)
    EXPECT_TRUE(g.imHiScore.Image.LayerAt(i).Tag != -2 && g.imHiScore.Image.LayerAt(i).Tag != -3)
        << "a name cursor left on the high-score screen";
  EXPECT_FALSE(g.tmrHiScoreFlicker.Enabled());

  // The next game's tunnels move again when their timer comes.
  f.Sim->Press(358, 358);
  ASSERT_EQ(g.GameMode, ModePlaying);
  f.Sim->Wait(g.MIBBETTUNNELSWAP * 1000);
  EXPECT_TRUE(g.TunnelMovePending);
  EXPECT_NE(g.MusicStage, 0) << "the stage moves on while the music is off";
}

// Where the starting rocks and ruins lie: what a seed decides first.
std::vector<std::pair<int, int>> ResourceCells(const TForm1& g) {
  std::vector<std::pair<int, int>> cells;
  for (const auto& r : g.Resources) cells.emplace_back(r->CellX, r->CellY);
  return cells;
}

TEST(NewGame, EachWorldOfARunHasItsOwnSeedAndTheRunsSeedDecidesThemAll) {
  GameFixture a, b;
  const auto firstA = ResourceCells(a.Game());
  EXPECT_EQ(firstA, ResourceCells(b.Game()));
  a.Game().NewGame();
  b.Game().NewGame();
  EXPECT_NE(ResourceCells(a.Game()), firstA) << "a new game is not the last one again";
  EXPECT_EQ(ResourceCells(a.Game()), ResourceCells(b.Game())) << "the same run replays the same worlds";
}

TEST(NewGame, ClosesAMenuLeftOpen) {
  struct Case {
    const char* name;
    int cellX, cellY;
  };
  for (const Case c : {Case{"the build menu", 5, 12}, Case{"the orb menu", 9, 0}}) {
    GameFixture f;
    TForm1& g = f.Game();
    f.StartPlaying();
    f.Sim->Wait(100);
    f.Sim->Press(8 + 35 * c.cellX + 17, 8 + 35 * c.cellY + 17);
    ASSERT_TRUE(g.MenuImg.Visible || g.OrbMenuImg.Visible) << c.name;
    g.NewGame();
    EXPECT_FALSE(g.MenuImg.Visible) << c.name;
    EXPECT_FALSE(g.OrbMenuImg.Visible) << c.name;
    EXPECT_TRUE(g.Cursor->Visible) << c.name;
    EXPECT_TRUE(std::none_of(g.Effects.begin(), g.Effects.end(), [](const auto& e) { return e->NoBuildMark; }))
        << c.name;
  }
}

TEST(Shutdown, AnUnwritableDebugLogIsReportedNotFatal) {
  GameFixture f("DEBUG=1\n");
  std::filesystem::create_directory(f.Assets.Path() + "debug.txt");  // cannot be written as a file
  f.Game().LogDebug("line");
  f.Sim->Quit();
  EXPECT_TRUE(std::filesystem::is_directory(f.Assets.Path() + "debug.txt"));
}

}  // namespace
