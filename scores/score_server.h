// The HTTP side of the score server: the game's post, the public table and a health check.
//   GET /mibbets/hiscore.php?q=...  one post from the game (see screens/score_post.h)
//   GET /  GET /scores.json          the best normal-mode scores, as a page and as JSON
//   GET /healthz                     200 while the store answers
#pragma once

#include <httplib.h>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "scores/rate_limiter.h"
#include "scores/score_store.h"

std::int64_t SteadyClockMs();
std::int64_t WallClockSeconds();

struct ServerOptions {
  // Posts one address may send in a minute; 0 lifts the limit (a benchmark posts from one address).
  int PostsPerMinute = 6;
  std::size_t TrackedAddresses = 10000;
  std::function<std::int64_t()> MonotonicMs = SteadyClockMs;
  // The date a post is stored with.
  std::function<std::int64_t()> UnixSeconds = WallClockSeconds;
};

class ScoreServer {
 public:
  ScoreServer(ScoreStore& store, ServerOptions options);
  ~ScoreServer();
  ScoreServer(const ScoreServer&) = delete;
  ScoreServer& operator=(const ScoreServer&) = delete;

  // Binds host:port, refusing a port another server already holds; port 0 takes a free one.
  // The bound port, or -1.
  int Bind(const std::string& host, int port);
  // Serves the browser version's files from dir under /play/, so that the page's posts come from
  // its own origin; false when dir is no folder. Call before Start.
  bool ServeSite(const std::string& dir);
  // Serves the bound port on a thread of its own; returns once requests are being taken.
  void Start();
  // Stops taking requests and waits for those in hand.
  void Stop();

 private:
  void TakePost(const httplib::Request& request, httplib::Response& response);
  void ServeTable(httplib::Response& response, std::string (*render)(const std::vector<StoredScore>&),
                  const char* contentType);
  void ServeHealth(httplib::Response& response);

  ScoreStore& store_;
  RateLimiter limiter_;
  const std::function<std::int64_t()> unixSeconds_;
  httplib::Server http_;
  std::thread listener_;
  std::atomic<bool> listenerEnded_{false};
};
