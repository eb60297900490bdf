// Hands a host's inputs to the game, one by one. A press or release away from where the pointer
// was is preceded by a move there, as a real pointer would have moved first.
#pragma once

#include "input/input_event.h"

class TForm1;

class HostInput {
 public:
  explicit HostInput(TForm1& game) : game_(game) {}
  void Apply(const InputEvent& input);

 private:
  void MoveTo(int x, int y);

  TForm1& game_;
  int pointerX_ = -1, pointerY_ = -1;
};
