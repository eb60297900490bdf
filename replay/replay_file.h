// A recording of a game is a simulator script: a header line that says which build made it, with
// the random seed and the date it started on, then one line for each input the window handed to
// the game and a "wait" for the time on the game's own clock between them.
#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/private_files.h"

struct ReplayHeader {
  std::string Version;
  std::uint32_t Seed = 0;
  CalendarDate Start;
  // The local high-score table as the run found it: whether a score enters it decides the play.
  std::vector<std::string> HighScores;
  // The settings the game was played with, a "KEY=VALUE" line for every key: the same inputs give
  // another game under other settings. Empty in a recording made before they were carried, which
  // replays with the asset folder's settings.
  std::vector<std::string> Settings;
  bool operator==(const ReplayHeader&) const = default;
};

// The longest line a recording may hold: the recorder writes none longer, so a longer one is
// damage, and is refused without being read into memory whole.
constexpr std::size_t LongestRecordingLine = 256;

// How reading one line ended.
enum class LineRead { Line, End, TooLong };
// Reads one line of at most `longest` characters into line; of a longer line no more than that is
// read.
LineRead ReadBoundedLine(std::istream& in, std::string& line, std::size_t longest);

// The build's full version, which a recording must match to be replayed.
std::string GameFileVersion();

// Keys by their script names: a printable character stands for itself; "Esc", "Enter",
// "Backspace" and "Space" for the others the game takes.
std::optional<char> KeyCharacter(const std::string& name);
std::string KeyName(char ch);

// The header's lines: the first names the build, the seed and the date, one line follows for each
// line of the high-score table, then one for each setting.
std::string ReplayHeaderLines(const ReplayHeader& header);
// Reads a recording's header from its file and checks that this build can replay it; the file is
// left at the first line after the header, whose number is bodyLine.
std::optional<ReplayHeader> OpenReplay(const std::string& path, std::ifstream& file, std::string& why, int& bodyLine);

// How a recording's file is opened. One the player named may be a file of theirs, written over;
// one the game names for itself is always a new file, so a name already taken is refused. Neither
// is written through a link, nor into a FIFO or a device, and a new file is readable by its owner
// alone.
enum class RecordingFile { Named, Fresh };

// Writes a recording as the game is played. Lines gather in memory and reach the file at a
// Flush, so writes to the disk stay rare; a recording that outgrows maxBytes stops growing rather
// than fill the disk. A write that fails (a full disk) ends the recording there, said once on
// stderr with the file's name, since a replay of what was kept is not the game played.
class ReplayRecorder {
 public:
  ReplayRecorder(const std::string& path, const ReplayHeader& header, std::int64_t startMs,
                 std::int64_t maxBytes = 64 << 20, RecordingFile kind = RecordingFile::Named);
  // Records into a file already open; path only names it in messages.
  ReplayRecorder(FileWriter file, const std::string& path, const ReplayHeader& header, std::int64_t startMs,
                 std::int64_t maxBytes = 64 << 20);
  ~ReplayRecorder();
  bool Open() const { return file_.IsOpen(); }
  // Why the file could not be opened.
  const std::string& Error() const { return error_; }
  // One input line at this moment of the game's clock.
  void Input(std::int64_t nowMs, const std::string& line);
  // Hands what the buffer holds to the file, so that a crash loses little of the game.
  void Flush();
  // The last wait, up to the moment the game closed, so that a replay ends where the game did.
  void Close(std::int64_t nowMs);

 private:
  void Start(const ReplayHeader& header);
  void WaitUntil(std::int64_t nowMs);
  void WriteLine(const std::string& line);
  void SayIncomplete();

  std::string path_;
  FileWriter file_;
  std::string buffer_;
  std::string error_;
  std::int64_t lastMs_;
  std::int64_t bytesLeft_;
  bool saidIncomplete_ = false;
};

// The recordings of the last few games, kept in folder (with a trailing separator) under names
// that sort by time; all but the newest `keep` are removed. Returns the path for a new one.
std::string NextRecentRecording(const std::string& folder, std::int64_t unixSeconds, int keep = 5);
