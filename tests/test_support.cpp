#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

TestAssetDir::TestAssetDir(const std::string& settingsText) {
  static std::atomic<int> counter{0};
  dir_ =
      fs::temp_directory_path() / ("mibbetfall-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(dir_);
  fs::create_directories(dir_ / "font");
  const fs::path generated = MIBBETFALL_ASSET_DIR;
  for (const auto& entry : fs::recursive_directory_iterator(generated)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), generated);
    if (relative == "settings.ini" || relative == "hs.bmp" || relative == "debug.txt") continue;
    fs::create_directories((dir_ / relative).parent_path());
    fs::create_symlink(entry.path(), dir_ / relative);
  }
  Write("settings.ini", "[Settings]\n" + settingsText);
}

TestAssetDir::~TestAssetDir() {
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

void TestAssetDir::Remove(const std::string& file) const { fs::remove(dir_ / file); }

void TestAssetDir::Write(const std::string& file, const std::string& text) const {
  fs::remove(dir_ / file);
  std::ofstream(dir_ / file, std::ios::binary) << text;
}

GameFixture::GameFixture(const std::string& settingsText, CalendarDate today, std::uint32_t seed)
    : Assets(settingsText) {
  SimulatorOptions options;
  options.AssetDir = Assets.Path();
  options.Today = today;
  options.Seed = seed;
  options.SystemFonts = false;
  Sim = std::make_unique<Simulator>(options);
}

void GameFixture::StartPlaying() {
  Sim->Press(350, 350);
  Sim->Key("N");
}

void ReachHighScores(GameFixture& f, int score) {
  TForm1& g = f.Game();
  if (g.GameMode == ModeSplash) f.StartPlaying();
  f.Sim->Wait(100);
  g.Score = score;
  g.EndGame();
  for (int i = 0; i < 200 && g.GameMode != ModeGameOver; ++i) f.Sim->Wait(50);
  ASSERT_EQ(g.GameMode, ModeGameOver);
  f.Sim->Press(358, 358);  // over the middle of the panels
  ASSERT_TRUE(g.pnlHighScores.Visible);
}

void Type(GameFixture& f, const std::string& text) {
  for (char c : text) {
    if (c == '\r') f.Sim->Key("Enter");
    else if (c == '\b') f.Sim->Key("Backspace");
    else if (c == ' ') f.Sim->Key("Space");
    else f.Sim->Key(std::string(1, c));
  }
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  if (value) ::setenv(name, value, 1);
  else ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment() {
  if (old_) ::setenv(name_, old_->c_str(), 1);
  else ::unsetenv(name_);
}
