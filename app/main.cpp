// The game a player runs: one SDL window showing the frames the core composes.
//
// Idle means idle: the loop sleeps in SDL_WaitEventTimeout until the next input or the next
// due timer, composes a frame only when that wake may have changed what is drawn, and sends to
// the display only the rows of a frame that differ from those shown.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <utility>

#include "app/main_window.h"
#include "platform/crash/crash_report.h"
#include "platform/curl/background_http_client.h"
#include "platform/curl/curl_http_client.h"
#include "platform/scheduler.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/ttf_font_rasterizer.h"

namespace {

constexpr int kMaxTimersPerWake = 64;  // so that input is never starved by overdue timers

std::string AssetDirBesideExecutable() {
  char* base = SDL_GetBasePath();
  std::string dir = base ? base : "./";
  SDL_free(base);
  return dir + "Assets/";
}

// Why no window can be shown: the display the environment names does not answer, or none is
// named. SDL only says that its drivers are not available, so the reason given is the likely one.
std::string NoDisplayMessage() {
  const std::pair<const char*, const char*> displays[] = {{"DISPLAY", "the display"},
                                                          {"WAYLAND_DISPLAY", "the Wayland display"}};
  for (const auto& [variable, kind] : displays)
    if (const char* name = std::getenv(variable); name && *name)
      return std::string("cannot open ") + kind + " " + name +
             ": it does not answer (no server runs there, or it does not let this user in)";
  return "no display to open the game window on: no X11 or Wayland display is set";
}

// SDL quietly falls back to an offscreen driver when there is no display; a game nobody can
// see is no use, so that counts as no display unless it was asked for.
// Returns why there is no display, or nothing when there is one.
std::optional<std::string> WithoutDisplay() {
  // The core composes every frame itself: the window's plain framebuffer is all it needs, and
  // a GL-backed one would only add threads and copies.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0)
    return "no display to open the game window on: " + std::string(SDL_GetError());
  if (std::getenv("SDL_VIDEODRIVER")) return std::nullopt;
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (driver == "offscreen" || driver == "dummy") return NoDisplayMessage();
  return std::nullopt;
}

MouseButton ToButton(Uint8 button) {
  if (button == SDL_BUTTON_RIGHT) return MouseButton::Right;
  if (button == SDL_BUTTON_MIDDLE) return MouseButton::Middle;
  return MouseButton::Left;
}

// Shows the composed frames in the window's own surface, pushing to the display only the band
// of rows that changed: the cheapest way to the screen when little moves.
class GameWindow {
 public:
  GameWindow(SDL_Window* window, TForm1& game) : window_(window), game_(game) {}
  bool Ready() { return SDL_GetWindowSurface(window_) != nullptr; }

  // Returns false when the window was closed.
  bool Handle(const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT:
        return false;
      case SDL_MOUSEMOTION:
        game_.WindowMouseMove(e.motion.x, e.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
        game_.WindowMouseDown(e.button.x, e.button.y, ToButton(e.button.button));
        break;
      case SDL_MOUSEBUTTONUP:
        game_.WindowMouseUp(e.button.x, e.button.y, ToButton(e.button.button));
        break;
      case SDL_TEXTINPUT:
        for (const char* c = e.text.text; *c; ++c)
          if (static_cast<unsigned char>(*c) < 128) game_.FormKeyPress(*c);
        break;
      case SDL_KEYDOWN:
        if (e.key.keysym.sym == SDLK_ESCAPE) game_.FormKeyPress(27);
        if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) game_.FormKeyPress(13);
        if (e.key.keysym.sym == SDLK_BACKSPACE) game_.FormKeyPress(8);
        break;
      case SDL_KEYUP:
        if (e.key.keysym.sym == SDLK_BACKSPACE) game_.FormKeyUp(8);
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          shown_ = Bitmap32();  // everything must be drawn again
        break;
      default:
        break;
    }
    return true;
  }

  // Composes the frame and shows what changed in it.
  void ShowChanges() {
    const Bitmap32& frame = game_.ComposeFrame();
    const bool redrawAll = shown_.Empty();
    int first = 0, last = frame.Height() - 1;
    if (!redrawAll) {
      while (first <= last && RowsEqual(frame, first)) ++first;
      while (last >= first && RowsEqual(frame, last)) --last;
    }
    if (first <= last) Push(frame, first, last);
    if (game_.Caption != caption_) {
      caption_ = game_.Caption;
      SDL_SetWindowTitle(window_, caption_.c_str());
    }
  }

 private:
  bool RowsEqual(const Bitmap32& frame, int y) const {
    return std::equal(frame.Row(y), frame.Row(y) + frame.Width(), shown_.Row(y));
  }

  void Push(const Bitmap32& frame, int first, int last) {
    shown_ = frame;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) return;
    const int rows = last - first + 1;
    SDL_ConvertPixels(frame.Width(), rows, SDL_PIXELFORMAT_ARGB8888, frame.Row(first),
                      frame.Width() * int(sizeof(Pixel)), surface->format->format,
                      static_cast<unsigned char*>(surface->pixels) + std::size_t(first) * surface->pitch,
                      surface->pitch);
    const SDL_Rect band{0, first, frame.Width(), rows};
    SDL_UpdateWindowSurfaceRects(window_, &band, 1);
  }

  SDL_Window* window_;
  TForm1& game_;
  Bitmap32 shown_;
  std::string caption_ = ApplicationTitle;
};

// The music's loop points so far. They only rewind a track: a wake that fired nothing else
// leaves the frame as it was.
int MusicLoopPoints(const TForm1& game) {
  int passed = 0;
  for (const auto& track : game.Music)
    if (track) passed += track->LoopPointsPassed();
  return passed;
}

// Fires the timers due by now; true when one of them may have changed what is drawn.
bool FireDueTimers(Scheduler& timers, const Clock& clock, const TForm1& game) {
  const int loopPointsBefore = MusicLoopPoints(game);
  int fired = 0;
  while (fired < kMaxTimersPerWake && timers.FireNextDue(clock.NowMs())) ++fired;
  return fired > MusicLoopPoints(game) - loopPointsBefore;
}

void RunEventLoop(GameWindow& window, Scheduler& timers, const Clock& clock, const TForm1& game) {
  window.ShowChanges();
  for (;;) {
    const auto due = timers.NextDue();
    const int timeout = due ? int(std::clamp<std::int64_t>(*due - clock.NowMs(), 0, 1 << 30)) : -1;
    SDL_Event event;
    const bool gotEvent = timeout < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeout);
    if (gotEvent) {
      if (!window.Handle(event)) return;
      while (SDL_PollEvent(&event))
        if (!window.Handle(event)) return;
    }
    // Any input may change what is drawn, and so may any timer but a music loop point. A frame
    // composed for nothing costs a little; a frame missed would leave the window stale.
    const bool timersMayHaveDrawn = FireDueTimers(timers, clock, game);
    if (gotEvent || timersMayHaveDrawn) window.ShowChanges();
  }
}

// The full file version, so a crash report names the exact build.
std::string FileVersion() {
  return std::to_string(MIBBETFALL_VERSION_MAJOR) + "." + std::to_string(MIBBETFALL_VERSION_MINOR) + "." +
         std::to_string(MIBBETFALL_VERSION_PATCH) + "." + std::to_string(MIBBETFALL_VERSION_TWEAK);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == kShowCrashReportSwitch) return ShowCrashReport(argv[2]);
  InstallCrashReporter(FileVersion(), CrashReportFolder());
  // Without its folder of pictures, sounds and settings the game would open a window of empty
  // panels that nobody can play: one line naming the folder serves a player better than a
  // line for each of its files.
  const std::string assetDir = AssetDirBesideExecutable();
  if (!std::filesystem::is_directory(assetDir)) {
    std::cerr << "mibbetfall: the game's Assets folder " << assetDir << " is missing; reinstall the game\n";
    return 1;
  }
  if (const std::optional<std::string> why = WithoutDisplay()) {
    std::cerr << "mibbetfall: " << *why << "\n";
    SDL_Quit();
    return 1;
  }
  {
    SystemClock clock;
    Scheduler timers(clock);
    SdlAudio audio;
    SdlSoundDevice sound(audio);
    SdlMusicDevice music(audio);
    CurlHttpClient curl;
    BackgroundHttpClient http(curl);
    TtfFontRasterizer fonts;
    SdlBannerWindow banner;
    SDL_Window* sdlWindow = SDL_CreateWindow(ApplicationTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                             WindowWidth, WindowHeight, SDL_WINDOW_HIDDEN);
    if (!sdlWindow) {
      std::cerr << "mibbetfall: cannot open the game window: " << SDL_GetError() << "\n";
      SDL_Quit();
      return 1;
    }
    {
      TForm1 game(Platform{timers, sound, music, http, fonts, banner}, assetDir);
      game.FormCreate();
      GameWindow window(sdlWindow, game);
      if (!window.Ready()) {
        std::cerr << "mibbetfall: cannot draw in the game window: " << SDL_GetError() << "\n";
        return 1;
      }
      if (game.DEBUG != 0) SetCrashDebugLog(&game.DebugLog);
      SDL_ShowWindow(sdlWindow);
      SetCrashWindowOpen(true);
      SDL_StartTextInput();
      RunEventLoop(window, timers, clock, game);
      game.FormDestroy();
      SetCrashWindowOpen(false);
      SetCrashDebugLog(nullptr);
    }
    SDL_DestroyWindow(sdlWindow);
  }
  SDL_Quit();
  return 0;
}
