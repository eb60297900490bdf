// HTTP through libcurl, with a bounded wait: the post must never hold the window for long.
#pragma once

#include "platform/http_client.h"

class CurlHttpClient : public HttpClient {
 public:
  CurlHttpClient();
  ~CurlHttpClient() override;
  std::string Get(const std::string& url) override;
};
