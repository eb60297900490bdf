// mibbetfall-sim [--assets DIR] [--seed N] [--date YYYY-MM-DD] [SCRIPT | --replay FILE]
#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <iostream>

#include "platform/files.h"
#include "platform/sdl/sdl_platform.h"
#include "sim/recording.h"
#include "sim/script.h"
#include "sim/simulator.h"

namespace {

int Usage(const std::string& problem) {
  std::cerr << "mibbetfall-sim: " << problem << "\n"
            << "usage: mibbetfall-sim [--assets DIR] [--seed N] [--date YYYY-MM-DD] [SCRIPT | --replay FILE]\n";
  return 2;
}

std::string DefaultAssetDir() {
  char* base = SDL_GetBasePath();
  std::string dir = base ? base : "./";
  SDL_free(base);
  return AssetDirOfExecutableIn(dir);
}

bool ParseDate(const std::string& text, CalendarDate& date) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
  if (m < 1 || m > 12 || d < 1 || d > 31) return false;
  date = {y, m, d};
  return true;
}

// Runs a recording as fast as the machine allows, with the seed, date, table and settings it was
// made with, and prints the state it ends in.
int Replay(const std::string& path, const SimulatorOptions& options) {
  std::string why;
  std::optional<OpenedRecording> recording = OpenRecording(path, why);
  if (!recording) {
    std::cerr << "mibbetfall-sim: " << why << "\n";
    return 2;
  }
  Simulator sim(ReplayOptionsOf(*recording, options));
  TimedScript inputs(recording->File, recording->BodyLine);
  if (!PlayRecording(sim, inputs, why)) {
    std::cerr << "mibbetfall-sim: " << path << ": " << why << "\n";
    return 2;
  }
  sim.Quit();
  std::cout << sim.Dump() << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SimulatorOptions options;
  options.AssetDir = DefaultAssetDir();
  options.Today = LocalToday();
  std::string scriptPath, replayPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--assets" && hasValue) {
      options.AssetDir = argv[++i];
      if (options.AssetDir.empty()) return Usage("--assets needs a folder");
      if (options.AssetDir.back() != '/') options.AssetDir += '/';
    } else if (arg == "--seed" && hasValue) {
      try {
        options.Seed = std::uint32_t(std::stoul(argv[++i]));
      } catch (...) {
        return Usage("--seed needs a number");
      }
    } else if (arg == "--date" && hasValue) {
      if (!ParseDate(argv[++i], options.Today)) return Usage("--date needs YYYY-MM-DD");
    } else if (arg == "--replay" && hasValue) {
      replayPath = argv[++i];
    } else if (scriptPath.empty() && arg.rfind("--", 0) != 0) {
      scriptPath = arg;
    } else {
      return Usage("unknown argument " + arg);
    }
  }
  if (!replayPath.empty()) return Replay(replayPath, options);
  std::ifstream file;
  if (!scriptPath.empty()) {
    file.open(scriptPath);
    if (!file) return Usage("cannot open " + scriptPath);
  }
  Simulator sim(options);
  return RunScript(sim, scriptPath.empty() ? std::cin : file, std::cout, std::cerr);
}
