// One input as a host hands it to the game: the window, the simulator's script and a recording
// all speak in these, so a recorded game meets exactly the calls the played one did.
#pragma once

#include "presentation/controls.h"

struct InputEvent {
  enum class Kind { Move, Down, Up, KeyDown, KeyUp };
  Kind Type = Kind::Move;
  int X = 0, Y = 0;  // window pixels, for the pointer's kinds
  MouseButton Button = MouseButton::Left;
  char Key = 0;  // the character, 27 for Esc, 13 for Enter, 8 for Backspace
  bool operator==(const InputEvent&) const = default;
};
