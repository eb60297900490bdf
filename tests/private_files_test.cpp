// The folders and files the game keeps for the player alone: nobody else may swap, plant or read.
#include "platform/private_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

// A folder of the test's own below the shared temporary folder, as a player's home would be.
struct Scratch {
  Scratch() : path(fs::temp_directory_path() / ("mibbetfall-private-" + std::to_string(::getpid()))) {
    fs::remove_all(path);
    fs::create_directory(path);
    fs::permissions(path, fs::perms::owner_all);
  }
  ~Scratch() { fs::remove_all(path); }
  fs::path Folder(const std::string& name, fs::perms perms) const {
    fs::create_directories(path / name);
    fs::permissions(path / name, perms);
    return path / name;
  }
  fs::path path;
};

// Only root can give a file to another user; the cases that need one are skipped otherwise.
constexpr uid_t kSomeoneElse = 65534;
bool CanGiveAway() { return ::geteuid() == 0; }

fs::perms Permissions(const fs::path& path) { return fs::symlink_status(path).permissions() & fs::perms::mask; }

std::string Read(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(PrivateFolder, MadeForItsOwnerAloneAndOneOfTheirsIsNarrowed) {
  Scratch scratch;
  std::string why;
  const fs::path deep = scratch.path / "home/.local/state/mibbetfall";
  EXPECT_EQ(PrivateFolder(deep.string(), why), deep.string() + "/") << why;
  for (fs::path folder = deep; folder != scratch.path; folder = folder.parent_path())
    EXPECT_EQ(Permissions(folder), fs::perms::owner_all) << folder;

  // Made by an older game, or under a loose umask: the player's own, so it is narrowed and used.
  const fs::path loose = scratch.Folder("loose", fs::perms::all);
  EXPECT_EQ(PrivateFolder(loose.string() + "/", why), loose.string() + "/") << why;
  EXPECT_EQ(Permissions(loose), fs::perms::owner_all);
}

TEST(PrivateFolder, RefusesAFolderThatAnotherUserCouldSwapOrOwns) {
  struct Case {
    const char* what;
    bool needsRoot;
    // Plants what the case is about in the scratch folder; gives the folder to ask for.
    std::function<fs::path(const Scratch&)> plant;
  };
  const Case cases[] = {
      {"a link to a folder", false,
       [](const Scratch& s) {
         fs::create_directory_symlink(s.Folder("target", fs::perms(0755)), s.path / "linked");
         return s.path / "linked";
       }},
      {"a file in its place", false,
       [](const Scratch& s) {
         std::ofstream(s.path / "file") << "x";
         return s.path / "file";
       }},
      {"below a folder another group may change", true,
       [](const Scratch& s) {
         const fs::path shared = s.Folder("shared", fs::perms(0775));
         EXPECT_EQ(::chown(shared.c_str(), uid_t(-1), kSomeoneElse), 0);
         return shared / "mine";
       }},
      {"below a link into a folder anyone may change", false,
       [](const Scratch& s) {
         const fs::path inside = s.Folder("open", fs::perms::all) / "inner";
         fs::create_directory(inside);
         fs::permissions(inside, fs::perms::owner_all);
         fs::create_directory_symlink(inside, s.path / "via");
         return s.path / "via/mine";
       }},
      {"a relative name", false, [](const Scratch&) { return fs::path("relative/mibbetfall"); }},
      {"owned by another user", true,
       [](const Scratch& s) {
         const fs::path theirs = s.Folder("theirs", fs::perms::owner_all);
         EXPECT_EQ(::chown(theirs.c_str(), kSomeoneElse, kSomeoneElse), 0);
         return theirs;
       }},
      {"below a folder of another user", true,
       [](const Scratch& s) {
         const fs::path theirs = s.Folder("theirs", fs::perms(0755));
         fs::create_directory(theirs / "mine");
         EXPECT_EQ(::chown(theirs.c_str(), kSomeoneElse, kSomeoneElse), 0);
         return theirs / "mine";
       }},
  };
  for (const Case& c : cases) {
    if (c.needsRoot && !CanGiveAway()) continue;
    Scratch scratch;
    const fs::path asked = c.plant(scratch);
    std::string why;
    EXPECT_EQ(PrivateFolder(asked.string(), why), "") << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
    EXPECT_FALSE(fs::exists(scratch.path / "shared/mine")) << c.what << ": nothing is made inside such a folder";
    if (fs::exists(scratch.path / "target")) {
      EXPECT_EQ(Permissions(scratch.path / "target"), fs::perms(0755)) << "a link's target is left as it was";
    }
  }
}

// With a umask of 002 and a group of one's own, every folder a player makes is writable by that
// group: the player's state folder below them is still the player's.
TEST(PrivateFolder, AFolderOfThePlayersOwnGroupMayBeGroupWritable) {
  Scratch scratch;
  const fs::path own = scratch.Folder("own", fs::perms(0775)) / "mine";
  std::string why;
  EXPECT_EQ(PrivateFolder(own.string(), why), own.string() + "/") << why;
}

TEST(PrivateStateFolder, TheXdgStateFolderOrTheHomeOneAndNeverASharedOne) {
  Scratch scratch;
  const std::string xdg = (scratch.path / "xdg").string(), home = (scratch.path / "home").string();
  struct Case {
    const char* xdgValue;
    const char* homeValue;
    std::string expected;
  };
  const Case cases[] = {
      {xdg.c_str(), home.c_str(), xdg + "/mibbetfall/"},
      {nullptr, home.c_str(), home + "/.local/state/mibbetfall/"},
      {"relative", home.c_str(), home + "/.local/state/mibbetfall/"},
      {nullptr, nullptr, ""},
      {"", "", ""},
      {"relative", "also-relative", ""},
  };
  for (const Case& c : cases) {
    ScopedEnvironment xdgEnv("XDG_STATE_HOME", c.xdgValue), homeEnv("HOME", c.homeValue);
    std::string why;
    EXPECT_EQ(PrivateStateFolder(why), c.expected) << (c.xdgValue ? c.xdgValue : "(unset)");
    if (c.expected.empty()) {
      EXPECT_FALSE(why.empty());
    }
  }
}

TEST(CreatePrivateFile, MakesANewFileForItsOwnerAloneAndNeverTakesAnExistingName) {
  Scratch scratch;
  const fs::path fresh = scratch.path / "fresh";
  const int fd = CreatePrivateFile(fresh.c_str());
  ASSERT_GE(fd, 0);
  ::close(fd);
  EXPECT_EQ(Permissions(fresh), fs::perms::owner_read | fs::perms::owner_write);

  const fs::path victim = scratch.path / "victim";
  std::ofstream(victim) << "keep me";
  fs::create_symlink(victim, scratch.path / "link");
  fs::create_symlink(scratch.path / "nowhere", scratch.path / "dangling");
  ASSERT_EQ(::mkfifo((scratch.path / "fifo").c_str(), 0600), 0);
  for (const char* name : {"victim", "link", "dangling", "fifo"}) {
    EXPECT_EQ(CreatePrivateFile((scratch.path / name).c_str()), -1) << name;
    EXPECT_EQ(errno, EEXIST) << name;
  }
  EXPECT_EQ(Read(victim), "keep me");
  EXPECT_FALSE(fs::exists(scratch.path / "nowhere")) << "a dangling link's target is not made";
}

TEST(FileWriter, AFullDiskFailsTheWriteAndEveryOneAfter) {
  FileWriter file(::open("/dev/full", O_WRONLY | O_CLOEXEC));
  ASSERT_TRUE(file.IsOpen());
  EXPECT_FALSE(file.Write("a line\n"));
  EXPECT_TRUE(file.Failed());
  EXPECT_EQ(file.Error(), std::strerror(ENOSPC));
  EXPECT_FALSE(file.Write("another"));
  EXPECT_FALSE(file.Close()) << "the failure is still reported at the end";
}

}  // namespace
