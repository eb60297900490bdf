// Plain file tests of the asset folder, and the places the game writes its own files.
#pragma once

#include <filesystem>
#include <string>

// True when path names a regular file; any error counts as no file.
inline bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

// Where the game keeps a file it writes (with a trailing separator): the asset folder when the
// game may write there, else the user's own folder of that kind, made on demand: the XDG
// variable's folder, or the fallback below $HOME, each with "mibbetfall" appended. Empty when
// no such folder can be had.
std::string WritableFolder(const std::string& assetDir, const char* xdgVariable, const char* homeFallback);

// Writes the bytes to a temporary file beside path, flushes it to the disk and renames it over
// path, so that a crash or a full disk never leaves half a file. False on any failure.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);
// The last half of an atomic write: flushes a written temporary file to the disk and renames it over path;
// the temporary file is gone afterwards, whatever happened.
bool CommitTemporaryFile(const std::string& temporary, const std::string& path);
// Removes a temporary file left by a failed write; anything else by that name is not ours.
void DiscardTemporaryFile(const std::string& temporary);
