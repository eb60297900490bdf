#include "sim/recording.h"

#include <algorithm>

namespace {

// Reads every input line to the end, then puts the file back where they begin.
bool CheckBody(OpenedRecording& recording, std::string& why) {
  std::ifstream& file = recording.File;
  const std::streampos bodyStart = file.tellg();
  TimedScript check(file, recording.BodyLine);
  std::optional<TimedInputs> step;
  while ((step = check.Next()) && !step->End) {
  }
  if (!step) {
    why = check.Error();
    return false;
  }
  file.clear();
  // A recording of nothing but its header ended there.
  if (bodyStart == std::streampos(-1)) file.setstate(std::ios::eofbit);
  else file.seekg(bodyStart);
  return true;
}

}  // namespace

std::optional<OpenedRecording> OpenRecording(const std::string& path, std::string& why) {
  OpenedRecording recording;
  std::optional<ReplayHeader> header = OpenReplay(path, recording.File, why, recording.BodyLine);
  if (!header) return std::nullopt;
  recording.Header = std::move(*header);
  if (!recording.Header.Settings.empty()) {
    recording.Settings = SettingsFromLines(recording.Header.Settings, "the recording", why);
    if (!recording.Settings) {
      why = path + ": " + why;
      return std::nullopt;
    }
  }
  if (!CheckBody(recording, why)) {
    why = path + ": " + why + "; nothing of it was played";
    return std::nullopt;
  }
  return recording;
}

SimulatorOptions ReplayOptionsOf(const OpenedRecording& recording, SimulatorOptions options) {
  options.Seed = recording.Header.Seed;
  options.Today = recording.Header.Start;
  options.Replaying = true;
  options.HighScores = recording.Header.HighScores;
  options.Settings = recording.Settings;
  return options;
}

bool PlayRecording(Simulator& sim, TimedScript& inputs, std::string& why, std::int64_t longestStepMs) {
  std::int64_t playedMs = 0;
  for (std::optional<TimedInputs> step; (step = inputs.Next());) {
    sim.Wait(std::min(step->AtMs - playedMs, longestStepMs));
    playedMs = step->AtMs;
    for (const InputEvent& input : step->Inputs) sim.Apply(input);
    if (step->End) return true;
  }
  why = inputs.Error();
  return false;
}
