#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

FilePtr OpenRegularFile(const std::string& path) { return OpenFileForReading(path).File; }

FileOpening OpenFileForReading(const std::string& path) {
  // The system's words, without strerror's buffer that threads share.
  const auto reason = [](int error) { return std::generic_category().message(error); };
  FileOpening opening;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    opening.Missing = errno == ENOENT;
    opening.Why = reason(errno);
    return opening;
  }
  struct stat status {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &status) != 0 || flags < 0) opening.Why = reason(errno);
  else if (S_ISDIR(status.st_mode)) opening.Why = reason(EISDIR);
  else if (!S_ISREG(status.st_mode)) opening.Why = "not a regular file";
  else if (::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) opening.Why = reason(errno);
  else if (std::FILE* file = ::fdopen(fd, "rb")) opening.File.reset(file);
  else opening.Why = reason(errno);
  if (!opening.File) ::close(fd);
  return opening;
}

namespace {

// Where the install rules put the assets, below the prefix that also holds bin/.
constexpr char kInstalledAssetDir[] = "share/mibbetfall/Assets/";

bool IsDirectory(const std::string& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

bool IsInstalledAssetDir(const std::string& assetDir) {
  return (fs::path(assetDir) / "").lexically_normal().string().ends_with(std::string("/") + kInstalledAssetDir);
}

// The files of an installed game belong to every user of the machine, and root may write
// anywhere: only a folder that is neither installed nor marked read-only is the game's own.
bool GameMayWriteIn(const std::string& assetDir) {
  struct stat status {};
  const mode_t anyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
  return !IsInstalledAssetDir(assetDir) && ::stat(assetDir.c_str(), &status) == 0 && (status.st_mode & anyWrite) != 0 &&
         ::access(assetDir.c_str(), W_OK) == 0;
}

}  // namespace

std::string AssetDirOfExecutableIn(const std::string& executableDir) {
  const std::string beside = executableDir + "Assets/";
  const std::string installed = fs::path(executableDir + "../" + kInstalledAssetDir).lexically_normal().string();
  return !IsDirectory(beside) && IsDirectory(installed) ? installed : beside;
}

std::string WritableFolder(const std::string& assetDir, const char* xdgVariable, const char* homeFallback) {
  if (GameMayWriteIn(assetDir)) return assetDir;
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

namespace {

// Removes a temporary file left by a failed write; anything else by that name is not ours.
void DiscardTemporaryFile(const std::string& temporary) {
  if (FileExists(temporary)) std::remove(temporary.c_str());
}

// Opens the temporary file for writing without waiting for a reader of a FIFO and without
// following a link: only a regular file of our own is written.
int OpenTemporaryFile(const std::string& temporary) {
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0644);
  struct stat status {};
  if (fd >= 0 && (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  const int fd = OpenTemporaryFile(temporary);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n <= 0) break;
    written += std::size_t(n);
  }
  const bool complete = written == bytes.size() && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !complete || std::rename(temporary.c_str(), path.c_str()) != 0) {
    DiscardTemporaryFile(temporary);
    return false;
  }
  return true;
}
