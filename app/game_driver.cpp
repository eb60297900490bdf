#include "app/game_driver.h"

#include <algorithm>

#include "app/main_window.h"

namespace {

// The music's loop points so far. They only rewind a track: a wake that fired nothing else
// leaves the frame as it was.
int MusicLoopPoints(const TForm1& game) {
  int passed = 0;
  for (const auto& track : game.Music)
    if (track) passed += track->LoopPointsPassed();
  return passed;
}

}  // namespace

bool GameDriver::RunUntil(std::int64_t ms) {
  const int loopPointsBefore = MusicLoopPoints(game_);
  int fired = 0;
  while (const auto due = timers_.NextDue()) {
    if (*due > ms) break;
    clock_.SetNow(std::max(*due, clock_.NowMs()));
    if (timers_.FireNextDue(clock_.NowMs())) ++fired;
  }
  clock_.SetNow(std::max(ms, clock_.NowMs()));
  return fired > MusicLoopPoints(game_) - loopPointsBefore;
}

std::int64_t GameDriver::GameTimeAt(std::int64_t realMs, std::optional<std::int64_t> nextWake) {
  constexpr std::int64_t kLongestCatchUpMs = 1000;
  const std::int64_t gameMs = realMs - skippedMs_;
  if (nextWake && gameMs - *nextWake > kLongestCatchUpMs) skippedMs_ += gameMs - *nextWake - kLongestCatchUpMs;
  return realMs - skippedMs_;
}
