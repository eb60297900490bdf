// Recordings: their header, their lines and the store of recent ones.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
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
  const ReplayHeader header{GameFileVersion(),
                            4242,
                            {2026, 12, 10},
                            {"0000010000 MIB", "0000005000 BET"},
                            {"BASESCRAP=480", "HISCORESERVER="}};
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
  int bodyLine = 0;
  const auto back = OpenReplay(folder.File("a.replay"), file, why, bodyLine);
  ASSERT_TRUE(back.has_value()) << why;
  EXPECT_EQ(*back, header);
  std::string next;
  std::getline(file, next);
  EXPECT_EQ(next, "move 1 2") << "the file is left at the first input";
  EXPECT_EQ(bodyLine, 6);
}

TEST(ReplayFile, ARecordingThatCannotBeReplayedIsRefusedWithOneClearLine) {
  TempFolder folder;
  const std::pair<std::string, std::string> cases[] = {
      {ReplayHeaderLines({"0.9.0.0", 1, {2026, 1, 1}, {}, {}}) + "wait 5\n", "was recorded by version 0.9.0.0"},
      {"wait 5\n", "is not a Mibbetfall recording"},
      {"# mibbetfall recording version=1 seed=x date=2026-01-01\n", "is not a Mibbetfall recording"},
      {std::string(100000, 'x'), "is not a Mibbetfall recording"},
      {"", "cannot read"},
  };
  for (const auto& [text, message] : cases) {
    std::ofstream(folder.File("bad.replay"), std::ios::trunc) << text;
    std::ifstream file;
    std::string why;
    int bodyLine = 0;
    EXPECT_FALSE(OpenReplay(folder.File("bad.replay"), file, why, bodyLine).has_value()) << message;
    EXPECT_NE(why.find(message), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
  }
  std::ifstream file;
  std::string why;
  int bodyLine = 0;
  EXPECT_FALSE(OpenReplay(folder.File("missing.replay"), file, why, bodyLine).has_value());
  EXPECT_FALSE(OpenReplay(folder.path.string(), file, why, bodyLine).has_value()) << "a folder is no recording";
}

TEST(ReplayFile, ARecordingStopsGrowingAtItsLimit) {
  TempFolder folder;
  ReplayRecorder recorder(folder.File("a.replay"), {GameFileVersion(), 1, {2026, 1, 1}, {}, {}}, 0, 200);
  for (int i = 0; i < 100; ++i) recorder.Input(i, "move 100 100");
  recorder.Close(1000);
  EXPECT_LE(fs::file_size(folder.File("a.replay")), 200u);
}

// A line longer than any a recording holds is refused as it is read, never taken into memory whole:
// a 300 MB comment once took 1.26 GB.
TEST(ReplayFile, ALineIsReadOnlyUpToItsLongestLength) {
  struct Case {
    std::string text;
    std::vector<std::pair<LineRead, std::string>> lines;
  };
  const std::string longest(8, 'x'), tooLong(9, 'y');
  const Case cases[] = {
      {"a\n\nb", {{LineRead::Line, "a"}, {LineRead::Line, ""}, {LineRead::Line, "b"}, {LineRead::End, ""}}},
      {longest + "\n" + longest, {{LineRead::Line, longest}, {LineRead::Line, longest}, {LineRead::End, ""}}},
      {tooLong + "\nwait 1\n", {{LineRead::TooLong, ""}}},
      {"ok\n" + std::string(10'000'000, 'z'), {{LineRead::Line, "ok"}, {LineRead::TooLong, ""}}},
      {"", {{LineRead::End, ""}}},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    std::string line;
    for (const auto& [expected, text] : c.lines) {
      EXPECT_EQ(ReadBoundedLine(in, line, longest.size()), expected) << c.text.substr(0, 20);
      EXPECT_EQ(line, text);
      EXPECT_LE(line.capacity(), 64u) << "the long line was read whole";
    }
  }
}

TEST(ReplayRecorder, WritesOnlyIntoAFileOfThePlayersOwnAndNeverThroughALink) {
  struct Case {
    const char* what;
    RecordingFile kind;
    bool needsRoot;
    // Plants what the case is about beside a file "victim"; gives the path to record to.
    std::function<std::string(const TempFolder&)> plant;
    bool opens;
  };
  const auto named = [](const char* name) { return [name](const TempFolder& f) { return f.File(name); }; };
  const auto link = [](const char* target) {
    return [target](const TempFolder& f) {
      fs::create_symlink(f.File(target), f.File("link"));
      return f.File("link");
    };
  };
  const Case cases[] = {
      {"a new file", RecordingFile::Named, false, named("new.replay"), true},
      {"an older recording of the player's", RecordingFile::Named, false,
       [](const TempFolder& f) {
         std::ofstream(f.File("old.replay")) << "a much longer game than this one\n";
         return f.File("old.replay");
       },
       true},
      {"a link to another file", RecordingFile::Named, false, link("victim"), false},
      {"a link to nothing", RecordingFile::Named, false, link("nowhere"), false},
      {"a device", RecordingFile::Named, false, [](const TempFolder&) { return std::string("/dev/null"); }, false},
      {"a folder", RecordingFile::Named, false, [](const TempFolder& f) { return f.path.string(); }, false},
      {"another name of a file", RecordingFile::Named, false,
       [](const TempFolder& f) {
         fs::create_hard_link(f.File("victim"), f.File("hard"));
         return f.File("hard");
       },
       false},
      {"another user's file", RecordingFile::Named, true,
       [](const TempFolder& f) {
         EXPECT_EQ(::chown(f.File("victim").c_str(), 65534, 65534), 0);
         return f.File("victim");
       },
       false},
      {"a FIFO nobody reads", RecordingFile::Named, false,
       [](const TempFolder& f) {
         EXPECT_EQ(::mkfifo(f.File("fifo").c_str(), 0600), 0);
         return f.File("fifo");
       },
       false},
      {"a fresh name", RecordingFile::Fresh, false, named("game.replay"), true},
      {"a fresh name already taken", RecordingFile::Fresh, false, named("victim"), false},
      {"a fresh name taken by a link", RecordingFile::Fresh, false, link("victim"), false},
  };
  const ReplayHeader header{GameFileVersion(), 1, {2026, 1, 1}, {}, {}};
  for (const Case& c : cases) {
    if (c.needsRoot && ::geteuid() != 0) continue;
    TempFolder folder;
    std::ofstream(folder.File("victim")) << "keep me";
    const std::string path = c.plant(folder);
    const bool existed = fs::exists(fs::symlink_status(path));
    {
      ReplayRecorder recorder(path, header, 0, 64 << 20, c.kind);
      EXPECT_EQ(recorder.Open(), c.opens) << c.what << ": " << recorder.Error();
      EXPECT_EQ(recorder.Error().empty(), c.opens) << c.what;
      recorder.Input(5, "move 1 2");
      recorder.Close(10);
    }
    EXPECT_EQ(Read(folder.File("victim")), "keep me") << c.what;
    EXPECT_FALSE(fs::exists(folder.File("nowhere"))) << c.what << ": a link's missing target is not made";
    if (!c.opens) continue;
    EXPECT_EQ(Read(path), ReplayHeaderLines(header) + "wait 5\nmove 1 2\nwait 5\n") << c.what;
    if (!existed) {
      EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, fs::perms::owner_read | fs::perms::owner_write)
          << c.what << ": a new recording is the player's alone";
    }
  }
}

TEST(ReplayRecorder, AFullDiskIsSaidOnceWithTheRecordingsName) {
  testing::internal::CaptureStderr();
  {
    ReplayRecorder recorder(FileWriter(::open("/dev/full", O_WRONLY | O_CLOEXEC)), "game.replay",
                            {GameFileVersion(), 1, {2026, 1, 1}, {}, {}}, 0);
    ASSERT_TRUE(recorder.Open());
    for (int second = 1; second <= 3; ++second) {
      recorder.Input(second * 1000, "move 1 2");
      recorder.Flush();
    }
    recorder.Close(5000);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "mibbetfall: the recording game.replay is incomplete: " + std::string(std::strerror(ENOSPC)) + "\n");
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
