// Any bytes as a simulator script, run line by line on a fresh game as mibbetfall-sim runs it,
// with waits cut to a few seconds (a day of game time per input would starve the fuzzer) and
// screenshots kept in the private asset folder.
#include <cstdint>
#include <iostream>
#include <sstream>

#include "sim/script.h"
#include "sim/simulator.h"
#include "tests/test_support.h"

namespace {
constexpr std::int64_t kLongestFuzzWaitMs = 3000;
// A private copy of the assets: what a script makes the game write must not land in the build.
TestAssetDir* assets = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::cerr.rdbuf(nullptr);
  static TestAssetDir privateAssets;
  assets = &privateAssets;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SimulatorOptions options;
  options.AssetDir = assets->Path();
  options.SystemFonts = false;
  Simulator sim(options);
  std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  for (std::string line; std::getline(script, line);) {
    std::optional<ScriptCommand> command = ReadScriptLine(line);
    if (!command || command->Kind == ScriptCommand::Verb::Quit) break;
    if (command->Kind == ScriptCommand::Verb::Wait) command->A = std::min(command->A, kLongestFuzzWaitMs);
    if (command->Kind == ScriptCommand::Verb::Shot) command->Text = assets->Path() + "shot.bmp";
    if (!RunScriptCommand(sim, *command, out)) break;
    out.str("");
  }
  sim.Quit();
  return 0;
}
