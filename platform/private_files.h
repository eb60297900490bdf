// Files that the game writes for the player alone (crash reports, recordings): kept in a folder
// only the player can change, made new each time, never written through a link. Another user of
// the machine who plants a link or a FIFO where one of these files goes must not get the game
// (perhaps run by root) to write over a file of its owner's, or to read what it writes.
#pragma once

#include <string>
#include <string_view>

// Makes folder (and any missing folder above it, each 0700) and checks that it is private: a
// real folder, not a link, owned by this user, and reached only through folders that no one but
// this user, its own primary group or root can change (a sticky one such as /tmp counts, since
// no one else may rename what it holds). A folder of the player's own that others may read or
// write is narrowed to 0700. Gives the folder with a trailing separator, or empty and why.
std::string PrivateFolder(const std::string& folder, std::string& why);

// The player's state folder: $XDG_STATE_HOME/mibbetfall, else ~/.local/state/mibbetfall, made
// private as above. Empty, with why, when neither can be had: the shared temporary folder is
// never a fallback.
std::string PrivateStateFolder(std::string& why);

// Creates path as a new file that only this user can read and write (0600) and opens it for
// writing; a name already taken, by a link or anything else, is refused. Gives the descriptor,
// or -1 with errno set. Uses only open, fstat and close, so a signal handler may call it.
int CreatePrivateFile(const char* path);

// Opens a file the player named for writing, emptied: an existing regular file of the player's
// own is written over, a new one is made 0600. A link, a FIFO, a device, a folder, another
// user's file or a file with other names (hard links) is refused without being changed or
// waited on. Gives the descriptor, or -1 and why.
int OpenNamedFileForWriting(const std::string& path, std::string& why);

// Owns a descriptor opened for writing and writes whole buffers to it. The first failure (a
// full disk) is kept, and every later write is refused, so that a file is never written with a
// hole in it.
class FileWriter {
 public:
  FileWriter() = default;
  explicit FileWriter(int fd) : fd_(fd) {}
  FileWriter(FileWriter&& other) noexcept;
  FileWriter& operator=(FileWriter&& other) noexcept;
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;
  ~FileWriter();

  bool IsOpen() const { return fd_ >= 0; }
  // True when every byte was handed to the file.
  bool Write(std::string_view bytes);
  // Closes the file; false when it failed now or any write failed before.
  bool Close();
  bool Failed() const { return error_ != 0; }
  // Why the first write failed, as the system says it.
  std::string Error() const;

 private:
  int fd_ = -1;
  int error_ = 0;
};
