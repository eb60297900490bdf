// Runs each request of another client on a thread of its own, so a slow or absent server never
// holds the window: Get returns at once with an empty text (the game throws replies away).
// Destruction waits for the requests still in flight; the inner client's time-outs bound that wait.
#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <string>
#include <thread>

#include "platform/http_client.h"

class BackgroundHttpClient : public HttpClient {
 public:
  explicit BackgroundHttpClient(HttpClient& inner) : inner_(inner) {}
  ~BackgroundHttpClient() override;
  std::string Get(const std::string& url) override;

 private:
  struct Request {
    std::thread Worker;
    std::atomic<bool> Done{false};
  };
  // Joins the requests that have finished, so a long session keeps no dead threads.
  void ReapFinished();

  HttpClient& inner_;
  std::list<std::unique_ptr<Request>> inFlight_;
};
