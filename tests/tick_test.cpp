// The main tick: its rhythm, builder stepping, warning frames and the debug caption.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TEST(Tick, RunsEvery50MsOncePlayHasStarted) {
  GameFixture f;
  f.Sim->Wait(1000);
  EXPECT_EQ(f.Game().TickCount, 0);
  f.StartPlaying();
  f.Sim->Wait(1000);
  EXPECT_EQ(f.Game().TickCount, 20);
  EXPECT_TRUE(f.Game().tmrTick.Enabled());
}

TEST(Tick, BuilderStepsOneCellPerAxisShowingTheLastStep) {
  GameFixture f;
  TForm1& g = f.Game();
  TSprite& b = *g.Builders[0];
  b.DestX = 12;
  b.DestY = 3;
  std::vector<std::tuple<int, int, std::string>> steps;
  for (int i = 0; i < 3; ++i) {
    g.StepBuilders();
    steps.emplace_back(b.CellX, b.CellY, g.Sprites.NameAt(b.ShownPicture));
  }
  EXPECT_EQ(steps, (std::vector<std::tuple<int, int, std::string>>{
                       {10, 2, "Builder_D"}, {11, 3, "Builder_D"}, {12, 3, "Builder_R"}}));
  EXPECT_EQ(b.Location.Left, 315 + 12);  // the picture glides behind the cell
}

TEST(Tick, WarningFrameBlinksAndTheHatredFrameFlipsTheCircle) {
  GameFixture f;
  TForm1& g = f.Game();
  f.StartPlaying();
  g.spHatred.Visible = true;
  g.spHatred.Tag = 0;
  g.spNoCash.Visible = true;
  g.spNoCash.Tag = 0;
  std::string seen;
  for (int tick = 1; tick <= 16; ++tick) {
    f.Sim->Wait(50);
    seen += g.spHatred.Visible ? 'X' : '.';
    if (tick < 15) {
      EXPECT_EQ(g.HatredState, 1) << tick;
    }
  }
  EXPECT_EQ(seen, "XXXX.....XXXXX..");
  EXPECT_EQ(g.HatredState, 2);
  EXPECT_EQ(g.spHatred.Tag, 0);
  EXPECT_FALSE(g.spNoCash.Visible);
  EXPECT_EQ(g.spNoCash.Tag, 0);
}

TEST(Tick, DebugCaptionFollowsTheCursorCell) {
  GameFixture f("DEBUG=1\n");
  f.StartPlaying();
  f.Sim->Wait(50);
  EXPECT_EQ(f.Game().Caption, "Mibbetfall [0 0]");  // the pointer has not been over the playfield
  f.Sim->Move(9 + 3 * 35 + 5, 9 + 4 * 35 + 5);
  f.Sim->Wait(50);
  EXPECT_EQ(f.Game().Caption, "Mibbetfall [3 4]");
  EXPECT_EQ(f.Game().Cursor->Location.Left, 105);
}

TEST(Tick, NoSpeechBubbleWithoutCreatures) {
  GameFixture f;
  f.StartPlaying();
  f.Sim->Wait(10000);
  for (const auto& e : f.Game().Effects) EXPECT_NE(e->Bitmap, f.Game().BmpSpeechMib);
  EXPECT_EQ(f.Game().Effects.size(), 1u);
}

}  // namespace
