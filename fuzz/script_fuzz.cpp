// Any bytes as mibbetfall-sim reads them: a recording through --replay when they begin as one, else
// a simulator script run line by line on a fresh game, with waits cut to a few seconds (a day of
// game time per input would starve the fuzzer) and screenshots kept in the private asset folder.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>

#include "sim/recording.h"
#include "sim/script.h"
#include "sim/simulator.h"
#include "tests/test_support.h"

namespace {
constexpr std::int64_t kLongestFuzzWaitMs = 3000;
// A private copy of the assets: what a script makes the game write must not land in the build.
TestAssetDir* assets = nullptr;

SimulatorOptions FreshGame() {
  SimulatorOptions options;
  options.AssetDir = assets->Path();
  options.SystemFonts = false;
  return options;
}

void RunAsScript(const std::string& text) {
  Simulator sim(FreshGame());
  std::istringstream script(text);
  std::ostringstream out;
  for (std::string line; ReadBoundedLine(script, line, LongestScriptLine) == LineRead::Line;) {
    std::optional<ScriptCommand> command = ReadScriptLine(line);
    if (!command || command->Kind == ScriptCommand::Verb::Quit) break;
    if (command->Kind == ScriptCommand::Verb::Wait) command->A = std::min(command->A, kLongestFuzzWaitMs);
    if (command->Kind == ScriptCommand::Verb::Shot) command->Text = assets->Path() + "shot.bmp";
    if (!RunScriptCommand(sim, *command, out)) break;
    out.str("");
  }
  sim.Quit();
}

// As --replay reads it: from a file, checked whole, then played with the settings it carries.
void RunAsRecording(const std::string& text) {
  const std::string path = assets->Path() + "fuzzed.replay";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  std::string why;
  std::optional<OpenedRecording> recording = OpenRecording(path, why);
  if (!recording) return;
  Simulator sim(ReplayOptionsOf(*recording, FreshGame()));
  TimedScript inputs(recording->File, recording->BodyLine);
  PlayRecording(sim, inputs, why, kLongestFuzzWaitMs);
  sim.Quit();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::cerr.rdbuf(nullptr);
  static TestAssetDir privateAssets;
  assets = &privateAssets;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (text.rfind("# mibbetfall recording", 0) == 0) RunAsRecording(text);
  else RunAsScript(text);
  return 0;
}
