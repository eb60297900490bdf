// The score server under load, over real HTTP on 127.0.0.1: posts a second and their latency
// with eight clients posting at once, and the time of the page and the JSON over a store that
// holds 100,000 posts.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "scores/score_server.h"
#include "scores/sqlite_score_store.h"

namespace {

constexpr int kClients = 8;
constexpr int kPostsPerClient = 250;
constexpr int kPostsBehindThePage = 100000;

using Clock = std::chrono::steady_clock;

// Every post different: the nonce alone makes it so.
ScorePost NthPost(int n) {
  return {kNonceFirst + n % (kNonceEnd - kNonceFirst), n * 7919 % 1000000,
          PaddedPostName("BENCH" + std::to_string(n % 1000)), kNormalMode};
}

std::string PostTarget(int n) { return kPostPath + EncodeScorePost(NthPost(n)); }

// A server without a rate limit (all clients are 127.0.0.1) over a database file of its own
// that already holds posts 0 .. storedPosts - 1.
class LoadedServer {
 public:
  LoadedServer(StoreLimits limits, int storedPosts)
      : file_(std::filesystem::temp_directory_path() /
              ("mibbetfall-score-bench-" + std::to_string(::getpid()) + "-" + std::to_string(storedPosts))) {
    RemoveFiles();
    std::string error;
    store_ = SqliteScoreStore::Open(file_.string(), limits, error);
    if (!store_) std::fprintf(stderr, "score bench: %s\n", error.c_str());
    for (int n = 0; store_ && n < storedPosts; ++n) store_->Add(NthPost(n), WallClockSeconds());
    server_.emplace(*store_, ServerOptions{.PostsPerMinute = 0});
    port_ = server_->Bind("127.0.0.1", 0);
    server_->Start();
  }
  ~LoadedServer() {
    server_.reset();
    store_.reset();
    RemoveFiles();
  }
  int Port() const { return port_; }
  bool Ready() const { return store_ && port_ > 0; }

 private:
  void RemoveFiles() const {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file_.string() + suffix);
  }

  std::filesystem::path file_;
  std::unique_ptr<SqliteScoreStore> store_;
  std::optional<ScoreServer> server_;
  int port_ = -1;
};

// Each client posts its own share on a new connection a post, as the game does; the latency of
// every post is kept.
std::vector<double> PostFromEightClients(int port, int firstPost, std::atomic<int>& failures) {
  std::vector<std::vector<double>> latencies(kClients);
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      httplib::Client client("127.0.0.1", port);
      for (int i = 0; i < kPostsPerClient; ++i) {
        const auto start = Clock::now();
        const auto reply = client.Get(PostTarget(firstPost + c * kPostsPerClient + i));
        latencies[c].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (!reply || reply->status != 200) ++failures;
      }
    });
  }
  for (std::thread& client : clients) client.join();
  std::vector<double> all;
  for (const auto& own : latencies) all.insert(all.end(), own.begin(), own.end());
  return all;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  const auto at = values.begin() + std::ptrdiff_t(fraction * double(values.size() - 1));
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

// The store starts past its recent history, so every post also forgets an old one, as it will
// on a server that has run for a while.
void BM_ScorePostsFromEightClients(benchmark::State& state) {
  const StoreLimits limits;
  LoadedServer server(limits, limits.RecentKept + 2 * limits.BestKept);
  if (!server.Ready()) return state.SkipWithError("no server");
  int nextPost = limits.RecentKept + 2 * limits.BestKept;
  std::vector<double> latencies;
  std::atomic<int> failures = 0;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const std::vector<double> round = PostFromEightClients(server.Port(), nextPost, failures);
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    latencies.insert(latencies.end(), round.begin(), round.end());
    nextPost += kClients * kPostsPerClient;
  }
  state.counters["posts_per_s"] = double(latencies.size()) / seconds;
  state.counters["p50_ms"] = Percentile(latencies, 0.50);
  state.counters["p99_ms"] = Percentile(latencies, 0.99);
  state.counters["failed"] = failures.load();
}
BENCHMARK(BM_ScorePostsFromEightClients)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// One kept-alive client, as a browser reloading the page.
void BM_ScoreTableOver100000Posts(benchmark::State& state, const char* target) {
  // Limits wide enough that every post stays: the page must find its hundred among all of them.
  static LoadedServer server({.BestKept = kPostsBehindThePage, .RecentKept = kPostsBehindThePage}, kPostsBehindThePage);
  if (!server.Ready()) return state.SkipWithError("no server");
  httplib::Client client("127.0.0.1", server.Port());
  client.set_keep_alive(true);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto reply = client.Get(target);
    if (!reply || reply->status != 200) return state.SkipWithError("the table was not served");
    bytes = reply->body.size();
  }
  state.counters["bytes"] = double(bytes);
}
BENCHMARK_CAPTURE(BM_ScoreTableOver100000Posts, page, "/")->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ScoreTableOver100000Posts, json, "/scores.json")->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
