// What the benchmarks share: the simulator on the generated assets, on a fixed day.
#pragma once

#include <string>

#include "sim/simulator.h"

// Without system fonts, so that no typeface's speed enters a figure.
inline SimulatorOptions BenchOptions() {
  SimulatorOptions options;
  options.AssetDir = std::string(MIBBETFALL_ASSET_DIR) + "/";
  options.Today = {2026, 3, 1};
  options.SystemFonts = false;
  return options;
}
