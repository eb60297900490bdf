// The simulator as a program: scripts, errors, determinism and screenshots.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "platform/bmp_file.h"
#include "tests/test_support.h"

namespace {

struct SimRun {
  int exitCode;
  std::string out;
};

// Runs the simulator on the script; standard error goes to errFile when given.
SimRun RunSim(const TestAssetDir& assets, const std::string& script, const std::string& args = "",
           const std::string& errFile = "/dev/null") {
  assets.Write("script.txt", script);
  const std::string command = std::string(MIBBETFALL_SIM_PATH) + " --assets " + assets.Path() +
                              " --date 2026-03-01 " + args + " " + assets.Path() + "script.txt 2>" + errFile;
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(SimCli, SameSeedAndScriptGiveTheSameOutput) {
  TestAssetDir assets;
  const std::string script = "# a short game\npress 350 350\nkey N\n\nwait 12000\ndump\nmove 200 200\nwait 50\ndump\n";
  const SimRun first = RunSim(assets, script, "--seed 5");
  const SimRun second = RunSim(assets, script, "--seed 5");
  EXPECT_EQ(first.exitCode, 0);
  EXPECT_EQ(first.out, second.out);
  EXPECT_EQ(std::count(first.out.begin(), first.out.end(), '\n'), 2);
  EXPECT_NE(first.out.find("\"GameMode\":1"), std::string::npos);
  EXPECT_NE(RunSim(assets, script, "--seed 6").out, first.out);
}

TEST(SimCli, AnUnreadableLineStopsWithItsNumber) {
  TestAssetDir assets;
  for (const char* bad : {"jump 3", "wait -5", "press 1", "press 1 2 sideways", "key Tab", "dump now"}) {
    const SimRun run = RunSim(assets, std::string("wait 10\n\n") + bad + "\ndump\n", "", assets.Path() + "err.txt");
    EXPECT_EQ(run.exitCode, 2) << bad;
    EXPECT_TRUE(run.out.empty()) << bad;
    std::ifstream err(assets.Path() + "err.txt");
    std::string line;
    std::getline(err, line);
    EXPECT_EQ(line.rfind("line 3:", 0), 0u) << line;
  }
}

TEST(SimCli, ShotWritesTheWholeWindow) {
  TestAssetDir assets;
  const SimRun run = RunSim(assets, "wait 100\nshot " + assets.Path() + "shot.bmp\nquit\nwait x\n");
  EXPECT_EQ(run.exitCode, 0);  // nothing after quit is read
  const std::optional<Bitmap32> shot = ReadBmp(assets.Path() + "shot.bmp");
  ASSERT_TRUE(shot.has_value());
  EXPECT_EQ(shot->Width(), 903);
  EXPECT_EQ(shot->Height(), 717);
}

}  // namespace
