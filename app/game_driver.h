// Runs the game as every host does: timers fire in due order, each at its own moment of the
// game's clock, and an input comes after every timer due before it. The simulator, the window and
// the browser all drive the game through this, so the same inputs at the same moments give the
// same game, and a recording replays exactly.
#pragma once

#include <cstdint>
#include <optional>

#include "input/host_input.h"
#include "platform/scheduler.h"
#include "platform/virtual_clock.h"

class TForm1;

class GameDriver {
 public:
  GameDriver(TForm1& game, Scheduler& timers, VirtualClock& clock)
      : game_(game), timers_(timers), clock_(clock), input_(game) {}

  // Fires every timer due by ms, each at its moment, and moves the game's time to ms (never
  // back). True when a timer other than a music loop point fired: what is drawn may have changed.
  bool RunUntil(std::int64_t ms);
  // The input at the game's present moment.
  void Apply(const InputEvent& input) { input_.Apply(input); }
  std::optional<std::int64_t> NextDue() const { return timers_.NextDue(); }
  std::int64_t NowMs() const { return clock_.NowMs(); }

  // For a host that follows real time (its milliseconds since the game started): the moment of
  // the game's clock that real time has reached. After a stall (a suspended machine, a debugger,
  // a game slower than its timers) the game does not rush through every tick it missed: at most
  // a second of them, then its time goes on from there. nextWake is the next moment the host
  // has something due.
  std::int64_t GameTimeAt(std::int64_t realMs, std::optional<std::int64_t> nextWake);
  // The real milliseconds from realMs until the game's moment gameMs.
  std::int64_t RealMsUntil(std::int64_t gameMs, std::int64_t realMs) const { return gameMs + skippedMs_ - realMs; }

 private:
  TForm1& game_;
  Scheduler& timers_;
  VirtualClock& clock_;
  HostInput input_;
  std::int64_t skippedMs_ = 0;  // real time the game's time never saw
};
