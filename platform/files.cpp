#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace fs = std::filesystem;

std::string WritableFolder(const std::string& assetDir, const char* xdgVariable, const char* homeFallback) {
  if (::access(assetDir.c_str(), W_OK) == 0) return assetDir;
  fs::path base;
  if (const char* xdg = std::getenv(xdgVariable); xdg && *xdg == '/') base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) base = fs::path(home) / homeFallback;
  else return {};
  const fs::path folder = base / "mibbetfall";
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || ::access(folder.c_str(), W_OK) != 0) return {};
  return folder.string() + "/";
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n <= 0) break;
    written += std::size_t(n);
  }
  const bool complete = ::close(fd) == 0 && written == bytes.size();
  if (!complete) {
    DiscardTemporaryFile(temporary);
    return false;
  }
  return CommitTemporaryFile(temporary, path);
}

void DiscardTemporaryFile(const std::string& temporary) {
  if (FileExists(temporary)) std::remove(temporary.c_str());
}

bool CommitTemporaryFile(const std::string& temporary, const std::string& path) {
  const int fd = ::open(temporary.c_str(), O_RDONLY);
  const bool flushed = fd >= 0 && ::fsync(fd) == 0;
  if (fd >= 0) ::close(fd);
  if (!flushed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    DiscardTemporaryFile(temporary);
    return false;
  }
  return true;
}
