// The simulator as a program: scripts, errors, determinism and screenshots.
#include <gtest/gtest.h>

#include <sys/stat.h>
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
  // The time-out turns a simulator that hangs into a failure.
  const std::string command = "timeout 300 " + std::string(MIBBETFALL_SIM_PATH) + " --assets " + assets.Path() +
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

TEST(SimCli, HostileArgumentsAndLinesAreRefusedWithAShortMessage) {
  TestAssetDir assets;
  const std::string err = assets.Path() + "err.txt";
  struct Case {
    const char* name;
    std::string script, args;
    int exitCode;
    const char* said;  // the start of the message on stderr
  } cases[] = {
      {"an empty asset folder", "quit\n", "--assets ''", 2, "mibbetfall-sim: --assets needs a folder"},
      {"a wait past the clock's end", "wait 9223372036854775807\ndump\n", "", 2, "line 1:"},
      {"a wait longer than a day", "wait 86400001\n", "", 2, "line 1:"},
      {"a 10 MB line", "jump " + std::string(10'000'000, 'x') + "\n", "", 2, "line 1 is longer than 4200 characters"},
  };
  for (const Case& c : cases) {
    const SimRun run = RunSim(assets, c.script, c.args, err);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
    EXPECT_TRUE(run.out.empty()) << c.name;
    std::ifstream in(err);
    const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(said.rfind(c.said, 0), 0u) << c.name << ": " << said.substr(0, 200);
    EXPECT_LT(said.size(), 300u) << c.name;
  }
  EXPECT_EQ(RunSim(assets, "wait 86400000\nquit\n").exitCode, 0) << "a day is still a wait";
}

TEST(SimCli, FifosInPlaceOfTheGamesFilesAreSkipped) {
  TestAssetDir assets;
  for (const char* file : {"settings.ini", "Tile.bmp", "rhs1.bmp", "playtut.bmp", "hs.bmp"}) {
    assets.Remove(file);
    ASSERT_EQ(::mkfifo((assets.Path() + file).c_str(), 0600), 0) << file;
  }
  // A regression would block for ever: the time-out turns it into a failure.
  const SimRun run = RunSim(assets, "press 350 350\nwait 1000\nkey N\nwait 1000\ndump\n", "", "/dev/null");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("\"GameMode\":1"), std::string::npos);
}

}  // namespace
