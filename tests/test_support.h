// Shared fixtures: a simulator on the generated assets, with settings of the test's choosing.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "sim/simulator.h"

// A private copy of the generated asset folder (files linked, not copied) with its own
// settings.ini, removed again when the test ends.
class TestAssetDir {
 public:
  explicit TestAssetDir(const std::string& settingsText = "");
  ~TestAssetDir();
  TestAssetDir(const TestAssetDir&) = delete;
  TestAssetDir& operator=(const TestAssetDir&) = delete;

  std::string Path() const { return dir_.string() + "/"; }
  void Remove(const std::string& file) const;
  void Write(const std::string& file, const std::string& text) const;

 private:
  std::filesystem::path dir_;
};

// Sets an environment variable (or, given null, unsets it) for as long as it lives.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ScopedEnvironment(const char* name, const std::string& value) : ScopedEnvironment(name, value.c_str()) {}
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The debug log as a plain list, to compare with expected lines.
inline std::vector<std::string> DebugLines(const TForm1& game) { return {game.DebugLog.begin(), game.DebugLog.end()}; }

struct GameFixture {
  explicit GameFixture(const std::string& settingsText = "", CalendarDate today = {2026, 3, 1}, std::uint32_t seed = 7);
  TestAssetDir Assets;
  std::unique_ptr<Simulator> Sim;
  TForm1& Game() { return Sim->Game(); }
  // Clicks the splash and answers N: play has begun.
  void StartPlaying();
};

// Plays a moment, ends the game with this score and clicks the game-over panel away.
void ReachHighScores(GameFixture& f, int score);
// Types each character of text as one key; "\r" stands for Enter, "\b" for Backspace.
void Type(GameFixture& f, const std::string& text);
