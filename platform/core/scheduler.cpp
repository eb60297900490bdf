#include "platform/scheduler.h"

#include <algorithm>
#include <exception>
#include <iostream>

Timer::Timer(Scheduler& owner, std::string name, int intervalMs, std::function<void()> handler)
    : owner_(owner), name_(std::move(name)), interval_(intervalMs), handler_(std::move(handler)) {}

void Timer::Arm() {
  due_ = owner_.clock_.NowMs() + interval_;
  armSequence_ = owner_.nextArmSequence_++;
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_) Arm();
}

void Timer::SetInterval(int intervalMs) {
  if (intervalMs == interval_) return;
  interval_ = intervalMs;
  if (enabled_) Arm();
}

Timer& Scheduler::Add(std::string name, int intervalMs, std::function<void()> handler) {
  timers_.push_back(std::make_unique<Timer>(*this, std::move(name), intervalMs, std::move(handler)));
  return *timers_.back();
}

void Scheduler::Remove(const Timer& timer) {
  std::erase_if(timers_, [&](const std::unique_ptr<Timer>& t) { return t.get() == &timer; });
}

Timer* Scheduler::EarliestArmed() const {
  Timer* best = nullptr;
  for (const auto& t : timers_) {
    if (!t->Armed()) continue;
    if (!best || t->due_ < best->due_ || (t->due_ == best->due_ && t->armSequence_ < best->armSequence_))
      best = t.get();
  }
  return best;
}

std::optional<std::int64_t> Scheduler::NextDue() const {
  const Timer* t = EarliestArmed();
  if (!t) return std::nullopt;
  return t->due_;
}

bool Scheduler::FireNextDue(std::int64_t upTo) {
  Timer* t = EarliestArmed();
  if (!t || t->due_ > upTo) return false;
  t->Arm();
  if (!t->handler_) return true;
  try {
    t->handler_();
  } catch (const std::exception& e) {
    if (!t->failureReported_) std::cerr << "mibbetfall: timer " << t->name_ << " failed: " << e.what() << "\n";
    t->failureReported_ = true;
  } catch (...) {
    if (!t->failureReported_) std::cerr << "mibbetfall: timer " << t->name_ << " failed\n";
    t->failureReported_ = true;
  }
  return true;
}
