// Port: the time of day, the calendar and the seed of the game-wide random generator.
#pragma once

#include <cstdint>

struct CalendarDate {
  int Year = 2010;
  int Month = 1;
  int Day = 1;
  bool operator==(const CalendarDate&) const = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic milliseconds; only differences matter.
  virtual std::int64_t NowMs() const = 0;
  virtual CalendarDate Today() const = 0;
  // The run's seed for the random generator, the same for every call: from the time the game
  // started, from a recording when one is replayed, fixed in the simulator.
  virtual std::uint32_t RandomSeed() const = 0;
};
