// The game in a browser page: the unchanged core driven by the page's script. The script calls
// in when real time reaches the next due moment and on each input; it sleeps otherwise. Each call
// returns how long the script may sleep, and only the rows of the frame that changed go to the
// canvas.
#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/game_driver.h"
#include "app/main_window.h"
#include "platform/fakes.h"
#include "platform/scheduler.h"
#include "web/web_platform.h"

namespace {

constexpr char kAssetDir[] = "/Assets/";

// clang-format off
EM_JS(void, JsShowRect, (const unsigned char* rgba, int left, int top, int width, int height),
      { Mibbetfall.showRect(rgba, left, top, width, height); });
EM_JS(void, JsKeepHighScores, (const char* path), { Mibbetfall.keepHighScores(UTF8ToString(path)); });
EM_JS(void, JsSetCaption, (const char* caption), { document.title = UTF8ToString(caption); });
// clang-format on

class BrowserGame {
 public:
  BrowserGame(std::uint32_t seed, CalendarDate today) {
    clock_.SetSeed(seed);
    clock_.SetToday(today);
    game_ = std::make_unique<TForm1>(Platform{timers_, sound_, music_, http_, fonts_, banner_}, kAssetDir);
    game_->FormCreate();
    driver_ = std::make_unique<GameDriver>(*game_, timers_, clock_);
    tableWrittenAt_ = HighScoresWrittenAt();
  }

  // Runs the game up to the real moment and returns the real milliseconds until the next due
  // moment, or -1 when nothing is due.
  double Advance(double realMs) {
    const std::int64_t now = driver_->GameTimeAt(std::int64_t(realMs), driver_->NextDue());
    dirty_ |= driver_->RunUntil(now);
    AfterCall();
    const std::optional<std::int64_t> due = driver_->NextDue();
    return due ? double(std::max<std::int64_t>(driver_->RealMsUntil(*due, std::int64_t(realMs)), 0)) : -1.0;
  }

  void Input(const InputEvent& input) {
    driver_->Apply(input);
    dirty_ = true;
    AfterCall();
  }

 private:
  void AfterCall() {
    if (dirty_) ShowChanges();
    dirty_ = false;
    // The table is saved to the page's storage whenever the game wrote it.
    if (const double writtenAt = HighScoresWrittenAt(); writtenAt != tableWrittenAt_) {
      tableWrittenAt_ = writtenAt;
      JsKeepHighScores(game_->HighScorePath().c_str());
    }
    if (game_->Caption != caption_) {
      caption_ = game_->Caption;
      JsSetCaption(caption_.c_str());
    }
  }

  double HighScoresWrittenAt() const {
    struct stat status {};
    if (::stat(game_->HighScorePath().c_str(), &status) != 0) return -1;
    return double(status.st_mtim.tv_sec) * 1e9 + double(status.st_mtim.tv_nsec) + double(status.st_ino);
  }

  // Only the areas the game repainted go to the canvas, already in the canvas's byte order, so
  // the page copies nothing. The canvas keeps the rest from the frames before.
  void ShowChanges() {
    const Bitmap32& frame = game_->ComposeFrame();
    for (const ClipRect& area : game_->FrameChanges()) ShowArea(frame, area);
  }

  void ShowArea(const Bitmap32& frame, const ClipRect& area) {
    const int width = area.Right - area.Left, height = area.Bottom - area.Top;
    rgba_.resize(std::size_t(width) * std::size_t(height) * 4);
    unsigned char* to = rgba_.data();
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x, to += 4) {
        const Pixel p = frame.At(x, y);
        to[0] = static_cast<unsigned char>(PixelRed(p));
        to[1] = static_cast<unsigned char>(PixelGreen(p));
        to[2] = static_cast<unsigned char>(PixelBlue(p));
        to[3] = 255;
      }
    JsShowRect(rgba_.data(), area.Left, area.Top, width, height);
  }

  VirtualClock clock_;
  Scheduler timers_{clock_};
  WebSoundDevice sound_;
  WebMusicDevice music_;
  WebHttpClient http_;
  WebFontRasterizer fonts_;
  NullHostWindow banner_;
  std::unique_ptr<TForm1> game_;
  std::unique_ptr<GameDriver> driver_;
  std::vector<unsigned char> rgba_;
  std::string caption_;
  bool dirty_ = true;
  double tableWrittenAt_ = -1;
};

std::unique_ptr<BrowserGame> g_game;

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void mf_start(unsigned seed, int year, int month, int day) {
  g_game = std::make_unique<BrowserGame>(seed, CalendarDate{year, month, day});
}

EMSCRIPTEN_KEEPALIVE double mf_advance(double realMs) { return g_game ? g_game->Advance(realMs) : -1.0; }

// kind: 0 move, 1 down, 2 up, 3 key down, 4 key up; button: 0 left, 1 right, 2 middle.
EMSCRIPTEN_KEEPALIVE void mf_input(int kind, int x, int y, int button, int key) {
  if (!g_game || kind < 0 || kind > 4 || button < 0 || button > 2 || key < 0 || key > 126) return;
  g_game->Input({InputEvent::Kind(kind), x, y, MouseButton(button), char(key)});
}

}  // extern "C"

int main() {
  // The page starts the game once its sounds are decoded and its settings read.
  emscripten_exit_with_live_runtime();
}
