// The game's own window: shows the frames the core composes, enlarged by a whole number in its
// window surface, and turns the window's pointer and key events into the game's inputs.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "input/input_event.h"
#include "platform/sdl/window_fit.h"
#include "presentation/bitmap32.h"

class TForm1;

// What the game takes from a window event, as the simulator's script would hand it over; pointer
// positions are frame pixels. Keys that are no characters (F11 among them) give nothing.
std::vector<InputEvent> InputsOf(const SDL_Event& e, const FrameFit& fit, Size frame);

// True for the key that switches between a window and the whole screen; it is the host's, never
// the game's, so it is neither handed over nor recorded.
bool IsFullscreenKey(const SDL_Event& e);

// Pushes to the display only the areas the core repainted since the last frame shown: the
// cheapest way to the screen when little moves. They are enlarged in place, pixel for pixel, so
// the core's frame is the same at every scale.
class GameWindow {
 public:
  // windowedScale: the scale the window has when it is not on the whole screen.
  GameWindow(SDL_Window* window, TForm1& game, int windowedScale);
  bool Ready();
  // Shows the window. Its frame is known only once the window manager has put it on: a scale the
  // player did not choose steps down when the frame pushes the window past the usable desktop.
  void Show(bool scaleChosen);

  // True when the event was the window's own (shown, uncovered, resized): the next frame is
  // drawn whole, border included.
  bool Exposed(const SDL_Event& e);
  void ToggleFullscreen();

  // Composes the frame and shows what changed in it.
  void ShowChanges();

  std::vector<InputEvent> InputsOf(const SDL_Event& e) const;

 private:
  // Where the frame sits in the window surface as it is now; owes a whole frame when that moved.
  SDL_Surface* CurrentSurface();
  SDL_Rect PutArea(SDL_Surface* surface, const Bitmap32& frame, const ClipRect& area);
  void FollowCaption();

  SDL_Window* window_;
  TForm1& game_;
  int windowedScale_;
  Size surfaceSize_;
  FrameFit fit_;
  // The surface holds none of the frame yet, or not where it now belongs.
  bool wholeOwed_ = true;
  std::vector<SDL_Rect> shownAreas_;
  std::vector<unsigned char> band_;  // an area converted, for a surface of another pixel format
  std::string caption_;
};
