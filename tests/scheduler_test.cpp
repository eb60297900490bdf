// The scheduler: due-time order, ties, re-timing from a handler, and failing handlers.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/fakes.h"
#include "platform/scheduler.h"

namespace {

struct Clocked {
  VirtualClock clock;
  Scheduler timers{clock};
  std::vector<std::string> fired;
  void RunUntil(std::int64_t end) {
    while (const auto due = timers.NextDue()) {
      if (*due > end) break;
      clock.SetNow(*due);
      timers.FireNextDue(*due);
    }
    clock.SetNow(end);
  }
  Timer& Add(const std::string& name, int interval) {
    return timers.Add(name, interval, [this, name] { fired.push_back(name + "@" + std::to_string(clock.NowMs())); });
  }
};

TEST(Scheduler, FiresInDueOrderAndTiesInArmingOrder) {
  Clocked c;
  Timer& slow = c.Add("slow", 300);
  Timer& fast = c.Add("fast", 100);
  Timer& late = c.Add("late", 300);
  late.SetEnabled(true);
  slow.SetEnabled(true);
  fast.SetEnabled(true);
  c.RunUntil(300);
  EXPECT_EQ(c.fired, (std::vector<std::string>{"fast@100", "fast@200", "late@300", "slow@300", "fast@300"}));
}

TEST(Scheduler, EnablingOrRetimingArmsAFullIntervalFromNow) {
  Clocked c;
  Timer& t = c.Add("t", 100);
  c.clock.SetNow(40);
  t.SetEnabled(true);
  c.RunUntil(139);
  EXPECT_TRUE(c.fired.empty());
  c.RunUntil(140);
  EXPECT_EQ(c.fired.size(), 1u);
  t.SetInterval(50);  // at 140: next at 190
  t.SetEnabled(true);  // already enabled: no change
  c.RunUntil(190);
  EXPECT_EQ(c.fired.back(), "t@190");
  t.SetEnabled(false);
  t.SetInterval(0);
  t.SetEnabled(true);
  EXPECT_FALSE(c.timers.NextDue().has_value());  // an interval of 0 never fires
}

TEST(Scheduler, HandlerThatRestartsItselfCountsFromItsEnd) {
  Clocked c;
  int runs = 0;
  Timer* self = nullptr;
  Timer& t = c.timers.Add("tick", 50, [&] {
    self->SetEnabled(false);
    ++runs;
    c.clock.SetNow(c.clock.NowMs() + 20);  // a slow handler
    self->SetEnabled(true);
  });
  self = &t;
  t.SetEnabled(true);
  c.RunUntil(1000);
  EXPECT_EQ(runs, 14);  // every 70 ms
}

TEST(Scheduler, FailingHandlerNeverStopsTheOthers) {
  Clocked c;
  Timer& bad = c.timers.Add("bad", 10, [] { throw std::runtime_error("boom"); });
  Timer& good = c.Add("good", 25);
  bad.SetEnabled(true);
  good.SetEnabled(true);
  c.RunUntil(100);
  EXPECT_EQ(c.fired.size(), 4u);
  EXPECT_TRUE(bad.Enabled());
}

}  // namespace
