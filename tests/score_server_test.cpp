// The score server: what its store keeps, how often an address may post, the page's escaping,
// and the whole way from the game's own HTTP client to the public table.
#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "platform/curl/curl_http_client.h"
#include "scores/rate_limiter.h"
#include "scores/score_page.h"
#include "scores/score_server.h"
#include "scores/sqlite_score_store.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMarchFirst2026 = 1772323200;  // midnight, UTC
constexpr std::int64_t kMinuteMs = 60000;

// A folder of its own for a test's database, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "mibbetfall-scores-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : "";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

ScorePost Post(int score, const std::string& name, char mode = kNormalMode, int nonce = 500000) {
  return {nonce, score, PaddedPostName(name), mode};
}

std::unique_ptr<SqliteScoreStore> OpenStore(const std::string& file, StoreLimits limits = {}) {
  std::string error;
  auto store = SqliteScoreStore::Open(file, limits, error);
  EXPECT_NE(store, nullptr) << error;
  return store;
}

std::vector<int> BestScores(const ScoreStore& store, char mode, int n) {
  std::vector<int> scores;
  for (const StoredScore& stored : store.Best(mode, n).value_or(std::vector<StoredScore>{}))
    scores.push_back(stored.Score);
  return scores;
}

TEST(SqliteScoreStore, KeepsTheBestOfEachModeAndTheRecentPostsAndForgetsTheRest) {
  struct Case {
    const char* label;
    std::vector<std::pair<int, char>> posts;
    std::int64_t kept;
    std::vector<int> bestNormal;
  };
  const auto rising = [] {
    std::vector<std::pair<int, char>> posts;
    for (int score = 1; score <= 20; ++score) posts.emplace_back(score, kNormalMode);
    return posts;
  };
  const auto falling = [&] {
    auto posts = rising();
    std::reverse(posts.begin(), posts.end());
    return posts;
  };
  const Case cases[] = {
      {"rising: the best are the recent ones", rising(), 4, {20, 19, 18, 17}},
      {"falling: the best three and the last four", falling(), 7, {20, 19, 18, 4, 3}},
      {"mixed",
       {{5, 'E'}, {50, 'E'}, {7, 'E'}, {40, 'E'}, {9, 'E'}, {30, 'E'}, {1, 'E'}, {2, 'E'}, {3, 'E'}, {4, 'E'}},
       7,
       {50, 40, 30, 4, 3}},
      {"debug posts rank apart and keep their own best three",
       {{99, 'X'},
        {98, 'X'},
        {97, 'X'},
        {96, 'X'},
        {10, 'E'},
        {20, 'E'},
        {30, 'E'},
        {1, 'E'},
        {2, 'E'},
        {3, 'E'},
        {4, 'E'}},
       10,
       {30, 20, 10, 4, 3}},
  };
  for (const Case& c : cases) {
    ScratchFolder folder;
    const auto store = OpenStore(folder.File("scores.sqlite3"), {.BestKept = 3, .RecentKept = 4});
    int nonce = 200000;
    for (const auto& [score, mode] : c.posts)
      EXPECT_EQ(store->Add(Post(score, "ACE", mode, ++nonce), 0), AddOutcome::Stored);
    EXPECT_EQ(store->CountPosts(), c.kept) << c.label;
    EXPECT_EQ(BestScores(*store, kNormalMode, 5), c.bestNormal) << c.label;
  }
}

TEST(SqliteScoreStore, DebugPostsKeepTheirOwnTable) {
  ScratchFolder folder;
  const auto store = OpenStore(folder.File("scores.sqlite3"));
  store->Add(Post(500, "ACE"), kMarchFirst2026);
  store->Add(Post(900, "CHEAT", kDebugMode), kMarchFirst2026 + 1);
  EXPECT_EQ(BestScores(*store, kNormalMode, 10), std::vector<int>{500});
  ASSERT_EQ(store->Best(kDebugMode, 10).value().size(), 1u);
  EXPECT_EQ(store->Best(kDebugMode, 10).value()[0], (StoredScore{900, "CHEAT       ", kMarchFirst2026 + 1}));
}

TEST(SqliteScoreStore, AReplayIsStoredOnceAndANewNonceIsANewPost) {
  ScratchFolder folder;
  const auto store = OpenStore(folder.File("scores.sqlite3"));
  EXPECT_EQ(store->Add(Post(700, "ACE", kNormalMode, 123456), 0), AddOutcome::Stored);
  EXPECT_EQ(store->Add(Post(700, "ACE", kNormalMode, 123456), 5), AddOutcome::Replay);
  EXPECT_EQ(store->Add(Post(700, "ACE", kNormalMode, 123457), 5), AddOutcome::Stored);
  EXPECT_EQ(store->CountPosts(), 2);
}

TEST(SqliteScoreStore, PostsOutliveARestartAndSmallerLimitsApplyAtOnce) {
  ScratchFolder folder;
  const std::string file = folder.File("scores.sqlite3");
  {
    const auto store = OpenStore(file);
    for (int score = 10; score >= 1; --score) store->Add(Post(score, "ACE", kNormalMode, 300000 + score), 0);
  }
  EXPECT_EQ(OpenStore(file)->CountPosts(), 10);
  const auto smaller = OpenStore(file, {.BestKept = 2, .RecentKept = 3});
  EXPECT_EQ(smaller->CountPosts(), 5);
  EXPECT_EQ(BestScores(*smaller, kNormalMode, 10), (std::vector<int>{10, 9, 3, 2, 1}));
}

TEST(SqliteScoreStore, AFileThatCannotBeOpenedIsRefusedWithTheReason) {
  std::string error;
  EXPECT_EQ(SqliteScoreStore::Open("/nonexistent-folder/scores.sqlite3", {}, error), nullptr);
  EXPECT_FALSE(error.empty());
}

TEST(RateLimiter, AnAddressMayPostSixTimesInAMinute) {
  std::int64_t now = 1000;
  RateLimiter limiter(6, kMinuteMs, 100, [&] { return now; });
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(limiter.Allow("10.0.0.1")) << i;
  EXPECT_FALSE(limiter.Allow("10.0.0.1"));
  EXPECT_TRUE(limiter.Allow("10.0.0.2")) << "each address has its own count";
  now += kMinuteMs - 1;
  EXPECT_FALSE(limiter.Allow("10.0.0.1"));
  now += 1;
  EXPECT_TRUE(limiter.Allow("10.0.0.1")) << "a new minute, a new window";
}

TEST(RateLimiter, RemembersABoundedNumberOfAddressesAndZeroLiftsTheLimit) {
  std::int64_t now = 0;
  RateLimiter limiter(6, kMinuteMs, 100, [&] { return now; });
  for (int i = 0; i < 10000; ++i) limiter.Allow("10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256));
  EXPECT_EQ(limiter.TrackedAddresses(), 100u);
  now += kMinuteMs;
  limiter.Allow("10.9.9.9");
  EXPECT_EQ(limiter.TrackedAddresses(), 1u) << "windows of the last minute are forgotten";

  RateLimiter unlimited(0, kMinuteMs, 100, [&] { return now; });
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(unlimited.Allow("127.0.0.1"));
  EXPECT_EQ(unlimited.TrackedAddresses(), 0u);
}

TEST(ScorePage, EscapesEveryCharacterThatMeansSomethingInHtml) {
  EXPECT_EQ(HtmlEscape("<script>&\"'"), "&lt;script&gt;&amp;&quot;&#39;");
  EXPECT_EQ(HtmlEscape("ACE_-/09"), "ACE_-/09");
}

TEST(ScorePage, ShowsEachStoredNameEscapedInItsCellAndLoadsNothingFromElsewhere) {
  const std::string page = ScorePageHtml({{900, "<b>&</b>    ", kMarchFirst2026}, {40, "  ACE       ", 0}});
  EXPECT_NE(page.find("MIBBETFALL HIGH SCORES"), std::string::npos);
  EXPECT_NE(page.find("<td>&lt;b&gt;&amp;&lt;/b&gt;</td><td>2026-03-01</td>"), std::string::npos) << page;
  EXPECT_EQ(page.find("<b>&"), std::string::npos);
  EXPECT_NE(page.find("<td class=\"number\">2</td><td class=\"number\">40</td><td>ACE</td><td>1970-01-01</td>"),
            std::string::npos);
  for (const char* external : {"http", "src=", "<link", "<script", "@import", "url("})
    EXPECT_EQ(page.find(external), std::string::npos) << external;
  EXPECT_NE(ScorePageHtml({}).find("No scores yet"), std::string::npos);
}

// A real server on a free local port over a store of its own, with clocks the test moves.
struct ServerHarness {
  explicit ServerHarness(int postsPerMinute = 6)
      : store(OpenStore(folder.File("scores.sqlite3"))),
        server(*store, {.PostsPerMinute = postsPerMinute,
                        .MonotonicMs = [this] { return nowMs; },
                        .UnixSeconds = [] { return kMarchFirst2026 + 3600; }}),
        port(server.Bind("127.0.0.1", 0)),
        client("127.0.0.1", port) {
    server.Start();
  }

  int Status(const std::string& target) {
    const auto result = client.Get(target);
    return result ? result->status : -1;
  }
  std::string Body(const std::string& target) {
    const auto result = client.Get(target);
    return result ? result->body : "";
  }
  std::int64_t Kept() const { return store->CountPosts().value_or(-1); }
  std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port); }

  ScratchFolder folder;
  std::unique_ptr<SqliteScoreStore> store;
  std::int64_t nowMs = 0;
  ScoreServer server;
  int port;
  httplib::Client client;
};

std::string PostTarget(const ScorePost& post) { return kPostPath + EncodeScorePost(post); }

TEST(ScoreServer, APostFromTheGamesOwnHttpClientReachesThePublicTable) {
  ServerHarness harness;
  ASSERT_GT(harness.port, 0);
  CurlHttpClient curl;
  EXPECT_EQ(curl.Get(harness.BaseUrl() + PostTarget(Post(4321, "ACE"))), "stored\n");
  const auto table = nlohmann::json::parse(harness.Body("/scores.json"));
  EXPECT_EQ(table,
            nlohmann::json::parse(R"({"scores": [{"rank": 1, "score": 4321, "name": "ACE", "date": "2026-03-01"}]})"));
  EXPECT_EQ(harness.Body("/healthz"), "ok, 1 posts kept\n");
}

TEST(ScoreServer, AClientWhoseLibraryCannotBeLoadedFailsAsAnUnreachableServerDoes) {
  ServerHarness harness;
  ASSERT_GT(harness.port, 0);
  CurlHttpClient withoutLibrary("libmibbetfall-no-such-curl.so.4");
  testing::internal::CaptureStderr();
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(withoutLibrary.Get(harness.BaseUrl() + PostTarget(Post(4321, "ACE"))), "") << "request " << i;
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(harness.Kept(), 0);
  EXPECT_NE(said.find("libmibbetfall-no-such-curl.so.4"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "the reason is given once: " << said;
}

TEST(ScoreServer, RefusesAnythingButAWholeNewPostAndStoresNothing) {
  enum class Before { Nothing, TheSamePost, SixOtherPosts };
  const ScorePost good = Post(2600, "ACE", kNormalMode, 424242);
  const std::string whole = EncodeScorePost(good);
  struct Case {
    const char* label;
    Before before;
    std::string target;
    int status;
  };
  const Case cases[] = {
      {"no query", Before::Nothing, "/mibbets/hiscore.php", 400},
      {"two queries", Before::Nothing, PostTarget(good) + "&q=1", 400},
      {"fourteen fields", Before::Nothing, kPostPath + whole.substr(0, whole.rfind('|')), 400},
      {"sixteen fields", Before::Nothing, PostTarget(good) + "|1", 400},
      {"a nonce out of range", Before::Nothing, PostTarget(Post(2600, "ACE", kNormalMode, 999999)), 400},
      {"a score beyond 24 bits", Before::Nothing, PostTarget(Post(kHighestPostedScore + 1, "ACE")), 400},
      {"a character outside the font", Before::Nothing, PostTarget(Post(2600, "ace")), 400},
      {"an unknown mode", Before::Nothing, PostTarget(Post(2600, "ACE", 'Q')), 400},
      {"a replay", Before::TheSamePost, PostTarget(good), 400},
      {"a seventh post in one minute", Before::SixOtherPosts, PostTarget(good), 429},
      {"a query longer than any post", Before::Nothing, PostTarget(good) + std::string(600, '1'), 414},
      {"a target beyond httplib's own limit", Before::Nothing, PostTarget(good) + std::string(9000, '1'), 414},
  };
  for (const Case& c : cases) {
    ServerHarness harness;
    if (c.before == Before::TheSamePost) {
      ASSERT_EQ(harness.Status(PostTarget(good)), 200);
    }
    for (int i = 0; c.before == Before::SixOtherPosts && i < 6; ++i) {
      ASSERT_EQ(harness.Status(PostTarget(Post(100 + i, "BOB"))), 200);
    }
    const std::int64_t keptBefore = harness.Kept();
    EXPECT_EQ(harness.Status(c.target), c.status) << c.label;
    EXPECT_EQ(harness.Kept(), keptBefore) << c.label;
  }
}

// httplib reads no body of a GET at all; a body it does read may not exceed a kilobyte.
TEST(ScoreServer, ARequestBodyBeyondAKilobyteIsRefused) {
  ServerHarness harness;
  httplib::Request request;
  request.method = "POST";
  request.path = PostTarget(Post(2600, "ACE"));
  request.body = std::string(2000, 'x');
  request.set_header("Content-Type", "text/plain");
  const auto result = harness.client.send(request);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 413);
  EXPECT_EQ(harness.Kept(), 0);
}

TEST(ScoreServer, DebugPostsAreKeptButNeverShown) {
  ServerHarness harness;
  ASSERT_EQ(harness.Status(PostTarget(Post(100, "ACE"))), 200);
  ASSERT_EQ(harness.Status(PostTarget(Post(99999, "CHEAT", kDebugMode))), 200);
  EXPECT_EQ(harness.Kept(), 2);
  EXPECT_EQ(BestScores(*harness.store, kDebugMode, 10), std::vector<int>{99999});
  for (const char* table : {"/", "/scores.json"}) {
    const std::string body = harness.Body(table);
    EXPECT_NE(body.find("ACE"), std::string::npos) << table;
    EXPECT_EQ(body.find("CHEAT"), std::string::npos) << table;
    EXPECT_EQ(body.find("99999"), std::string::npos) << table;
  }
}

TEST(ScoreServer, ThePageRanksTheStoredNames) {
  ServerHarness harness;
  ASSERT_EQ(harness.Status(PostTarget(Post(900, "ACE"))), 200);
  ASSERT_EQ(harness.Status(PostTarget(Post(1200, "MR_X-9/2"))), 200);
  const auto page = harness.client.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  const std::size_t first = page->body.find("<td>MR_X-9/2</td><td>2026-03-01</td>");
  const std::size_t second = page->body.find("<td>ACE</td><td>2026-03-01</td>");
  ASSERT_NE(first, std::string::npos) << page->body;
  ASSERT_NE(second, std::string::npos) << page->body;
  EXPECT_LT(first, second);
}

TEST(ScoreServer, ASecondServerCannotTakeAPortInUse) {
  ServerHarness first;
  ScratchFolder folder;
  const auto store = OpenStore(folder.File("scores.sqlite3"));
  ScoreServer second(*store, {});
  EXPECT_EQ(second.Bind("127.0.0.1", first.port), -1);
}

TEST(ScoreServer, ServesTheBrowserGameUnderPlayBesideItsTable) {
  ScratchFolder folder;
  const auto store = OpenStore(folder.File("scores.sqlite3"));
  ScoreServer server(*store, {});
  EXPECT_FALSE(server.ServeSite(folder.File("no-such-folder")));
  std::filesystem::create_directory(folder.File("site"));
  std::ofstream(folder.File("site/index.html")) << "<canvas></canvas>";
  std::ofstream(folder.File("site/game.wasm")) << "\0asm";
  ASSERT_TRUE(server.ServeSite(folder.File("site")));
  const int port = server.Bind("127.0.0.1", 0);
  server.Start();
  httplib::Client client("127.0.0.1", port);
  const auto page = client.Get("/play/index.html");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->body, "<canvas></canvas>");
  const auto module = client.Get("/play/game.wasm");
  ASSERT_TRUE(module);
  EXPECT_EQ(module->get_header_value("Content-Type"), "application/wasm") << "browsers compile only this type";
  EXPECT_EQ(client.Get("/play/../scores.sqlite3")->status, 404) << "nothing outside the folder";
  EXPECT_EQ(client.Get("/")->body, ScorePageHtml({})) << "the table stays at the root";
}

}  // namespace
