// The end of a game: what EndGame clears and stops, the two waves of explosions, the game-over
// panel with its scrolling text, and the way back to the splash.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/bmp_file.h"
#include "tests/test_support.h"

namespace {

// A window point over the middle of the game-over and high-score panels (they lie at 8, 8).
constexpr int kPanelX = 358, kPanelY = 358;

// The playfield cell under a window point: the playfield lies at (8, 8) as the panels do.
void PressCell(GameFixture& f, int x, int y) { f.Sim->Press(8 + 35 * x + 17, 8 + 35 * y + 17); }

// The explosions of the game's end: "Splode" pictures with a creature death's seven frames.
bool IsBlast(const TForm1& g, const TSprite& e) {
  return e.Bitmap == g.BmpSplode && e.FrameCount == 7 && e.Alpha == 255;
}

int CountEffects(const TForm1& g, bool (*which)(const TForm1&, const TSprite&)) {
  return int(std::count_if(g.Effects.begin(), g.Effects.end(), [&](const auto& e) { return which(g, *e); }));
}

bool IsSoundingBlast(const TForm1& g, const TSprite& e) { return IsBlast(g, e) && e.ExplodeSound; }

bool IsTunnelOrHole(const TForm1& g, const TSprite& e) {
  return e.MovesTunnel || e.OpensHole || e.HoleKind != -1 || e.Bitmap == g.BmpHole || e.Bitmap == g.BmpBump;
}

bool IsNoBuildMark(const TForm1&, const TSprite& e) { return e.NoBuildMark; }

int ExplosionCues(GameFixture& f) {
  const auto& cues = f.Sim->Sound().Requested;
  return int(
      std::count_if(cues.begin(), cues.end(), [](const std::string& cue) { return cue.rfind("explosion", 0) == 0; }));
}

// Steps the explosion timer 50 ms at a time until the game-over panel shows (at most 10 s).
void WaitForPanel(GameFixture& f) {
  for (int i = 0; i < 200 && f.Game().GameMode != ModeGameOver; ++i) f.Sim->Wait(50);
  ASSERT_EQ(f.Game().GameMode, ModeGameOver);
}

TEST(GameOverPanel, ItsPicturesAreReadWhenItFirstShows) {
  GameFixture f("DEBUG=1\n");
  TForm1& g = f.Game();
  const std::initializer_list<const TImage*> pictures = {&g.imEnd, &g.imGOTop, &g.imGOL, &g.imGOR, &g.imGOBot};
  for (const TImage* image : pictures) EXPECT_TRUE(image->Picture.Empty()) << image->Name << " at start";
  f.StartPlaying();
  f.Sim->Key("q");
  WaitForPanel(f);
  for (const TImage* image : pictures) EXPECT_FALSE(image->Picture.Empty()) << image->Name << " on the panel";
  EXPECT_EQ(g.imGOR.Picture, g.imGOL.Picture);
  EXPECT_EQ(g.imEnd.Picture, ReadBmp(f.Assets.Path() + "endtext.bmp"));
}

TEST(EndGame, ClearsTunnelsAndHolesStopsPlayAndSetsOffTheOrbsBlastAndTwentyOneMore) {
  GameFixture f("DEBUG=1\n");
  TForm1& g = f.Game();
  f.StartPlaying();
  f.Sim->Wait(200);
  // A tunnel move announced, a hole about to open, an open hole and a closing one.
  g.tmrTunnelTimer();
  g.WarnHole(5, 8, 1);
  g.OpenEmergenceHole(12, 9, 2);
  g.AddEffect(3, 10, ClosingHole, g.BmpHole).ClosingHoleMark = true;
  ASSERT_TRUE(g.TunnelMovePending);
  // A build menu with its no-build marks, then the pause.
  PressCell(f, 6, 12);
  ASSERT_TRUE(g.MenuImg.Visible);
  ASSERT_GT(CountEffects(g, IsNoBuildMark), 0);
  f.Sim->Key("p");
  ASSERT_TRUE(g.pnlPause.Visible);
  const int blastsBefore = CountEffects(g, IsBlast);

  f.Sim->Key("q");  // the debug key ends the game, here while paused

  const std::vector<std::string> log = DebugLines(g);
  EXPECT_NE(std::find(log.begin(), log.end(), "We win! >:D"), log.end());
  EXPECT_TRUE(g.GameOver);
  EXPECT_EQ(g.GameMode, ModePlaying) << "the mode changes only when the panel shows";
  EXPECT_FALSE(g.MenuImg.Visible);
  EXPECT_FALSE(g.OrbMenuImg.Visible);
  EXPECT_EQ(CountEffects(g, IsNoBuildMark), 0);
  EXPECT_FALSE(g.pnlPause.Visible) << "a pause would cover the coming panel for good";
  for (const Timer* t : {&g.tmrTick, &g.tmrRHS, &g.tmrTunnel, &g.tmrEmergeHole, &g.tmrEmergeSwap})
    EXPECT_FALSE(t->Enabled()) << t->Name();
  EXPECT_TRUE(g.tmrSplode.Enabled());
  EXPECT_EQ(g.SplodeWave, 0);
  EXPECT_EQ(g.imEnd.Top, 569);
  EXPECT_EQ(g.MusicStage, 4);
  EXPECT_EQ(f.Sim->Music().Events.back(), "run mmusic4.mp3");
  // No tunnel move, hole or emergence after the end, and tunnels may move again in a later game.
  EXPECT_EQ(CountEffects(g, IsTunnelOrHole), 0);
  EXPECT_FALSE(g.TunnelMovePending);
  // The orb's blast, silent, and 21 that sound when they end.
  EXPECT_EQ(CountEffects(g, IsBlast) - blastsBefore, 22);
  EXPECT_EQ(CountEffects(g, IsSoundingBlast), 21);
  const auto orbBlast = std::find_if(g.Effects.begin(), g.Effects.end(),
                                     [&](const auto& e) { return IsBlast(g, *e) && !e->ExplodeSound && e->Life == 7; });
  ASSERT_NE(orbBlast, g.Effects.end());
  EXPECT_EQ(std::make_pair((*orbBlast)->CellX, (*orbBlast)->CellY), std::make_pair(9, 0));

  // The orb falls once: the key again, and P, change nothing.
  const std::size_t effects = g.Effects.size();
  f.Sim->Key("q");
  f.Sim->Key("P");
  EXPECT_EQ(g.Effects.size(), effects);
  EXPECT_FALSE(g.pnlPause.Visible);
  EXPECT_FALSE(g.tmrTick.Enabled());
}

TEST(EndGame, TheOrbsLastBlastEndsTheGameAndTheTickStaysOff) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  f.Sim->Wait(100);
  g.AddEffect(9, 0, OrbBlast, g.BmpSplode).EndsGame = true;
  for (int i = 0; i < 100 && !g.GameOver; ++i) f.Sim->Wait(50);
  ASSERT_TRUE(g.GameOver);
  EXPECT_TRUE(g.tmrSplode.Enabled());
  EXPECT_EQ(CountEffects(g, IsSoundingBlast), 21);
  const int ticks = g.TickCount;
  f.Sim->Wait(5000);
  EXPECT_EQ(g.TickCount, ticks);
  EXPECT_FALSE(g.tmrTick.Enabled());
}

TEST(EndGame, TheSecondWaveWaitsForFewerThanFiveEffectsAndThePanelForItsEnd) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  f.Sim->Wait(100);
  // Besides the orb, three long-lived effects and one that ends after 40 updates: when the
  // first wave has burnt down five effects are left, and only the short one's end lets the
  // second wave come.
  for (int x = 0; x < 3; ++x) g.AddEffect(x, 15, 255, 100, 1, g.BmpSpeechMib);
  g.AddEffect(5, 15, 255, 20, 1, g.BmpSpeechMib);
  const auto talking = [&] {
    return std::count_if(g.Effects.begin(), g.Effects.end(),
                         [&](const auto& e) { return e->Bitmap == g.BmpSpeechMib; });
  };
  f.Sim->Sound().Requested.clear();
  g.EndGame();

  bool waitedWithFive = false;
  int updates = 0;
  while (g.SplodeWave == 0 && updates < 200) {
    f.Sim->Wait(50);
    ++updates;
    if (g.SplodeWave == 0 && CountEffects(g, IsBlast) == 0) {
      EXPECT_EQ(g.Effects.size(), 5u);
      waitedWithFive = true;
    }
    // A click on the field while the explosions run opens nothing.
    if (updates == 5) {
      PressCell(f, 10, 10);
      EXPECT_FALSE(g.MenuImg.Visible);
      EXPECT_TRUE(g.Orders.empty());
    }
  }
  ASSERT_EQ(g.SplodeWave, 1);
  EXPECT_TRUE(waitedWithFive);
  EXPECT_EQ(updates, 40) << "the second wave comes with the update that ends the short-lived effect";
  EXPECT_EQ(talking(), 3) << "the short-lived effect has ended";
  // The second wave: 21 sounding explosions, none in the last two rows or columns.
  EXPECT_EQ(CountEffects(g, IsSoundingBlast), 21);
  for (const auto& e : g.Effects)
    if (IsSoundingBlast(g, *e)) {
      EXPECT_LE(e->CellX, 17);
      EXPECT_LE(e->CellY, 17);
      EXPECT_GE(e->CellX, 0);
      EXPECT_GE(e->CellY, 0);
    }
  EXPECT_FALSE(g.pnlGameOver.Visible);
  EXPECT_EQ(g.GameMode, ModePlaying);

  while (g.SplodeWave == 1 && updates < 400) {
    f.Sim->Wait(50);
    ++updates;
    if (g.SplodeWave == 1) {
      EXPECT_FALSE(g.pnlGameOver.Visible);
      EXPECT_EQ(g.GameMode, ModePlaying);
    }
  }
  ASSERT_EQ(g.SplodeWave, 2);
  EXPECT_EQ(CountEffects(g, IsBlast), 0);
  EXPECT_LT(g.Effects.size(), 5u);
  EXPECT_TRUE(g.pnlGameOver.IsShowing());
  EXPECT_TRUE(g.PaintBox1.IsShowing());
  EXPECT_TRUE(g.PaintBox2.Visible);
  EXPECT_EQ(g.GameMode, ModeGameOver);
  EXPECT_FALSE(g.tmrSplode.Enabled());
  EXPECT_TRUE(g.tmrScrollET.Enabled());
  // Only the 42 random explosions sound, each one of the fourteen cues.
  EXPECT_EQ(ExplosionCues(f), 42);
  for (const std::string& cue : f.Sim->Sound().Requested) {
    if (cue.rfind("explosion", 0) != 0) continue;
    const int n = std::stoi(cue.substr(std::string("explosion").size()));
    EXPECT_TRUE(n >= 1 && n <= 14) << cue;
  }
  // Nothing more happens: the timer is off.
  f.Sim->Wait(5000);
  EXPECT_EQ(ExplosionCues(f), 42);
  EXPECT_EQ(g.SplodeWave, 2);
}

TEST(GameOverPanel, TheEndTextScrollsUpInFortyFiveSteps) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  g.EndGame();
  WaitForPanel(f);
  EXPECT_EQ(g.imEnd.Top, 569);
  f.Sim->Wait(44 * 500);
  EXPECT_EQ(g.imEnd.Top, 129);
  EXPECT_TRUE(g.tmrScrollET.Enabled());
  f.Sim->Wait(500);
  EXPECT_EQ(g.imEnd.Top, 119);
  EXPECT_FALSE(g.tmrScrollET.Enabled());
  // Behind the frame pictures.
  EXPECT_EQ(g.pnlGameOver.Children.front(), &g.imEnd);
  f.Sim->Wait(5000);
  EXPECT_EQ(g.imEnd.Top, 119);
  // P does nothing on the panel.
  f.Sim->Key("p");
  EXPECT_FALSE(g.pnlPause.Visible);
}

TEST(GameOverPanel, AClickWhileTheTextScrollsShowsTheHighScoresAtOnce) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  g.EndGame();
  WaitForPanel(f);
  f.Sim->Wait(1000);
  ASSERT_TRUE(g.tmrScrollET.Enabled());
  f.Sim->Press(kPanelX, kPanelY);
  EXPECT_FALSE(g.pnlGameOver.Visible);
  EXPECT_FALSE(g.PaintBox1.Visible);
  EXPECT_FALSE(g.PaintBox2.Visible);
  EXPECT_TRUE(g.pnlHighScores.IsShowing());
  EXPECT_GT(g.imHiScore.Image.LayerCount(), 1) << "the table is drawn";
  EXPECT_EQ(g.NameEntryState, 0) << "a score of 0 enters no name";
  EXPECT_EQ(g.GameMode, ModeGameOver);
  // The scroll carries on unseen.
  const double top = g.imEnd.Top;
  f.Sim->Wait(1000);
  EXPECT_EQ(g.imEnd.Top, top - 20);
  f.Sim->Key("P");
  EXPECT_FALSE(g.pnlPause.Visible);
}

TEST(ReturnToSplash, TheClickOnTheTableShowsTheSplashOverAFreshWorld) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  // Long enough for creatures to come and for the hidden splash to be scrolling its text.
  f.Sim->Wait(20000);
  ASSERT_TRUE(g.tmrScrollST.Enabled());
  ASSERT_FALSE(g.Mibbets.empty());
  g.EndGame();
  WaitForPanel(f);
  f.Sim->Press(kPanelX, kPanelY);
  ASSERT_TRUE(g.pnlHighScores.Visible);
  f.Sim->Music().Events.clear();

  f.Sim->Press(kPanelX, kPanelY);

  EXPECT_EQ(g.GameMode, ModeSplash);
  EXPECT_FALSE(g.GameOver);
  EXPECT_TRUE(g.pnlSplash.IsShowing());
  EXPECT_TRUE(g.imSplash.IsShowing());
  for (const Control* c :
       std::initializer_list<const Control*>{&g.pnlHighScores, &g.pnlGameOver, &g.PaintBox1, &g.PaintBox2})
    EXPECT_FALSE(c->Visible);
  EXPECT_FALSE(g.tmrScrollST.Enabled());
  EXPECT_TRUE(g.tmrDiv.Enabled());
  // The title track again, after the closing track has stopped.
  EXPECT_EQ(g.MusicStage, 0);
  const auto& events = f.Sim->Music().Events;
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), "run mmusic0.mp3");
  EXPECT_NE(std::find(events.begin(), events.end(), "halt mmusic4.mp3"), events.end());
  EXPECT_TRUE(g.Music[0]->Playing);
  EXPECT_FALSE(g.Music[4]->Playing);
  // A fresh world waits behind the splash.
  EXPECT_TRUE(g.Mibbets.empty());
  EXPECT_EQ(g.Turrets.size(), 4u);
  ASSERT_NE(g.Orb, nullptr);
  EXPECT_EQ(g.Orb->Health, 30.0);
  EXPECT_EQ(CountEffects(g, IsBlast), 0);

  // The title picture stays for its 8 s, and the next click starts a game without the question.
  f.Sim->Wait(7999);
  EXPECT_TRUE(g.imSplash.Visible);
  f.Sim->Press(kPanelX, kPanelY);
  EXPECT_FALSE(g.pnlTutorial.Visible);
  EXPECT_EQ(g.GameMode, ModePlaying);
  EXPECT_TRUE(g.tmrTick.Enabled());
  f.Sim->Wait(50);
  EXPECT_EQ(g.MusicStage, 1);
}

}  // namespace
