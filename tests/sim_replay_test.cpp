// Recordings replayed by the simulator program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/settings.h"
#include "replay/replay_file.h"
#include "screens/high_score_table.h"
#include "sim/script.h"
#include "tests/test_support.h"

namespace {

struct SimRun {
  int ExitCode;
  std::string Out, Err;
};

SimRun RunSim(const TestAssetDir& assets, const std::string& args) {
  const std::string command = "timeout 300 " + std::string(MIBBETFALL_SIM_PATH) + " --assets " + assets.Path() + " " +
                              args + " 2>" + assets.Path() + "err.txt";
  FILE* pipe = ::popen(command.c_str(), "r");
  SimRun run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(assets.Path() + "err.txt");
  std::ostringstream text;
  text << err.rdbuf();
  run.Err = text.str();
  return run;
}

// A short game: the splash clicked, no tutorial, a build menu opened and a sign ordered.
constexpr char kInputs[] =
    "move 350 350\nwait 40\ndown 350 350 left\nwait 30\nup 350 350 left\nwait 200\nkeydown N\nkeyup N\n"
    "wait 3000\nmove 227 437\ndown 227 437 left\nup 227 437 left\nwait 120\nmove 240 450\n"
    "down 240 450 left\nup 240 450 left\nwait 9000\n";

TEST(SimReplay, ARecordingReplaysToTheSameStateAsItsScriptAndTouchesNoFile) {
  TestAssetDir assets;
  const ReplayHeader header{GameFileVersion(), 5, {2026, 3, 1}, DefaultHighScoreLines(), {}};
  assets.Write("game.replay", ReplayHeaderLines(header) + kInputs);
  const SimRun first = RunSim(assets, "--replay " + assets.Path() + "game.replay");
  ASSERT_EQ(first.ExitCode, 0) << first.Err;
  EXPECT_EQ(RunSim(assets, "--replay " + assets.Path() + "game.replay").Out, first.Out);
  EXPECT_FALSE(std::filesystem::exists(assets.Path() + "hs.bmp")) << "a replay never writes the table";

  assets.Write("game.script", std::string(kInputs) + "dump\n");
  const SimRun script = RunSim(assets, "--seed 5 --date 2026-03-01 " + assets.Path() + "game.script");
  EXPECT_EQ(first.Out, script.Out) << "the recording's seed, date and table are the script's";
  EXPECT_NE(first.Out.find("\"GameMode\":1"), std::string::npos);
}

// A recording comes from elsewhere: it may ask for nothing but inputs and waits, and is read whole
// before its first tick, so a fault anywhere in it stops it before anything is played or written.
TEST(SimReplay, ADamagedOrForeignRecordingIsRefusedWithOneLineBeforeItPlays) {
  TestAssetDir assets;
  const std::string header = ReplayHeaderLines({GameFileVersion(), 5, {2026, 3, 1}, {}, {}});
  const std::string planted = assets.Path() + "planted.bmp";
  std::string lateDamage = header;
  for (int i = 0; i < 2000; ++i) lateDamage += "wait 50\n";
  const std::pair<std::string, std::string> cases[] = {
      {"wait 10\n", "not a Mibbetfall recording"},
      {std::string(300'000, '#') + "\n", "not a Mibbetfall recording"},
      {ReplayHeaderLines({"0.1.0.0", 5, {2026, 3, 1}, {}, {}}) + "wait 10\n", "recorded by version 0.1.0.0"},
      {header + "wait x\n", "line 2 is not an input or a wait"},
      {header + "wait 10\nshot " + planted + "\n", "line 3 is not an input or a wait"},
      {header + "dump\ndump\n", "line 2 is not an input or a wait"},
      {header + "# " + std::string(300'000, 'x') + "\n", "line 2 is longer than any line of a recording"},
      {header + "# setting NOSUCHKEY=1\nwait 10\n", "NOSUCHKEY"},
      {lateDamage + "key NoSuchKey\n", "line 2002 names a key the game has not"},
  };
  for (const auto& [text, message] : cases) {
    assets.Write("bad.replay", text);
    const SimRun run = RunSim(assets, "--replay " + assets.Path() + "bad.replay");
    EXPECT_EQ(run.ExitCode, 2) << message;
    EXPECT_TRUE(run.Out.empty()) << message;
    EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
  }
  EXPECT_FALSE(std::filesystem::exists(planted)) << "a recording wrote a file it named";
}

// The same inputs give another game under other settings, so a recording carries the settings it
// was played with: replayed against a folder of default settings, it is the game played under its
// own. One made before the settings were carried replays with the folder's, as it always did.
TEST(SimReplay, ARecordingCarriesItsSettingsAndReplaysUnderThemAgainstAnyFolder) {
  constexpr char kChanged[] = "BASESCRAP=480\nSIGNCOST=7\nMIBBETSHOTSTRENGTH=0.3\nDEBUG=1\n";
  TestAssetDir played(kChanged);
  played.Write("game.script", std::string(kInputs) + "dump\n");
  const SimRun script = RunSim(played, "--seed 5 --date 2026-03-01 " + played.Path() + "game.script");
  ASSERT_EQ(script.ExitCode, 0) << script.Err;
  ASSERT_NE(script.Out.find("\"Scrap\":473"), std::string::npos) << "the sign cost 7 of 480";

  TestAssetDir defaults;
  const TSettings settings = ReadSettings(played.Path() + "settings.ini");
  defaults.Write(
      "game.replay",
      ReplayHeaderLines({GameFileVersion(), 5, {2026, 3, 1}, DefaultHighScoreLines(), SettingsLines(settings)}) +
          kInputs);
  const SimRun replay = RunSim(defaults, "--replay " + defaults.Path() + "game.replay");
  ASSERT_EQ(replay.ExitCode, 0) << replay.Err;
  EXPECT_EQ(replay.Out, script.Out);
  EXPECT_TRUE(std::filesystem::exists(played.Path() + "debug.txt")) << "the game played in debug mode";
  EXPECT_FALSE(std::filesystem::exists(defaults.Path() + "debug.txt")) << "a replay writes none of the player's files";

  played.Write("old.replay",
               ReplayHeaderLines({GameFileVersion(), 5, {2026, 3, 1}, DefaultHighScoreLines(), {}}) + kInputs);
  EXPECT_EQ(RunSim(played, "--replay " + played.Path() + "old.replay").Out, script.Out);
}

}  // namespace

TEST(SimReplay, EveryInputTheWindowRecordsReadsBackAsTheSameInput) {
  using Kind = InputEvent::Kind;
  const InputEvent inputs[] = {
      {Kind::Move, 12, 700},
      {Kind::Down, 350, 350, MouseButton::Left},
      {Kind::Up, -5, 9000, MouseButton::Right},
      {Kind::Down, 0, 0, MouseButton::Middle},
      {.Type = Kind::KeyDown, .Key = 'n'},
      {.Type = Kind::KeyDown, .Key = 'N'},
      {.Type = Kind::KeyDown, .Key = 27},
      {.Type = Kind::KeyDown, .Key = 13},
      {.Type = Kind::KeyUp, .Key = 8},
      {.Type = Kind::KeyDown, .Key = ' '},
      {.Type = Kind::KeyDown, .Key = '#'},
  };
  for (const InputEvent& input : inputs) {
    const std::string line = ScriptLineOf(input);
    const std::optional<ScriptCommand> command = ReadScriptLine(line);
    ASSERT_TRUE(command) << line;
    EXPECT_EQ(InputEventsOf(*command), std::vector<InputEvent>{input}) << line;
  }
}

TEST(SimReplay, AScriptPlayedInRealTimeGivesEachInputAtItsMomentAndEndsAfterItsLastWait) {
  std::istringstream text("wait 40\nmove 1 2\n# a note\n\nwait 10\nwait 5\npress 3 4\nkey Esc\nwait 7\n");
  TimedScript script(text);
  std::vector<std::pair<std::int64_t, std::size_t>> steps;
  for (std::optional<TimedInputs> step; (step = script.Next()) && !step->End;)
    steps.emplace_back(step->AtMs, step->Inputs.size());
  EXPECT_EQ(steps, (std::vector<std::pair<std::int64_t, std::size_t>>{{40, 1}, {55, 2}, {55, 2}}));
  EXPECT_FALSE(script.Next()) << "nothing after the end";

  std::istringstream ended("wait 9\nquit\nmove 1 1\n");
  TimedScript quitting(ended);
  const std::optional<TimedInputs> end = quitting.Next();
  ASSERT_TRUE(end);
  EXPECT_TRUE(end->End);
  EXPECT_EQ(end->AtMs, 9);

  for (const char* bad : {"wait 5\nwiggle\n", "key NoSuchKey\n", "dump\n", "shot /tmp/x.bmp\n"}) {
    std::istringstream damaged(bad);
    TimedScript broken(damaged);
    std::optional<TimedInputs> step;
    while ((step = broken.Next()) && !step->End) {
    }
    EXPECT_FALSE(step) << bad;
    EXPECT_NE(broken.Error().find("line "), std::string::npos) << bad;
  }
}

TEST(SimReplay, RecordedSettingsComeBackExactlyAndForeignOnesAreRefused) {
  TSettings played;
  played.MIBBETSHOTSTRENGTH = 0.1 + 0.2;  // no short decimal names it exactly
  played.TURRETSHOTSTRENGTH = -1e-300;
  played.BASESCRAP = -16777215;
  played.HISCORESERVER = "";
  std::string why;
  const std::optional<TSettings> back = SettingsFromLines(SettingsLines(played), "the recording", why);
  ASSERT_TRUE(back) << why;
  EXPECT_EQ(SettingsLines(*back), SettingsLines(played));
  EXPECT_EQ(back->MIBBETSHOTSTRENGTH, played.MIBBETSHOTSTRENGTH);

  for (const char* foreign : {"NOSUCHKEY=1", "BASESCRAP", "basescrap=5"}) {
    EXPECT_FALSE(SettingsFromLines({foreign}, "the recording", why)) << foreign;
    EXPECT_NE(why.find(foreign), std::string::npos) << why;
  }
}
