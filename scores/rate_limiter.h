// How often one client address may post: a fixed window a client, opened by its first post.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

class RateLimiter {
 public:
  // At most limit requests from one address in each window of windowMs; a limit of 0 lets every
  // request through. nowMs is a monotonic clock. At most maxAddresses windows are remembered, so
  // a crowd of addresses cannot fill the memory: past that the oldest window is forgotten early.
  RateLimiter(int limit, std::int64_t windowMs, std::size_t maxAddresses, std::function<std::int64_t()> nowMs);

  // Counts one request from the address; false when its window is already full.
  bool Allow(const std::string& address);
  std::size_t TrackedAddresses() const;

 private:
  void ForgetWindowsOpenedBefore(std::int64_t time);
  void ForgetOldestWindow();

  const int limit_;
  const std::int64_t windowMs_;
  const std::size_t maxAddresses_;
  const std::function<std::int64_t()> nowMs_;
  mutable std::mutex mutex_;
  std::unordered_map<std::string, int> requestsInWindow_;
  // Every remembered window once, oldest first: expiry and eviction take from the front.
  std::deque<std::pair<std::int64_t, std::string>> openings_;
};
