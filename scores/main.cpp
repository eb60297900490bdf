// mibbetfall-scores: the online high-score table the game posts to.
//   mibbetfall-scores [--listen HOST:PORT] [--db FILE] [--rate-limit POSTS_A_MINUTE] [--site DIR]
// Port 0 takes a free port; the first line printed names the address served. SIGINT or SIGTERM
// stops it cleanly.
#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "scores/score_server.h"
#include "scores/sqlite_score_store.h"

namespace {

constexpr char kUsage[] =
    "usage: mibbetfall-scores [--listen HOST:PORT] [--db FILE] [--rate-limit POSTS_A_MINUTE] [--site DIR]\n";

struct Arguments {
  std::string Host = "127.0.0.1";
  int Port = 8787;
  std::string Database;
  int PostsPerMinute = ServerOptions{}.PostsPerMinute;
  std::string Site;  // the browser version's folder, served under /play/
};

std::optional<int> WholeNumber(std::string_view text, int lowest, int highest) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

// HOST:PORT, with an IPv6 host in brackets ("[::1]:8787").
bool ReadListenAddress(std::string_view text, Arguments& arguments) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string_view host = text.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  const auto port = WholeNumber(text.substr(colon + 1), 0, 65535);
  if (!port) return false;
  arguments.Host = host;
  arguments.Port = *port;
  return true;
}

bool ReadDatabase(std::string_view text, Arguments& arguments) {
  arguments.Database = text;
  return !text.empty();
}

bool ReadRateLimit(std::string_view text, Arguments& arguments) {
  const auto limit = WholeNumber(text, 0, 1000000);
  arguments.PostsPerMinute = limit.value_or(0);
  return limit.has_value();
}

bool ReadSite(std::string_view text, Arguments& arguments) {
  arguments.Site = text;
  return !text.empty();
}

using OptionReader = bool (*)(std::string_view, Arguments&);
constexpr std::pair<std::string_view, OptionReader> kOptions[] = {
    {"--listen", ReadListenAddress}, {"--db", ReadDatabase}, {"--rate-limit", ReadRateLimit}, {"--site", ReadSite}};

std::optional<Arguments> ReadArguments(int argc, char** argv) {
  if (argc % 2 == 0) return std::nullopt;  // an option without its value
  Arguments arguments;
  for (int i = 1; i < argc; i += 2) {
    const auto* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                      [&](const auto& known) { return known.first == argv[i]; });
    if (option == std::end(kOptions) || !option->second(argv[i + 1], arguments)) return std::nullopt;
  }
  return arguments;
}

// The user's data folder, as the game keeps its own table there (no asset folder to prefer).
std::string DefaultDatabase() {
  const std::string folder = WritableFolder("", "XDG_DATA_HOME", ".local/share");
  return folder.empty() ? "" : folder + "scores.sqlite3";
}

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

int main(int argc, char** argv) {
  // Blocked before any thread starts, so every thread inherits the mask and only sigwait below
  // sees the signals: the server then stops between requests, never inside one.
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  auto arguments = ReadArguments(argc, argv);
  if (!arguments) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (arguments->Database.empty()) arguments->Database = DefaultDatabase();
  if (arguments->Database.empty()) {
    std::fputs("mibbetfall-scores: no data folder (neither XDG_DATA_HOME nor HOME): give --db FILE\n", stderr);
    return 1;
  }
  std::string error;
  const auto store = SqliteScoreStore::Open(arguments->Database, StoreLimits{}, error);
  if (!store) {
    std::fprintf(stderr, "mibbetfall-scores: cannot open the database %s: %s\n", arguments->Database.c_str(),
                 error.c_str());
    return 1;
  }
  ScoreServer server(*store, ServerOptions{.PostsPerMinute = arguments->PostsPerMinute});
  if (!arguments->Site.empty() && !server.ServeSite(arguments->Site)) {
    std::fprintf(stderr, "mibbetfall-scores: %s is not a folder to serve\n", arguments->Site.c_str());
    return 1;
  }
  const int port = server.Bind(arguments->Host, arguments->Port);
  if (port < 0) {
    std::fprintf(stderr, "mibbetfall-scores: cannot listen on %s:%d\n", arguments->Host.c_str(), arguments->Port);
    return 1;
  }
  server.Start();
  const bool ipv6 = arguments->Host.find(':') != std::string::npos;
  std::printf("listening on http://%s%s%s:%d/ with %s\n", ipv6 ? "[" : "", arguments->Host.c_str(), ipv6 ? "]" : "",
              port, arguments->Database.c_str());
  if (!arguments->Site.empty())
    std::printf("the browser game on http://%s%s%s:%d/play/\n", ipv6 ? "[" : "", arguments->Host.c_str(),
                ipv6 ? "]" : "", port);
  std::fflush(stdout);

  int received = 0;
  sigwait(&signals, &received);
  std::fprintf(stderr, "mibbetfall-scores: %s, stopping\n", strsignal(received));
  server.Stop();
  return 0;
}
