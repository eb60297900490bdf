#include "scores/rate_limiter.h"

#include <algorithm>

RateLimiter::RateLimiter(int limit, std::int64_t windowMs, std::size_t maxAddresses,
                         std::function<std::int64_t()> nowMs)
    : limit_(limit),
      windowMs_(windowMs),
      maxAddresses_(std::max<std::size_t>(maxAddresses, 1)),
      nowMs_(std::move(nowMs)) {}

bool RateLimiter::Allow(const std::string& address) {
  if (limit_ <= 0) return true;
  std::lock_guard lock(mutex_);
  const std::int64_t now = nowMs_();
  ForgetWindowsOpenedBefore(now - windowMs_ + 1);
  auto window = requestsInWindow_.find(address);
  if (window == requestsInWindow_.end()) {
    if (requestsInWindow_.size() >= maxAddresses_) ForgetOldestWindow();
    window = requestsInWindow_.emplace(address, 0).first;
    openings_.emplace_back(now, address);
  }
  if (window->second >= limit_) return false;
  ++window->second;
  return true;
}

std::size_t RateLimiter::TrackedAddresses() const {
  std::lock_guard lock(mutex_);
  return requestsInWindow_.size();
}

void RateLimiter::ForgetWindowsOpenedBefore(std::int64_t time) {
  while (!openings_.empty() && openings_.front().first < time) ForgetOldestWindow();
}

void RateLimiter::ForgetOldestWindow() {
  requestsInWindow_.erase(openings_.front().second);
  openings_.pop_front();
}
