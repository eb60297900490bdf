#include "input/host_input.h"

#include <cctype>

#include "app/main_window.h"

void HostInput::MoveTo(int x, int y) {
  pointerX_ = x;
  pointerY_ = y;
  game_.WindowMouseMove(x, y);
}

void HostInput::Apply(const InputEvent& input) {
  using Kind = InputEvent::Kind;
  const bool pointerElsewhere = input.X != pointerX_ || input.Y != pointerY_;
  switch (input.Type) {
    case Kind::Move:
      MoveTo(input.X, input.Y);
      break;
    case Kind::Down:
      if (pointerElsewhere) MoveTo(input.X, input.Y);
      game_.WindowMouseDown(input.X, input.Y, input.Button);
      break;
    case Kind::Up:
      if (pointerElsewhere) MoveTo(input.X, input.Y);
      game_.WindowMouseUp(input.X, input.Y, input.Button);
      break;
    case Kind::KeyDown:
      game_.FormKeyPress(input.Key);
      break;
    case Kind::KeyUp:
      // The release carries the key's code: upper case for letters, as a keyboard reports them.
      game_.FormKeyUp(std::toupper(static_cast<unsigned char>(input.Key)));
      break;
  }
}
