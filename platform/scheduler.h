// Timers that fire one at a time on the host thread, in due-time order.
//
// A timer behaves like a window toolkit's timer: enabling it (or changing its interval while
// enabled) arms a full interval from that moment; after it fires it is armed again one
// interval later, unless its handler disabled or re-timed it. Timers due at the same moment
// fire in the order in which they were armed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"

class Scheduler;

class Timer {
 public:
  Timer(Scheduler& owner, std::string name, int intervalMs, std::function<void()> handler);

  const std::string& Name() const { return name_; }
  int Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetInterval(int intervalMs);
  void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

 private:
  friend class Scheduler;
  void Arm();
  bool Armed() const { return enabled_ && interval_ > 0; }

  Scheduler& owner_;
  std::string name_;
  int interval_;
  bool enabled_ = false;
  std::int64_t due_ = 0;
  std::uint64_t armSequence_ = 0;
  std::function<void()> handler_;
  bool failureReported_ = false;
};

class Scheduler {
 public:
  explicit Scheduler(const Clock& clock) : clock_(clock) {}

  // The timer lives as long as the scheduler, or until Remove. Starts disabled.
  Timer& Add(std::string name, int intervalMs, std::function<void()> handler = {});
  void Remove(const Timer& timer);

  std::optional<std::int64_t> NextDue() const;
  // Fires the earliest timer due at or before upTo; false when none is due. A handler that
  // throws is reported once on stderr and never stops the scheduler.
  bool FireNextDue(std::int64_t upTo);

  const std::vector<std::unique_ptr<Timer>>& Timers() const { return timers_; }
  const Clock& GetClock() const { return clock_; }

 private:
  friend class Timer;
  Timer* EarliestArmed() const;

  const Clock& clock_;
  std::vector<std::unique_ptr<Timer>> timers_;
  std::uint64_t nextArmSequence_ = 1;
};
