// The game in a browser page: the unchanged core driven by the page's script. The script calls
// in when real time reaches the next due moment and on each input; it sleeps otherwise. Each call
// returns how long the script may sleep, and only the rows of the frame that changed go to the
// canvas.
#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "app/game_driver.h"
#include "app/main_window.h"
#include "platform/fakes.h"
#include "platform/scheduler.h"
#include "web/web_platform.h"

namespace {

constexpr char kAssetDir[] = "/Assets/";

// clang-format off
EM_JS(void, JsShowRows, (const Pixel* pixels, int width, int first, int rows),
      { Mibbetfall.showRows(pixels, width, first, rows); });
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

  void ShowChanges() {
    const Bitmap32& frame = game_->ComposeFrame();
    int first = 0, last = frame.Height() - 1;
    if (!shown_.Empty()) {
      while (first <= last && RowsEqual(frame, first)) ++first;
      while (last >= first && RowsEqual(frame, last)) --last;
    }
    if (first > last) return;
    shown_ = frame;
    JsShowRows(frame.Row(first), frame.Width(), first, last - first + 1);
  }

  bool RowsEqual(const Bitmap32& frame, int y) const {
    return std::equal(frame.Row(y), frame.Row(y) + frame.Width(), shown_.Row(y));
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
  Bitmap32 shown_;
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
