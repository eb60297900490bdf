// The window: controls where the layout puts them, what covers what, and pointer routing.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

Pixel At(const Bitmap32& frame, int x, int y) { return frame.At(x, y) | 0xFF000000u; }

TEST(Layout, ComposesTheWindowAtItsSize) {
  GameFixture f;
  const Bitmap32& frame = f.Game().ComposeFrame();
  EXPECT_EQ(frame.Width(), 903);
  EXPECT_EQ(frame.Height(), 717);
  EXPECT_EQ(At(frame, 2, 2), MakePixel(240, 240, 240));  // window background
  EXPECT_EQ(At(frame, 900, 300), MakePixel(240, 240, 240));
  EXPECT_EQ(At(frame, 712 + 100, 8 + 5), MakePixel(255, 255, 255));  // score panel
  EXPECT_EQ(At(frame, 712 + 100, 506 + 2), MakePixel(255, 255, 255));  // credits panel
}

TEST(Layout, PanelsKeepTheirPlacesAndSizes) {
  GameFixture f;
  TForm1& g = f.Game();
  struct Case {
    const Control& c;
    int left, top, width, height;
  } cases[] = {{g.Pane, 8, 8, 700, 700},         {g.pnlCash, 712, 64, 185, 52},  {g.pnlSigns, 712, 120, 185, 52},
               {g.pnlHated, 712, 176, 185, 201}, {g.Panel1, 712, 506, 185, 201}, {g.Panel2, 712, 8, 185, 52},
               {g.Panel3, 712, 384, 185, 49},    {g.memDbg, 712, 436, 185, 67},  {g.imScrapCt, 48, 16, 129, 20},
               {g.imScore, 8, 16, 169, 20},      {g.imHatred, 40, 13, 100, 172}, {g.imStart, 48, 680, 600, 600}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.c.Left, c.left) << c.c.Name;
    EXPECT_EQ(c.c.Top, c.top) << c.c.Name;
    EXPECT_EQ(c.c.Width, c.width) << c.c.Name;
    EXPECT_EQ(c.c.Height, c.height) << c.c.Name;
  }
}

TEST(Layout, SplashCoversThePlayfieldUntilPlayAndPlayfieldPixelsStartAtNine) {
  GameFixture f;
  TForm1& g = f.Game();
  const Pixel splashCorner = At(g.ComposeFrame(), 8 + 350, 8 + 350);
  EXPECT_EQ(splashCorner, g.imSplash.Picture.At(350, 350) | 0xFF000000u);
  f.StartPlaying();
  f.Sim->Move(9 + 3 * 35, 9 + 4 * 35);
  EXPECT_EQ(g.Cursor->CellX, 3);
  EXPECT_EQ(g.Cursor->CellY, 4);
  f.Sim->Move(9 + 3 * 35 - 1, 9 + 4 * 35 - 1);
  EXPECT_EQ(g.Cursor->CellX, 2);
  EXPECT_EQ(g.Cursor->CellY, 3);
  // Playfield pixel (0, 0) is window pixel (9, 9): the floor's first pixel.
  const Pixel floor = g.Playfield.Image.Bitmap.At(0, 0) | 0xFF000000u;
  g.Cursor->SetShown(false);
  EXPECT_EQ(At(g.ComposeFrame(), 9, 9), floor);
}

TEST(Layout, HiddenControlsAreNotDrawnAndTheQuestionLiesOnTop) {
  GameFixture f;
  TForm1& g = f.Game();
  g.spNoCash.Visible = true;
  EXPECT_EQ(At(g.ComposeFrame(), 712 + 2, 64 + 2), MakePixel(255, 0, 0));
  g.spNoCash.Visible = false;
  EXPECT_EQ(At(g.ComposeFrame(), 712 + 2, 64 + 2), MakePixel(255, 255, 255));
  f.Sim->Press(350, 350);
  EXPECT_EQ(At(g.ComposeFrame(), 8 + 5, 8 + 5), MakePixel(0, 0, 0));  // the black question panel
}

// The window's colour is painted only between its opaque panels: every frame must still be the
// one painted over a window filled whole, also where a panel was just hidden or moved away.
TEST(Layout, TheFrameIsTheSameAsOnAWindowFilledWhole) {
  GameFixture f;
  TForm1& g = f.Game();
  const auto paintedOverAFullFill = [&] {
    Bitmap32 frame(WindowWidth, WindowHeight, g.WindowColour);
    g.Window.PaintChildren(frame, 0, 0, frame.FullRect());
    return frame;
  };
  EXPECT_EQ(g.ComposeFrame(), paintedOverAFullFill()) << "on the splash";
  f.StartPlaying();
  f.Sim->Wait(1000);
  EXPECT_EQ(g.ComposeFrame(), paintedOverAFullFill()) << "in play";
  g.Panel3.Visible = false;
  EXPECT_EQ(g.ComposeFrame(), paintedOverAFullFill()) << "with the key legend hidden";
  EXPECT_EQ(At(g.ComposeFrame(), 712 + 90, 384 + 20), MakePixel(240, 240, 240));
  g.Panel3.Visible = true;
  g.Panel3.Left -= 150;  // partly over the playfield, partly over the window between
  EXPECT_EQ(g.ComposeFrame(), paintedOverAFullFill()) << "with the key legend moved";
}

// Only what changed since the last frame is painted again. After every step of a game, the frame
// must be the one painted whole, and what lies outside the areas reported to the hosts must be
// what they were shown before.
class PiecemealFrames {
 public:
  explicit PiecemealFrames(GameFixture& f) : f_(f) {}

  void Check(const std::string& moment) {
    TForm1& g = f_.Game();
    const Bitmap32& frame = g.ComposeFrame();
    Bitmap32 whole(WindowWidth, WindowHeight, g.WindowColour);
    g.Window.PaintChildren(whole, 0, 0, whole.FullRect());
    ASSERT_EQ(frame, whole) << moment;
    if (shown_.Empty()) shown_ = Bitmap32(WindowWidth, WindowHeight, 0);
    for (const ClipRect& area : g.FrameChanges()) shown_.DrawOpaque(frame, 0, 0, area);
    ASSERT_EQ(shown_, frame) << moment << ": a change outside the areas reported";
  }

  void WaitChecking(std::int64_t ms, std::int64_t step, const std::string& moment) {
    for (std::int64_t t = 0; t < ms; t += step) {
      f_.Sim->Wait(step);
      Check(moment + " at " + std::to_string(t) + " ms");
    }
  }

 private:
  GameFixture& f_;
  Bitmap32 shown_;
};

TEST(Layout, FramesPaintedPieceByPieceEqualFramesPaintedWhole) {
  GameFixture f;
  TForm1& g = f.Game();
  PiecemealFrames frames(f);
  frames.Check("the first frame");
  g.ComposeFrame();
  EXPECT_TRUE(g.FrameChanges().empty()) << "nothing happened, yet something was painted again";
  frames.WaitChecking(3000, 100, "the splash scrolling");
  f.StartPlaying();
  frames.Check("play begun");
  for (int i = 0; i < 40; ++i) {
    f.Sim->Move(20 + i * 17, 30 + (i * 29) % 680);
    frames.Check("the pointer moving, step " + std::to_string(i));
  }
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{358, 600}, {790, 520}, {400, 500}, {100, 650}}) {
    f.Sim->Press(x, y);
    frames.WaitChecking(500, 50, "after a press at " + std::to_string(x) + "," + std::to_string(y));
  }
  frames.WaitChecking(30000, 250, "the battle");
  f.Sim->Key("P");
  frames.Check("paused");
  f.Sim->Key("P");
  frames.Check("going on");
  g.Panel3.Left -= 150;
  frames.Check("the key legend moved");
  g.Panel3.Left += 150;
  g.WindowColour = MakePixel(128, 0, 0);
  frames.Check("the window's colour changed");
  ReachHighScores(f, 1234);
  frames.Check("the high scores");
  Type(f, "PIECE\r");
  frames.WaitChecking(3000, 100, "after the name");
}

TEST(Layout, TutorialFramesPaintedPieceByPieceEqualFramesPaintedWhole) {
  GameFixture f;
  PiecemealFrames frames(f);
  f.Sim->Press(350, 350);
  f.Sim->Key("Y");
  frames.Check("the tutorial begun");
  for (int page = 0; page < 25; ++page) {
    f.Sim->Press(358, 358);
    frames.WaitChecking(1000, 100, "tutorial page " + std::to_string(page));
  }
}

}  // namespace
