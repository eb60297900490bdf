// The simulator's script: one command per line.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "input/input_event.h"

class Simulator;

// One line of a script, read but not yet run.
struct ScriptCommand {
  enum class Verb { None, Wait, Move, Press, Down, Up, Key, KeyDown, KeyUp, Dump, Shot, Quit };
  Verb Kind = Verb::None;  // None: a blank line or a comment
  std::int64_t A = 0, B = 0;  // the wait in ms, or the pointer's x and y
  MouseButton Button = MouseButton::Left;
  std::string Text;  // the key, or the screenshot's file
};

// The longest wait a script may ask for: a day of game time.
constexpr std::int64_t LongestScriptWaitMs = 86'400'000;

// The longest line a script may have: room for a screenshot's path of the longest the system takes.
constexpr std::size_t LongestScriptLine = 4200;

// The command on the line, or nothing when the line cannot be read.
std::optional<ScriptCommand> ReadScriptLine(const std::string& line);
// The command on a line of a recording, or nothing when the line is not one a recording holds. A
// recording is data from elsewhere (shared, attached to reports, uploaded): it holds inputs and
// waits, never a screenshot, which would write a file it names, or a dump.
std::optional<ScriptCommand> ReadRecordingLine(const std::string& line);
// The inputs a command hands the game: none for a wait, a dump, a shot or a key the game has not.
std::vector<InputEvent> InputEventsOf(const ScriptCommand& command);
// The script line that hands the game this input, as a recording writes it.
std::string ScriptLineOf(const InputEvent& input);
// A recording's inputs at moments of the game's clock, for a host that plays it in real time.
struct TimedInputs {
  std::int64_t AtMs = 0;  // counted from the script's start
  std::vector<InputEvent> Inputs;
  bool End = false;  // the recording ends here: at its end of file, or at a "quit"
};
class TimedScript {
 public:
  // Reads the recording's inputs from script, whose first line is numbered firstLine.
  explicit TimedScript(std::istream& script, int firstLine = 1) : script_(script), lineNumber_(firstLine - 1) {}
  // The next inputs, or the end; nothing once the end was given, or when a line cannot be read
  // (Error then says which).
  std::optional<TimedInputs> Next();
  const std::string& Error() const { return error_; }

 private:
  std::istream& script_;
  std::int64_t atMs_ = 0;
  int lineNumber_ = 0;
  bool ended_ = false;
  std::string error_;
};

// Runs one command; false when it cannot be run (a key the game has not, a shot not written).
bool RunScriptCommand(Simulator& sim, const ScriptCommand& command, std::ostream& out);

// Runs the script; returns the exit code (0, or 2 for a line it cannot read, reported on errors).
int RunScript(Simulator& sim, std::istream& script, std::ostream& out, std::ostream& errors);
