// Plain file tests of the asset folder, and the places the game writes its own files.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

// True when path names a regular file; any error counts as no file.
inline bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(path, ignored);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens path for reading when it is a regular file, else gives null. A FIFO or a device in
// place of one of the game's files would otherwise block the start or never end: the opening
// itself does not wait, and the kind is checked on what was opened, not on the name.
FilePtr OpenRegularFile(const std::string& path);

// What opening a file for reading found: the file, or why there is none to read.
struct FileOpening {
  FilePtr File;
  // Nothing lies at the path. Anything else that cannot be read (no permission, a loop of links,
  // a folder, a FIFO) is there all the same: it may hold what the player wants kept.
  bool Missing = false;
  // Why File is null, in a few words for a message: the system's reason, or "not a regular file".
  std::string Why;
};
// Opens like OpenRegularFile, telling a missing file from one that cannot be read.
FileOpening OpenFileForReading(const std::string& path);

// The game's Assets folder (with a trailing separator) for an executable in executableDir (also
// with one): the folder beside it, as a build tree has it, else the installed one that
// cmake --install puts in ../share/mibbetfall/Assets/. When neither is there, the one beside it,
// so that a message about the missing folder names the place a build would put it.
std::string AssetDirOfExecutableIn(const std::string& executableDir);

// Where the game keeps a file it writes (with a trailing separator): the asset folder when the
// game may write there (never an installed one, nor one without any write permission, even for
// root), else the user's own folder of that kind, made on demand: the XDG
// variable's folder, or the fallback below $HOME, each with "mibbetfall" appended. Empty when
// no such folder can be had.
std::string WritableFolder(const std::string& assetDir, const char* xdgVariable, const char* homeFallback);

// Writes the bytes to a temporary file beside path, flushes it to the disk and renames it over
// path, so that a crash or a full disk never leaves half a file. False on any failure, also when
// something other than a regular file lies where the temporary file goes: it is left alone.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);
