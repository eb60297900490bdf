// Recordings: their header, their lines and the store of recent ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "replay/replay_file.h"

namespace {

namespace fs = std::filesystem;

struct TempFolder {
  TempFolder() : path(fs::temp_directory_path() / ("mibbetfall-replay-" + std::to_string(::getpid()))) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempFolder() { fs::remove_all(path); }
  std::string File(const std::string& name) const { return (path / name).string(); }
  fs::path path;
};

std::string Read(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ReplayFile, RecordsInputsWithTheWaitsBetweenThemAndReadsItsHeaderBack) {
  TempFolder folder;
  const ReplayHeader header{GameFileVersion(), 4242, {2026, 12, 10}, {"0000010000 MIB", "0000005000 BET"}};
  {
    ReplayRecorder recorder(folder.File("a.replay"), header, 1000);
    recorder.Input(1000, "move 1 2");
    recorder.Input(1250, "down 1 2 left");
    recorder.Input(1250, "up 1 2 left");
    recorder.Close(2000);
  }
  const std::string expected = ReplayHeaderLines(header) + "move 1 2\nwait 250\ndown 1 2 left\nup 1 2 left\nwait 750\n";
  EXPECT_EQ(Read(folder.File("a.replay")), expected);
  std::ifstream file;
  std::string why;
  const auto back = OpenReplay(folder.File("a.replay"), file, why);
  ASSERT_TRUE(back.has_value()) << why;
  EXPECT_EQ(*back, header);
  std::string next;
  std::getline(file, next);
  EXPECT_EQ(next, "move 1 2") << "the file is left at the first input";
}

TEST(ReplayFile, ARecordingThatCannotBeReplayedIsRefusedWithOneClearLine) {
  TempFolder folder;
  const std::pair<std::string, std::string> cases[] = {
      {ReplayHeaderLines({"0.9.0.0", 1, {2026, 1, 1}, {}}) + "wait 5\n", "was recorded by version 0.9.0.0"},
      {"wait 5\n", "is not a Mibbetfall recording"},
      {"# mibbetfall recording version=1 seed=x date=2026-01-01\n", "is not a Mibbetfall recording"},
      {std::string(100000, 'x'), "is not a Mibbetfall recording"},
      {"", "cannot read"},
  };
  for (const auto& [text, message] : cases) {
    std::ofstream(folder.File("bad.replay"), std::ios::trunc) << text;
    std::ifstream file;
    std::string why;
    EXPECT_FALSE(OpenReplay(folder.File("bad.replay"), file, why).has_value()) << message;
    EXPECT_NE(why.find(message), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
  }
  std::ifstream file;
  std::string why;
  EXPECT_FALSE(OpenReplay(folder.File("missing.replay"), file, why).has_value());
  EXPECT_FALSE(OpenReplay(folder.path.string(), file, why).has_value()) << "a folder is no recording";
}

TEST(ReplayFile, ARecordingStopsGrowingAtItsLimit) {
  TempFolder folder;
  ReplayRecorder recorder(folder.File("a.replay"), {GameFileVersion(), 1, {2026, 1, 1}, {}}, 0, 200);
  for (int i = 0; i < 100; ++i) recorder.Input(i, "move 100 100");
  recorder.Close(1000);
  EXPECT_LE(fs::file_size(folder.File("a.replay")), 200u);
}

TEST(ReplayFile, TheStoreKeepsOnlyTheNewestRecordings) {
  TempFolder folder;
  for (int t = 1; t <= 8; ++t) std::ofstream(NextRecentRecording(folder.path.string() + "/", 1000 + t, 3)) << t;
  std::ofstream(folder.File("notes.txt")) << "not ours";
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder.path)) left.push_back(Read(entry.path().string()));
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"6", "7", "8", "not ours"}));
}

}  // namespace
