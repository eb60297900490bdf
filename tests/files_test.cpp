// Where the game writes its own files, and how.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/files.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WritableFolder, TheAssetFolderWhenWritableElseThePlayersOwn) {
  TestAssetDir assets;
  const fs::path user = fs::path(assets.Path()) / "user-data";
  ScopedEnvironment xdg("XDG_DATA_HOME", user.string());
  EXPECT_EQ(WritableFolder(assets.Path(), "XDG_DATA_HOME", ".local/share"), assets.Path());
  // An asset folder the game cannot write to (here: one that is not there at all).
  const std::string installed = assets.Path() + "missing/";
  EXPECT_EQ(WritableFolder(installed, "XDG_DATA_HOME", ".local/share"), (user / "mibbetfall").string() + "/");
  EXPECT_TRUE(fs::is_directory(user / "mibbetfall"));
  // Without the variable, the folder below $HOME.
  ::unsetenv("XDG_DATA_HOME");
  ScopedEnvironment home("HOME", user.string());
  EXPECT_EQ(WritableFolder(installed, "XDG_DATA_HOME", ".local/share"),
            (user / ".local/share/mibbetfall").string() + "/");
}

TEST(WriteFileAtomically, ReplacesTheWholeFileOrNothing) {
  TestAssetDir assets;
  const std::string path = assets.Path() + "note.txt";
  ASSERT_TRUE(WriteFileAtomically(path, "first"));
  ASSERT_TRUE(WriteFileAtomically(path, "second"));
  EXPECT_EQ(ReadAll(path), "second");
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  // A folder in the way of the temporary file: the old file stays whole.
  fs::create_directory(path + ".tmp");
  EXPECT_FALSE(WriteFileAtomically(path, "third"));
  EXPECT_EQ(ReadAll(path), "second");
  EXPECT_TRUE(fs::is_directory(path + ".tmp")) << "what is not the writer's own is left alone";
}

TEST(DebugLog, KeepsTheNewestLinesAndSaysHowManyWereDropped) {
  GameFixture f("DEBUG=1\n");
  TForm1& g = f.Game();
  g.DebugLog.clear();
  for (int i = 0; i < 100005; ++i) g.LogDebug("line " + std::to_string(i));
  EXPECT_EQ(g.DebugLog.size(), 100000u);
  EXPECT_EQ(g.DebugLog.front(), "line 5");
  f.Sim->Quit();
  const std::string text = ReadAll(f.Assets.Path() + "debug.txt");
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "(" + std::to_string(g.DebugLinesDropped) + " earlier lines dropped)");
  EXPECT_NE(text.find("line 5\r\nline 6\r\n"), std::string::npos);
  EXPECT_EQ(text.find("line 4\r\n"), std::string::npos);
}

}  // namespace
