// The window's enlargement: which whole scale fits a desktop, where the frame sits in a window of
// any size, and which frame pixel a pointer in that window is over.
#include "platform/sdl/window_fit.h"

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "platform/sdl/game_window.h"

namespace {

constexpr Size kFrame{WindowWidth, WindowHeight};

TEST(WindowFit, LargestScaleIsTheLargestWholeOneThatFitsWithTheDecorations) {
  struct Case {
    Size Room, Decorations;
    int Scale;
  } cases[] = {
      {{1920, 1080}, {}, 1},  // a 1080p desktop: 1434 rows would not fit
      {{1806, 1434}, {}, 2},  // exactly twice the frame
      {{1805, 1434}, {}, 1},  // one column short
      {{2560, 1440}, {}, 2},  //
      {{2560, 1440}, {0, 7}, 1},  // the title bar takes the rows twice the frame needs
      {{3840, 2160}, {2, 30}, 2},  // 4K less a taskbar and the frame's title bar
      {{3840, 2160}, {}, 3},  //
      {{640, 480}, {}, 1},  // a screen too small still gets the game
      {{0, 0}, {}, 1},  // a desktop that reports nothing
      {{7680, 4320}, {}, 6},  // 8K: the height decides
  };
  for (const Case& c : cases)
    EXPECT_EQ(LargestScale(kFrame, c.Room, c.Decorations), c.Scale)
        << c.Room.Width << "x" << c.Room.Height << " less " << c.Decorations.Width << "x" << c.Decorations.Height;
}

TEST(WindowFit, TheFrameIsCentredAtTheLargestScaleWithABorderAround) {
  struct Case {
    Size Window;
    FrameFit Fit;
  } cases[] = {
      {{903, 717}, {1, 0, 0}},  // the window made for scale 1
      {{1806, 1434}, {2, 0, 0}},  // the window made for scale 2
      {{1920, 1080}, {1, 508, 181}},  // 1080p, whole screen
      {{1920, 1440}, {2, 57, 3}},  // the odd pixel left over goes right and down
      {{3840, 2160}, {3, 565, 4}},  // 4K, whole screen
      {{800, 600}, {1, 0, 0}},  // smaller than the frame: its top-left part shows
  };
  for (const Case& c : cases) EXPECT_EQ(FitFrame(kFrame, c.Window), c.Fit) << c.Window.Width << "x" << c.Window.Height;
}

TEST(WindowFit, APointerMapsToTheFramePixelUnderItAndTheBorderToTheNearestEdge) {
  const FrameFit twice{2, 0, 0}, fullHd{1, 508, 181}, uhd{3, 565, 4};
  struct Case {
    FrameFit Fit;
    int X, Y;
    FramePoint Frame;
  } cases[] = {
      {twice, 0, 0, {0, 0}},
      {twice, 1, 1, {0, 0}},  // both window pixels of a frame pixel
      {twice, 700, 701, {350, 350}},
      {twice, 1805, 1433, {902, 716}},
      {twice, -3, 2000, {0, 716}},  // a drag that left the window
      {fullHd, 508, 181, {0, 0}},
      {fullHd, 507, 180, {0, 0}},  // the border's last pixel before the frame
      {fullHd, 0, 500, {0, 319}},
      {fullHd, 1919, 1079, {902, 716}},
      {uhd, 565 + 3 * 350 + 2, 4 + 3 * 350 + 1, {350, 350}},
      {uhd, 564, 3, {0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ToFramePixel(c.Fit, kFrame, c.X, c.Y), c.Frame) << "scale " << c.Fit.Scale << " at " << c.X << "," << c.Y;
}

SDL_Event Key(Uint32 type, SDL_Keycode key) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = key;
  return e;
}

TEST(WindowInput, TheFullscreenKeyIsTheHostsAndNoInputOfTheGame) {
  const FrameFit fit{2, 0, 0};
  for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    const SDL_Event f11 = Key(type, SDLK_F11);
    EXPECT_TRUE(InputsOf(f11, fit, kFrame).empty());
    EXPECT_EQ(IsFullscreenKey(f11), type == SDL_KEYDOWN);
  }
  EXPECT_FALSE(IsFullscreenKey(Key(SDL_KEYDOWN, SDLK_f)));
  EXPECT_EQ(InputsOf(Key(SDL_KEYDOWN, SDLK_ESCAPE), fit, kFrame),
            (std::vector<InputEvent>{{.Type = InputEvent::Kind::KeyDown, .Key = 27}}));
}

TEST(WindowInput, PointerEventsReachTheGameInFramePixels) {
  const FrameFit fullHd{1, 508, 181}, twice{2, 0, 0};
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.x = 700;
  move.motion.y = 701;
  EXPECT_EQ(InputsOf(move, twice, kFrame), (std::vector<InputEvent>{{InputEvent::Kind::Move, 350, 350}}));
  SDL_Event press{};
  press.type = SDL_MOUSEBUTTONDOWN;
  press.button.button = SDL_BUTTON_RIGHT;
  press.button.x = 10;  // in the border left of the frame
  press.button.y = 181 + 40;
  EXPECT_EQ(InputsOf(press, fullHd, kFrame),
            (std::vector<InputEvent>{{InputEvent::Kind::Down, 0, 40, MouseButton::Right}}));
}

}  // namespace
