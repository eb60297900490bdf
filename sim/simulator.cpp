#include "sim/simulator.h"

#include <algorithm>
#include <deque>

#include "platform/bmp_file.h"
#include "platform/sdl/ttf_font_rasterizer.h"
#include "replay/replay_file.h"

Simulator::Simulator(const SimulatorOptions& options) {
  clock_.SetSeed(options.Seed);
  clock_.SetToday(options.Today);
  if (options.SystemFonts) fonts_ = std::make_unique<TtfFontRasterizer>();
  else fonts_ = std::make_unique<NullFontRasterizer>();
  game_ = std::make_unique<TForm1>(Platform{scheduler_, sound_, music_, http_, *fonts_, host_}, options.AssetDir);
  game_->Replaying = options.Replaying;
  game_->HighScoreLines = options.HighScores;
  game_->RecordedSettings = options.Settings;
  game_->FormCreate();
  driver_ = std::make_unique<GameDriver>(*game_, scheduler_, clock_);
}

Simulator::~Simulator() { Quit(); }

void Simulator::Wait(std::int64_t ms) { driver_->RunUntil(clock_.NowMs() + std::max<std::int64_t>(ms, 0)); }

void Simulator::Apply(const InputEvent& input) { driver_->Apply(input); }

void Simulator::Move(int x, int y) { Apply({InputEvent::Kind::Move, x, y}); }

void Simulator::Press(int x, int y, MouseButton button) {
  Down(x, y, button);
  Up(x, y, button);
}

void Simulator::Down(int x, int y, MouseButton button) { Apply({InputEvent::Kind::Down, x, y, button}); }

void Simulator::Up(int x, int y, MouseButton button) { Apply({InputEvent::Kind::Up, x, y, button}); }

bool Simulator::Key(const std::string& key) { return KeyDown(key) && KeyUp(key); }

bool Simulator::KeyDown(const std::string& key) { return ApplyKey(InputEvent::Kind::KeyDown, key); }

bool Simulator::KeyUp(const std::string& key) { return ApplyKey(InputEvent::Kind::KeyUp, key); }

bool Simulator::ApplyKey(InputEvent::Kind kind, const std::string& key) {
  const std::optional<char> ch = KeyCharacter(key);
  if (ch) Apply({.Type = kind, .Key = *ch});
  return ch.has_value();
}

std::string Simulator::Dump() {
  SinceLastDump since;
  since.Sounds = std::move(sound_.Requested);
  since.SoundRequests = std::move(sound_.Log);
  sound_.Requested.clear();
  sound_.Log.clear();
  // The log keeps only its newest lines, so count every line ever logged, not the ones kept.
  const std::deque<std::string>& log = game_->DebugLog;
  const std::int64_t logged = game_->DebugLinesDropped + std::int64_t(log.size());
  const std::int64_t fresh = logged >= debugLinesDumped_ ? logged - debugLinesDumped_ : logged;
  const std::int64_t kept = std::min(fresh, std::int64_t(log.size()));
  since.DebugLinesLost = fresh - kept;
  since.DebugLines.assign(log.end() - kept, log.end());
  debugLinesDumped_ = logged;
  return DumpGameState(*game_, clock_.NowMs(), since);
}

bool Simulator::Shot(const std::string& path) { return WriteBmp24(path, game_->ComposeFrame()); }

void Simulator::Quit() {
  if (quit_) return;
  quit_ = true;
  game_->FormDestroy();
}
