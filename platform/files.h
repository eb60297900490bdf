// Plain file tests of the asset folder.
#pragma once

#include <filesystem>
#include <string>

// True when path names a regular file; any error counts as no file.
inline bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}
