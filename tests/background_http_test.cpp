// The post leaves the window's thread: a server that never answers must not hold the game.
#include <gtest/gtest.h>

#include <future>

#include "platform/curl/background_http_client.h"
#include "platform/curl/curl_http_client.h"

namespace {

// A server that answers only when the test lets it.
class HeldClient : public HttpClient {
 public:
  std::string Get(const std::string& url) override {
    started.set_value(url);
    release.get_future().wait();
    return "ok";
  }
  std::promise<std::string> started;
  std::promise<void> release;
};

TEST(BackgroundHttp, GetReturnsAtOnceAndClosingWaitsForTheRequestInFlight) {
  HeldClient server;
  std::future<std::string> started = server.started.get_future();
  std::future<void> closed;
  {
    auto client = std::make_unique<BackgroundHttpClient>(server);
    EXPECT_EQ(client->Get("http://host/a"), "") << "the caller never waits for the answer";
    EXPECT_EQ(started.get(), "http://host/a");
    closed = std::async(std::launch::async, [&client] { client.reset(); });
    EXPECT_EQ(closed.wait_for(std::chrono::seconds(0)), std::future_status::timeout)
        << "closing waits for the request in flight";
    server.release.set_value();
    closed.get();
  }
}

TEST(BackgroundHttp, ARefusedConnectionIsSilentAndEmpty) {
  // Port 1 on the loopback has no listener: the connection is refused at once.
  CurlHttpClient curl;
  EXPECT_EQ(curl.Get("http://127.0.0.1:1/mibbets/hiscore.php?q=1"), "");
  BackgroundHttpClient background(curl);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(background.Get("http://127.0.0.1:1/x"), "");
}

}  // namespace
