#include "scores/score_server.h"

#include <sys/socket.h>

#include <chrono>

#include "scores/score_page.h"

namespace {

constexpr std::int64_t kMinuteMs = 60000;
// A whole post's request target is under 200 characters; anything much longer is not from the game.
constexpr std::size_t kLongestTarget = 512;
constexpr std::size_t kLargestBody = 1024;
// An idle keep-alive connection would otherwise hold up a stop for five seconds.
constexpr time_t kKeepAliveSeconds = 1;
constexpr time_t kReadTimeoutSeconds = 5;

struct Reply {
  int Status;
  const char* Text;
};

constexpr Reply kTooManyPosts = {429, "too many posts, try again in a minute\n"};
constexpr Reply kNotAPost = {400, "not a score post\n"};
constexpr Reply kTooLong = {414, "request too long\n"};
constexpr Reply kStoreDown = {503, "the score store is unavailable\n"};

Reply ReplyTo(AddOutcome outcome) {
  switch (outcome) {
    case AddOutcome::Stored:
      return {200, "stored\n"};
    case AddOutcome::Replay:
      return {400, "already posted\n"};
    case AddOutcome::Failed:
      break;
  }
  return kStoreDown;
}

void Send(httplib::Response& response, Reply reply) {
  response.status = reply.Status;
  response.set_content(reply.Text, "text/plain; charset=utf-8");
}

// httplib's own socket options add SO_REUSEPORT, with which a second server on a taken port
// starts without a word and shares its requests.
void ReuseAddressOnly(socket_t socket) {
  const int yes = 1;
  setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

}  // namespace

std::int64_t SteadyClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t WallClockSeconds() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

ScoreServer::ScoreServer(ScoreStore& store, ServerOptions options)
    : store_(store),
      limiter_(options.PostsPerMinute, kMinuteMs, options.TrackedAddresses, std::move(options.MonotonicMs)),
      unixSeconds_(std::move(options.UnixSeconds)) {
  http_.set_socket_options(ReuseAddressOnly);
  http_.set_tcp_nodelay(true);
  http_.set_keep_alive_timeout(kKeepAliveSeconds);
  http_.set_read_timeout(kReadTimeoutSeconds);
  http_.set_payload_max_length(kLargestBody);
  http_.set_pre_routing_handler([](const httplib::Request& request, httplib::Response& response) {
    if (request.target.size() <= kLongestTarget) return httplib::Server::HandlerResponse::Unhandled;
    Send(response, kTooLong);
    return httplib::Server::HandlerResponse::Handled;
  });
  http_.Get("/mibbets/hiscore.php", [this](const auto& request, auto& response) { TakePost(request, response); });
  http_.Get("/",
            [this](const auto&, auto& response) { ServeTable(response, ScorePageHtml, "text/html; charset=utf-8"); });
  http_.Get("/scores.json",
            [this](const auto&, auto& response) { ServeTable(response, ScoreTableJson, "application/json"); });
  http_.Get("/healthz", [this](const auto&, auto& response) { ServeHealth(response); });
}

ScoreServer::~ScoreServer() { Stop(); }

int ScoreServer::Bind(const std::string& host, int port) {
  if (port == 0) return http_.bind_to_any_port(host);
  return http_.bind_to_port(host, port) ? port : -1;
}

bool ScoreServer::ServeSite(const std::string& dir) {
  // The types a browser insists on for a module and its packed files.
  http_.set_file_extension_and_mimetype_mapping("wasm", "application/wasm");
  http_.set_file_extension_and_mimetype_mapping("js", "text/javascript");
  http_.set_file_extension_and_mimetype_mapping("data", "application/octet-stream");
  http_.set_file_extension_and_mimetype_mapping("ini", "text/plain; charset=utf-8");
  return http_.set_mount_point("/play", dir);
}

void ScoreServer::Start() {
  listener_ = std::thread([this] {
    http_.listen_after_bind();
    listenerEnded_ = true;
  });
  // A stop asked for before the listener runs would be lost: httplib ignores it until then.
  while (!http_.is_running() && !listenerEnded_) std::this_thread::yield();
}

void ScoreServer::Stop() {
  http_.stop();
  if (listener_.joinable()) listener_.join();
}

void ScoreServer::TakePost(const httplib::Request& request, httplib::Response& response) {
  if (!limiter_.Allow(request.remote_addr)) {
    response.set_header("Retry-After", "60");
    return Send(response, kTooManyPosts);
  }
  if (request.get_param_value_count("q") != 1) return Send(response, kNotAPost);
  const std::optional<ScorePost> post = DecodeScorePost(request.get_param_value("q"));
  if (!post) return Send(response, kNotAPost);
  Send(response, ReplyTo(store_.Add(*post, unixSeconds_())));
}

void ScoreServer::ServeTable(httplib::Response& response, std::string (*render)(const std::vector<StoredScore>&),
                             const char* contentType) {
  const auto best = store_.Best(kNormalMode, kShownScores);
  if (!best) return Send(response, kStoreDown);
  // The page carries its own style and nothing else may load, whatever a stored name might hold.
  response.set_header("Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'");
  response.set_header("X-Content-Type-Options", "nosniff");
  response.set_content(render(*best), contentType);
}

void ScoreServer::ServeHealth(httplib::Response& response) {
  const auto posts = store_.CountPosts();
  if (!posts) return Send(response, kStoreDown);
  response.set_content("ok, " + std::to_string(*posts) + " posts kept\n", "text/plain; charset=utf-8");
}
