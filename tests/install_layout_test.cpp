// Where a game run from the build tree and an installed game find their assets, and where each
// writes its own files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

// A scratch prefix with bin/ and, on request, the two places assets may lie.
class Prefix {
 public:
  Prefix() : root_(fs::temp_directory_path() / ("mibbetfall-layout-" + std::to_string(::getpid()))) {
    fs::create_directories(root_ / "bin");
  }
  ~Prefix() {
    std::error_code ignored;
    fs::permissions(root_ / "bin/Assets", fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
  }
  std::string Bin() const { return (root_ / "bin").string() + "/"; }
  std::string Beside() const { return Bin() + "Assets/"; }
  std::string Installed() const { return (root_ / "share/mibbetfall/Assets").string() + "/"; }
  void Make(const std::string& dir) const { fs::create_directories(dir); }

 private:
  fs::path root_;
};

TEST(AssetDirOfExecutable, TheBuildTreesFolderFirstThenTheInstalledOne) {
  struct Case {
    const char* name;
    bool beside, installed;
    bool expectInstalled;
  };
  const Case cases[] = {
      {"build tree", true, false, false},
      {"installed", false, true, true},
      {"both: the one beside wins", true, true, false},
      {"neither: the message names the one beside", false, false, false},
  };
  for (const Case& c : cases) {
    Prefix prefix;
    if (c.beside) prefix.Make(prefix.Beside());
    if (c.installed) prefix.Make(prefix.Installed());
    EXPECT_EQ(AssetDirOfExecutableIn(prefix.Bin()), c.expectInstalled ? prefix.Installed() : prefix.Beside()) << c.name;
  }
}

// Run as root too: root may write anywhere, yet must not scatter a player's files into an
// installed game or into a folder someone marked read-only.
TEST(WritableFolder, NeverAnInstalledOrReadOnlyAssetFolder) {
  Prefix prefix;
  prefix.Make(prefix.Beside());
  prefix.Make(prefix.Installed());
  const fs::path user = fs::path(prefix.Bin()) / "user-data";
  ::setenv("XDG_DATA_HOME", user.c_str(), 1);
  const std::string players = (user / "mibbetfall").string() + "/";

  EXPECT_EQ(WritableFolder(prefix.Beside(), "XDG_DATA_HOME", ".local/share"), prefix.Beside());
  EXPECT_EQ(WritableFolder(prefix.Installed(), "XDG_DATA_HOME", ".local/share"), players);
  EXPECT_EQ(WritableFolder(prefix.Bin() + "../share/mibbetfall/Assets/", "XDG_DATA_HOME", ".local/share"), players);
  fs::permissions(prefix.Beside(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(WritableFolder(prefix.Beside(), "XDG_DATA_HOME", ".local/share"), players);
  ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
