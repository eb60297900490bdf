// The simulator's script: one command per line.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "presentation/controls.h"

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

// The command on the line, or nothing when the line cannot be read.
std::optional<ScriptCommand> ReadScriptLine(const std::string& line);
// Runs one command; false when it cannot be run (a key the game has not, a shot not written).
bool RunScriptCommand(Simulator& sim, const ScriptCommand& command, std::ostream& out);

// Runs the script; returns the exit code (0, or 2 for a line it cannot read, reported on errors).
int RunScript(Simulator& sim, std::istream& script, std::ostream& out, std::ostream& errors);
