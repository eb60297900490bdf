#include "platform/private_files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

std::string SystemError(int error) { return std::strerror(error); }

// Whoever may rename what a folder holds could swap the folder below it for another one after
// we checked that one; the sticky bit keeps others from renaming what is not theirs. A folder
// writable by the player's own primary group is the player's: with a umask of 002 and a group
// of one's own, as many systems give their users, every folder they make is.
bool OnlyTrustedMayChange(const struct stat& status) {
  const bool trustedOwner = status.st_uid == ::geteuid() || status.st_uid == 0;
  const bool groupMayWrite = (status.st_mode & S_IWGRP) != 0 && status.st_gid != ::getegid();
  const bool othersMayWrite = groupMayWrite || (status.st_mode & S_IWOTH) != 0;
  return S_ISDIR(status.st_mode) && trustedOwner && (!othersMayWrite || (status.st_mode & S_ISVTX) != 0);
}

bool MakeIfMissing(const fs::path& path, std::string& why) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) == 0 || (errno == ENOENT && (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST)))
    return true;
  why = "cannot make " + path.string() + ": " + SystemError(errno);
  return false;
}

bool IsTrusted(const fs::path& path, bool followLinks, std::string& why) {
  struct stat status {};
  if ((followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) != 0) {
    why = "cannot examine " + path.string() + ": " + SystemError(errno);
    return false;
  }
  if (OnlyTrustedMayChange(status)) return true;
  why = path.string() + " is not a folder that only its owner or root may change";
  return false;
}

// Every folder from the root down to dir, each made when missing, and only inside one already
// found trusted. Taken as named, through links, each folder that holds a link is checked before
// the link is followed; then, on the resolved path, so are the folders the links lead to.
bool ChainIsTrusted(const fs::path& dir, std::string& why) {
  fs::path prefix;
  for (const fs::path& part : dir) {
    prefix /= part;
    if (!MakeIfMissing(prefix, why) || !IsTrusted(prefix, true, why)) return false;
  }
  const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(dir.c_str(), nullptr), &std::free);
  if (!resolved) {
    why = "cannot resolve " + dir.string() + ": " + SystemError(errno);
    return false;
  }
  prefix.clear();
  for (const fs::path& part : fs::path(resolved.get())) {
    prefix /= part;
    if (!IsTrusted(prefix, false, why)) return false;
  }
  return true;
}

// The last folder itself must be ours and private; it is checked and narrowed through a
// descriptor, so that what is checked is what is changed.
bool MakeOwnFolderPrivate(const fs::path& path, std::string& why) {
  struct stat named {};
  if (::lstat(path.c_str(), &named) != 0) {
    why = "cannot examine " + path.string() + ": " + SystemError(errno);
    return false;
  }
  if (S_ISLNK(named.st_mode) || !S_ISDIR(named.st_mode)) {
    why = path.string() + (S_ISLNK(named.st_mode) ? " is a link" : " is not a folder");
    return false;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    why = "cannot open " + path.string() + ": " + SystemError(errno);
    return false;
  }
  struct stat opened {};
  bool ok = ::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
  if (!ok) why = path.string() + " changed while it was being checked";
  else if (opened.st_uid != ::geteuid()) {
    why = path.string() + " belongs to another user";
    ok = false;
  } else if ((opened.st_mode & 0777) != 0700 && ::fchmod(fd, 0700) != 0) {
    why = "cannot make " + path.string() + " private: " + SystemError(errno);
    ok = false;
  }
  ::close(fd);
  return ok;
}

}  // namespace

std::string PrivateFolder(const std::string& folder, std::string& why) {
  fs::path path = fs::path(folder).lexically_normal();
  if (!path.has_filename()) path = path.parent_path();
  if (!path.is_absolute() || path == path.root_path()) {
    why = "\"" + folder + "\" is not a folder of its own named from the root";
    return {};
  }
  if (!ChainIsTrusted(path.parent_path(), why) || !MakeIfMissing(path, why) || !MakeOwnFolderPrivate(path, why))
    return {};
  return path.string() + "/";
}

std::string PrivateStateFolder(std::string& why) {
  fs::path base;
  if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg == '/') base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home == '/') base = fs::path(home) / ".local/state";
  else {
    why = "neither XDG_STATE_HOME nor HOME names a folder";
    return {};
  }
  return PrivateFolder((base / "mibbetfall").string(), why);
}

int CreatePrivateFile(const char* path) {
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    errno = EEXIST;
    return -1;
  }
  return fd;
}

int OpenNamedFileForWriting(const std::string& path, std::string& why) {
  // Not waiting on a FIFO without a reader: the open fails at once instead.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
  if (fd < 0) {
    why = errno == ELOOP   ? "it is a link; name the file itself"
          : errno == ENXIO ? "it is not a regular file"
                           : SystemError(errno);
    return -1;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) why = SystemError(errno);
  else if (!S_ISREG(status.st_mode)) why = "it is not a regular file";
  else if (status.st_uid != ::geteuid()) why = "it belongs to another user";
  else if (status.st_nlink > 1) why = "it has other names (hard links)";
  // Emptied only now that it is known to be the player's own file.
  else if (::ftruncate(fd, 0) != 0) why = SystemError(errno);
  else return fd;  // O_NONBLOCK does nothing to a regular file
  ::close(fd);
  return -1;
}

FileWriter::FileWriter(FileWriter&& other) noexcept : fd_(other.fd_), error_(other.error_) { other.fd_ = -1; }

FileWriter& FileWriter::operator=(FileWriter&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    error_ = other.error_;
    other.fd_ = -1;
  }
  return *this;
}

FileWriter::~FileWriter() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileWriter::Write(std::string_view bytes) {
  if (fd_ < 0 || error_ != 0) return false;
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : ENOSPC;
      return false;
    }
    bytes.remove_prefix(std::size_t(n));
  }
  return true;
}

bool FileWriter::Close() {
  if (fd_ >= 0 && ::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  return error_ == 0;
}

std::string FileWriter::Error() const { return error_ != 0 ? SystemError(error_) : std::string(); }
