#include "platform/curl/curl_http_client.h"

#include <curl/curl.h>

namespace {
constexpr long kConnectTimeoutMs = 3000;
constexpr long kRequestTimeoutMs = 5000;

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}
}  // namespace

CurlHttpClient::CurlHttpClient() { curl_global_init(CURL_GLOBAL_DEFAULT); }

CurlHttpClient::~CurlHttpClient() { curl_global_cleanup(); }

std::string CurlHttpClient::Get(const std::string& url) {
  CURL* curl = curl_easy_init();
  if (!curl) return {};
  std::string body;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, kRequestTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  const CURLcode result = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);
  if (result != CURLE_OK || status < 200 || status >= 300) return {};
  return body;
}
