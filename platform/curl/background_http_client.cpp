#include "platform/curl/background_http_client.h"

BackgroundHttpClient::~BackgroundHttpClient() {
  for (auto& request : inFlight_) request->Worker.join();
}

std::string BackgroundHttpClient::Get(const std::string& url) {
  ReapFinished();
  auto request = std::make_unique<Request>();
  Request& started = *request;
  inFlight_.push_back(std::move(request));
  started.Worker = std::thread([this, url, &started] {
    inner_.Get(url);
    started.Done = true;
  });
  return {};
}

void BackgroundHttpClient::ReapFinished() {
  for (auto it = inFlight_.begin(); it != inFlight_.end();) {
    if (!(*it)->Done) {
      ++it;
      continue;
    }
    (*it)->Worker.join();
    it = inFlight_.erase(it);
  }
}
