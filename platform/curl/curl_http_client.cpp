#include "platform/curl/curl_http_client.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <iostream>

namespace {
constexpr long kConnectTimeoutMs = 3000;
constexpr long kRequestTimeoutMs = 5000;

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

// Takes the function named from the opened library; false, with the reason, when it is missing.
template <typename Function>
bool Take(void* handle, const char* name, Function& function, std::string& error) {
  function = reinterpret_cast<Function>(dlsym(handle, name));
  if (!function) error = std::string("it has no ") + name;
  return function != nullptr;
}
}  // namespace

struct CurlHttpClient::Library {
  void* Handle = nullptr;
  decltype(&curl_global_init) GlobalInit = nullptr;
  decltype(&curl_global_cleanup) GlobalCleanup = nullptr;
  decltype(&curl_easy_init) EasyInit = nullptr;
  decltype(&curl_easy_setopt) EasySetopt = nullptr;
  decltype(&curl_easy_perform) EasyPerform = nullptr;
  decltype(&curl_easy_getinfo) EasyGetinfo = nullptr;
  decltype(&curl_easy_cleanup) EasyCleanup = nullptr;

  bool TakeFunctions(std::string& error) {
    return Take(Handle, "curl_global_init", GlobalInit, error) &&
           Take(Handle, "curl_global_cleanup", GlobalCleanup, error) &&
           Take(Handle, "curl_easy_init", EasyInit, error) && Take(Handle, "curl_easy_setopt", EasySetopt, error) &&
           Take(Handle, "curl_easy_perform", EasyPerform, error) &&
           Take(Handle, "curl_easy_getinfo", EasyGetinfo, error) &&
           Take(Handle, "curl_easy_cleanup", EasyCleanup, error);
  }
};

CurlHttpClient::CurlHttpClient(std::string libraryName) : libraryName_(std::move(libraryName)) {}

CurlHttpClient::~CurlHttpClient() {
  if (!library_) return;
  library_->GlobalCleanup();
  dlclose(library_->Handle);
}

const CurlHttpClient::Library* CurlHttpClient::Open() {
  // Requests come from several threads at once: the first one opens the library for all.
  std::call_once(opened_, [this] {
    auto library = std::make_unique<Library>();
    std::string error;
    library->Handle = dlopen(libraryName_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library->Handle) error = dlerror();
    else if (!library->TakeFunctions(error)) dlclose(library->Handle);
    else if (library->GlobalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
      error = "it cannot start";
      dlclose(library->Handle);
    }
    if (!error.empty()) {
      std::cerr << "mibbetfall: cannot load " << libraryName_ << ", so scores are not posted online: " << error << "\n";
      return;
    }
    library_ = std::move(library);
  });
  return library_.get();
}

std::string CurlHttpClient::Get(const std::string& url) {
  const Library* lib = Open();
  if (!lib) return {};
  CURL* curl = lib->EasyInit();
  if (!curl) return {};
  std::string body;
  lib->EasySetopt(curl, CURLOPT_URL, url.c_str());
  lib->EasySetopt(curl, CURLOPT_NOSIGNAL, 1L);
  lib->EasySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
  lib->EasySetopt(curl, CURLOPT_TIMEOUT_MS, kRequestTimeoutMs);
  lib->EasySetopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
  lib->EasySetopt(curl, CURLOPT_WRITEDATA, &body);
  const CURLcode result = lib->EasyPerform(curl);
  long status = 0;
  lib->EasyGetinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  lib->EasyCleanup(curl);
  if (result != CURLE_OK || status < 200 || status >= 300) return {};
  return body;
}
