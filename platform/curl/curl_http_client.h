// HTTP through libcurl, with a bounded wait: the post must never hold the window for long.
// libcurl and the TLS libraries it pulls in cost megabytes that most sessions never use, so the
// library is opened at the first request, not at start.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/http_client.h"

class CurlHttpClient : public HttpClient {
 public:
  explicit CurlHttpClient(std::string libraryName = "libcurl.so.4");
  ~CurlHttpClient() override;
  std::string Get(const std::string& url) override;

 private:
  struct Library;
  // The library, opened by the first caller; null when it cannot be loaded, and then every
  // request fails as one to an unreachable server does.
  const Library* Open();

  std::string libraryName_;
  std::once_flag opened_;
  std::unique_ptr<Library> library_;
};
