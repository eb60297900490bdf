// The splash cycle, the tutorial question, the start of play and the pause.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TEST(Splash, AlternatesTitlePictureAndScrollingText) {
  GameFixture f;
  TForm1& g = f.Game();
  f.Sim->Wait(7999);
  EXPECT_TRUE(g.imSplash.Visible);
  f.Sim->Wait(1);
  EXPECT_FALSE(g.imSplash.Visible);
  EXPECT_EQ(g.imStart.Top, 680);
  EXPECT_TRUE(g.tmrScrollST.Enabled());
  f.Sim->Wait(128 * 300);
  EXPECT_FALSE(g.imSplash.Visible);
  EXPECT_EQ(g.imStart.Top, 680 - 1280);
  f.Sim->Wait(300);  // the 129th step, 38.7 s after the scroll began
  EXPECT_TRUE(g.imSplash.Visible);
  EXPECT_EQ(g.imStart.Top, -610);
  EXPECT_FALSE(g.tmrScrollST.Enabled());
  EXPECT_TRUE(g.tmrDiv.Enabled());
  f.Sim->Wait(8000);
  EXPECT_FALSE(g.imSplash.Visible);
}

TEST(Splash, FirstClickAsksAboutTheTutorialAndNStartsPlay) {
  GameFixture f;
  TForm1& g = f.Game();
  f.Sim->Press(350, 350);
  EXPECT_TRUE(g.pnlTutorial.Visible);
  EXPECT_TRUE(g.SplashClicked);
  EXPECT_EQ(g.GameMode, ModeSplash);
  f.Sim->Key("P");
  f.Sim->Key("Esc");
  EXPECT_TRUE(g.pnlTutorial.Visible);
  f.Sim->Key("n");
  EXPECT_FALSE(g.pnlTutorial.Visible);
  EXPECT_FALSE(g.pnlSplash.Visible);
  EXPECT_EQ(g.GameMode, ModePlaying);
  EXPECT_TRUE(g.tmrTick.Enabled());
  EXPECT_TRUE(g.tmrRHS.Enabled());
  EXPECT_EQ(g.tmrTunnel.Interval(), 30000);
  EXPECT_EQ(g.tmrEmergeHole.Interval(), 90000);
  EXPECT_EQ(g.tmrEmergeSwap.Interval(), 30000);
  EXPECT_TRUE(g.tmrTunnel.Enabled() && g.tmrEmergeHole.Enabled() && g.tmrEmergeSwap.Enabled());
}

TEST(Splash, LaterClicksStartPlayAtOnce) {
  GameFixture f;
  TForm1& g = f.Game();
  g.SplashClicked = true;
  f.Sim->Press(100, 100);
  EXPECT_EQ(g.GameMode, ModePlaying);
  EXPECT_FALSE(g.pnlTutorial.Visible);
}

TEST(Pause, StopsTheGameTimersAndResumesThem) {
  GameFixture f("MIBBETTUNNELSWAP=0\n");
  TForm1& g = f.Game();
  f.StartPlaying();
  f.Sim->Wait(500);
  f.Sim->Key("p");
  EXPECT_TRUE(g.pnlPause.Visible);
  EXPECT_EQ(g.Window.Children.back(), &g.pnlPause);
  EXPECT_FALSE(g.tmrTick.Enabled() || g.tmrRHS.Enabled() || g.tmrTunnel.Enabled() || g.tmrEmergeHole.Enabled());
  EXPECT_TRUE(g.tmrEmergeSwap.Enabled());
  const int ticks = g.TickCount;
  f.Sim->Wait(5000);
  EXPECT_EQ(g.TickCount, ticks);
  f.Sim->Key("P");
  EXPECT_FALSE(g.pnlPause.Visible);
  EXPECT_EQ(g.Window.Children.front(), &g.pnlPause);
  EXPECT_TRUE(g.tmrTick.Enabled() && g.tmrRHS.Enabled() && g.tmrEmergeHole.Enabled());
  EXPECT_FALSE(g.tmrTunnel.Enabled());
  f.Sim->Wait(500);
  EXPECT_EQ(g.TickCount, ticks + 10);
}

TEST(Pause, DoesNothingOutsidePlayOrOnceTheGameIsLost) {
  GameFixture f;
  TForm1& g = f.Game();
  f.Sim->Key("P");
  EXPECT_FALSE(g.pnlPause.Visible);
  f.StartPlaying();
  g.GameOver = true;  // the explosions of a lost game are running
  f.Sim->Key("P");
  EXPECT_FALSE(g.pnlPause.Visible);
}

TEST(Keys, SoundAndMusicToggle) {
  GameFixture f;
  TForm1& g = f.Game();
  f.Sim->Key("s");
  EXPECT_FALSE(g.SoundOn);
  f.Sim->Key("m");
  EXPECT_FALSE(g.MusicOn);
  EXPECT_TRUE(g.Music[0]->Paused);
  f.Sim->Key("M");
  EXPECT_TRUE(g.MusicOn);
  EXPECT_FALSE(g.Music[0]->Paused);
}

}  // namespace
