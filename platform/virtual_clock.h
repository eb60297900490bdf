// The game's own time: it stands still until its owner moves it on. The simulator moves it by a
// script's waits; the window and the browser follow real time with it, moving it to each timer's
// due moment and to each input's, so that a game depends only on its inputs and their moments.
#pragma once

#include "platform/clock.h"

class VirtualClock : public Clock {
 public:
  std::int64_t NowMs() const override { return now_; }
  CalendarDate Today() const override { return today_; }
  std::uint32_t RandomSeed() const override { return seed_; }

  void SetNow(std::int64_t ms) { now_ = ms; }
  void SetToday(CalendarDate date) { today_ = date; }
  void SetSeed(std::uint32_t seed) { seed_ = seed; }

 private:
  std::int64_t now_ = 0;
  CalendarDate today_{2010, 3, 1};
  std::uint32_t seed_ = 1;
};
