// Replaying a recording: opened and checked whole before the first tick, then played input by
// input at the moments of the game's clock it names.
#pragma once

#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

#include "app/settings.h"
#include "replay/replay_file.h"
#include "sim/script.h"
#include "sim/simulator.h"

// A recording opened for a replay: its header read, every line after it checked, and the file
// left at the first of them.
struct OpenedRecording {
  std::ifstream File;
  ReplayHeader Header;
  int BodyLine = 0;
  // The settings it was played with; none in a recording made before they were carried.
  std::optional<TSettings> Settings;
};

// Opens the recording at path. A damaged one is refused here, before any of it is played, with
// one line in why: a player watching a replay is never stopped half-way by a fault in it.
std::optional<OpenedRecording> OpenRecording(const std::string& path, std::string& why);

// The options for replaying the recording: its seed, date, table and settings, in place of those
// of options.
SimulatorOptions ReplayOptionsOf(const OpenedRecording& recording, SimulatorOptions options);

// Plays the rest of the recording on the simulator, moving its clock to each input's moment, and
// at most longestStepMs between two; false, with why, when the file turns out damaged on the way
// (it was changed after it was checked).
bool PlayRecording(Simulator& sim, TimedScript& inputs, std::string& why,
                   std::int64_t longestStepMs = std::numeric_limits<std::int64_t>::max());
