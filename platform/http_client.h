// Port: one blocking HTTP GET. Every failure gives the empty text.
#pragma once

#include <string>

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual std::string Get(const std::string& url) = 0;
};
