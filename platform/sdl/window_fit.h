// Where the game's frame sits in a window of any size: enlarged by a whole number, pixel for
// pixel, centred, with a black border around it. Plain arithmetic, so it is tested without a display.
#pragma once

struct Size {
  int Width = 0, Height = 0;
  bool operator==(const Size&) const = default;
};

struct FramePoint {
  int X = 0, Y = 0;
  bool operator==(const FramePoint&) const = default;
};

// The frame as a window of a given size shows it.
struct FrameFit {
  int Scale = 1;
  int Left = 0, Top = 0;  // the window pixel of the frame's top-left corner
  bool operator==(const FrameFit&) const = default;
};

// The largest whole scale at which the frame, with the window's decorations around it, fits in
// room (the usable desktop); 1 when not even that fits, since a game too big for a small screen
// still beats no game.
int LargestScale(Size frame, Size room, Size decorations = {});

// The frame in a window of that size: the largest whole scale that fits, centred. A window
// smaller than the frame shows its top-left part.
FrameFit FitFrame(Size frame, Size window);

// The frame pixel under a window pixel. A pointer in the border counts as on the nearest edge of
// the frame: the player's hand left the field there, and a press in the border still gets its
// release, so no button is left held down in the game.
FramePoint ToFramePixel(const FrameFit& fit, Size frame, int x, int y);
