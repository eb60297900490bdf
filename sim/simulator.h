// The game run headless: the unchanged core on a virtual clock, with recording devices.
// Used by mibbetfall-sim, the tests and the benchmarks.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/game_driver.h"
#include "app/main_window.h"
#include "platform/fakes.h"
#include "platform/scheduler.h"

struct SimulatorOptions {
  std::string AssetDir;  // with a trailing separator
  std::uint32_t Seed = 1;
  CalendarDate Today{2010, 3, 1};
  bool SystemFonts = true;  // DejaVu through SDL_ttf; off gives no system text at all
  bool Replaying = false;
  std::vector<std::string> HighScores;  // a replay's table at its start
  std::optional<TSettings> Settings;  // a replay's settings; none: the asset folder's
};

class Simulator {
 public:
  explicit Simulator(const SimulatorOptions& options);
  ~Simulator();

  // Advances the virtual clock, firing every timer due on the way in due order.
  void Wait(std::int64_t ms);
  void Apply(const InputEvent& input);
  void Move(int x, int y);
  // A press and release at (x, y); the pointer first moves there, as a real one would.
  void Press(int x, int y, MouseButton button = MouseButton::Left);
  // One printable character, or "Esc", "Enter", "Backspace", "Space"; false for anything else.
  bool Key(const std::string& key);
  // The halves of a press and of a key, as the window hands them to the game one by one.
  void Down(int x, int y, MouseButton button);
  void Up(int x, int y, MouseButton button);
  bool KeyDown(const std::string& key);
  bool KeyUp(const std::string& key);
  // The whole game state as one line of JSON, with the sounds asked for and the debug lines
  // logged since the previous dump; both start afresh afterwards.
  std::string Dump();
  bool Shot(const std::string& path);
  // Closes the window: the shutdown runs once.
  void Quit();

  TForm1& Game() { return *game_; }
  VirtualClock& Time() { return clock_; }
  RecordingSoundDevice& Sound() { return sound_; }
  RecordingMusicDevice& Music() { return music_; }
  RecordingHttpClient& Http() { return http_; }
  Scheduler& Timers() { return scheduler_; }

 private:
  bool ApplyKey(InputEvent::Kind kind, const std::string& key);

  VirtualClock clock_;
  Scheduler scheduler_{clock_};
  RecordingSoundDevice sound_;
  RecordingMusicDevice music_;
  RecordingHttpClient http_;
  std::unique_ptr<FontRasterizer> fonts_;
  NullHostWindow host_;
  std::unique_ptr<TForm1> game_;
  std::unique_ptr<GameDriver> driver_;
  bool quit_ = false;
  // How many debug lines had ever been logged at the previous dump.
  std::int64_t debugLinesDumped_ = 0;
};

// What happened between two dumps that the game state itself does not keep.
struct SinceLastDump {
  std::vector<std::string> Sounds;  // cues that reached the voice
  std::vector<SoundRequest> SoundRequests;  // every cue asked for, played or held back
  std::vector<std::string> DebugLines;
  // Lines logged since the previous dump that the log no longer keeps.
  std::int64_t DebugLinesLost = 0;
};

// The JSON text of the game state (without the simulator's own fields).
std::string DumpGameState(const TForm1& game, std::int64_t timeMs, const SinceLastDump& since);
