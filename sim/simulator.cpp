#include "sim/simulator.h"

#include "platform/bmp_file.h"
#include "platform/sdl/ttf_font_rasterizer.h"

Simulator::Simulator(const SimulatorOptions& options) {
  clock_.SetSeed(options.Seed);
  clock_.SetToday(options.Today);
  if (options.SystemFonts)
    fonts_ = std::make_unique<TtfFontRasterizer>();
  else
    fonts_ = std::make_unique<NullFontRasterizer>();
  game_ = std::make_unique<TForm1>(Platform{scheduler_, sound_, music_, http_, *fonts_, host_}, options.AssetDir);
  game_->FormCreate();
}

Simulator::~Simulator() { Quit(); }

void Simulator::Wait(std::int64_t ms) {
  const std::int64_t end = clock_.NowMs() + std::max<std::int64_t>(ms, 0);
  while (const auto due = scheduler_.NextDue()) {
    if (*due > end) break;
    clock_.SetNow(std::max(*due, clock_.NowMs()));
    scheduler_.FireNextDue(clock_.NowMs());
  }
  clock_.SetNow(end);
}

void Simulator::Move(int x, int y) {
  pointerX_ = x;
  pointerY_ = y;
  game_->WindowMouseMove(x, y);
}

void Simulator::Press(int x, int y, MouseButton button) {
  if (x != pointerX_ || y != pointerY_) Move(x, y);
  game_->WindowMouseDown(x, y, button);
  game_->WindowMouseUp(x, y, button);
}

bool Simulator::Key(const std::string& key) {
  char ch;
  if (key == "Esc") ch = 27;
  else if (key == "Enter") ch = 13;
  else if (key == "Backspace") ch = 8;
  else if (key == "Space") ch = ' ';
  else if (key.size() == 1 && key[0] > ' ' && key[0] < 127) ch = key[0];
  else return false;
  game_->FormKeyPress(ch);
  // The release carries the key's code: upper case for letters, as a keyboard reports them.
  game_->FormKeyUp(std::toupper(static_cast<unsigned char>(ch)));
  return true;
}

std::string Simulator::Dump() {
  std::string text = DumpGameState(*game_, clock_.NowMs(), sound_.Requested);
  sound_.Requested.clear();
  return text;
}

bool Simulator::Shot(const std::string& path) { return WriteBmp24(path, game_->ComposeFrame()); }

void Simulator::Quit() {
  if (quit_) return;
  quit_ = true;
  game_->FormDestroy();
}
