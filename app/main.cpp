// The game a player runs: one SDL window showing the frames the core composes.
// mibbetfall [--record FILE | --replay FILE]
//
// Idle means idle: the loop sleeps in SDL_WaitEventTimeout until the next input or the next
// due timer, composes a frame only when that wake may have changed what is drawn, and sends to
// the display only the rows of a frame that differ from those shown.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <utility>
#include <vector>

#include "app/game_driver.h"
#include "app/main_window.h"
#include "platform/crash/crash_report.h"
#include "platform/curl/background_http_client.h"
#include "platform/curl/curl_http_client.h"
#include "platform/files.h"
#include "platform/scheduler.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/ttf_font_rasterizer.h"
#include "replay/replay_file.h"
#include "sim/script.h"
#include "sim/simulator.h"

namespace {

std::string AssetDirOfThisExecutable() {
  char* base = SDL_GetBasePath();
  std::string dir = base ? base : "./";
  SDL_free(base);
  return AssetDirOfExecutableIn(dir);
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

// What the game takes from a window event, as the simulator's script would hand it over.
std::vector<InputEvent> InputsOf(const SDL_Event& e) {
  using Kind = InputEvent::Kind;
  std::vector<InputEvent> inputs;
  switch (e.type) {
    case SDL_MOUSEMOTION:
      inputs.push_back({Kind::Move, e.motion.x, e.motion.y});
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      inputs.push_back({e.type == SDL_MOUSEBUTTONDOWN ? Kind::Down : Kind::Up, e.button.x, e.button.y,
                        ToButton(e.button.button)});
      break;
    case SDL_TEXTINPUT:
      for (const char* c = e.text.text; *c; ++c)
        if (*c > 0 && *c < 127) inputs.push_back({.Type = Kind::KeyDown, .Key = *c});
      break;
    case SDL_KEYDOWN:
      if (e.key.keysym.sym == SDLK_ESCAPE) inputs.push_back({.Type = Kind::KeyDown, .Key = 27});
      if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER)
        inputs.push_back({.Type = Kind::KeyDown, .Key = 13});
      if (e.key.keysym.sym == SDLK_BACKSPACE) inputs.push_back({.Type = Kind::KeyDown, .Key = 8});
      break;
    case SDL_KEYUP:
      if (e.key.keysym.sym == SDLK_BACKSPACE) inputs.push_back({.Type = Kind::KeyUp, .Key = 8});
      break;
    default:
      break;
  }
  return inputs;
}

// Shows the composed frames in the window's own surface, pushing to the display only the band
// of rows that changed: the cheapest way to the screen when little moves.
class GameWindow {
 public:
  GameWindow(SDL_Window* window, TForm1& game) : window_(window), game_(game) {}
  bool Ready() { return SDL_GetWindowSurface(window_) != nullptr; }

  // True when the window must be drawn again whole.
  bool Exposed(const SDL_Event& e) {
    if (e.type != SDL_WINDOWEVENT ||
        (e.window.event != SDL_WINDOWEVENT_EXPOSED && e.window.event != SDL_WINDOWEVENT_SIZE_CHANGED))
      return false;
    shown_ = Bitmap32();
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

// The window's run of the game: the timers and the inputs, the player's or a recording's, handed
// to the game in the order of the game's clock, exactly as the simulator does with a script. So a
// recording of the run replays it, timer for timer.
class WindowSession {
 public:
  WindowSession(GameWindow& window, GameDriver& driver) : window_(window), driver_(driver) {}

  // Records the player's inputs as script lines.
  void RecordTo(ReplayRecorder* recorder) { recorder_ = recorder; }
  // Plays a recording instead of the player's inputs; the player can only stop it with Esc.
  void Replay(TimedScript* script) {
    replay_ = script;
    nextReplayed_ = replay_->Next();
  }

  // Runs until the window is closed or a replay ends; false when a replay could not be read.
  bool Run() {
    window_.ShowChanges();
    for (;;) {
      SDL_Event event;
      const bool gotEvent = WaitForEvent(event);
      const std::int64_t now = driver_.GameTimeAt(RealMs(), NextWake());
      bool mayHaveDrawn = PlayRecordingUntil(now);
      if (replayOver_) return replay_->Error().empty();
      // Any input may change what is drawn, and so may any timer but a music loop point. A frame
      // composed for nothing costs a little; a frame missed would leave the window stale.
      mayHaveDrawn |= driver_.RunUntil(now);
      for (bool more = gotEvent; more; more = SDL_PollEvent(&event)) {
        if (!Handle(event)) return true;
        mayHaveDrawn = true;
      }
      KeepRecordingOnDisk(now);
      if (mayHaveDrawn) window_.ShowChanges();
    }
  }

 private:
  // Real milliseconds since the session began.
  std::int64_t RealMs() const { return std::int64_t(SDL_GetTicks64() - startTicks_); }

  // The next moment something is due: a timer, or the recording's next input.
  std::optional<std::int64_t> NextWake() const {
    std::optional<std::int64_t> wake = driver_.NextDue();
    if (nextReplayed_ && (!wake || nextReplayed_->AtMs < *wake)) wake = nextReplayed_->AtMs;
    return wake;
  }

  bool WaitForEvent(SDL_Event& event) {
    const std::optional<std::int64_t> wake = NextWake();
    if (!wake) return SDL_WaitEvent(&event);
    const std::int64_t delay = driver_.RealMsUntil(*wake, RealMs());
    return SDL_WaitEventTimeout(&event, int(std::clamp<std::int64_t>(delay, 0, 1 << 30)));
  }

  // Hands over the recording's inputs due by then, each after the timers due before it.
  bool PlayRecordingUntil(std::int64_t ms) {
    bool played = false;
    while (nextReplayed_ && nextReplayed_->AtMs <= ms) {
      played |= driver_.RunUntil(nextReplayed_->AtMs);
      for (const InputEvent& input : nextReplayed_->Inputs) driver_.Apply(input);
      played = true;
      replayOver_ = nextReplayed_->End;
      nextReplayed_ = replayOver_ ? std::nullopt : replay_->Next();
    }
    if (replay_ && !replayOver_ && !nextReplayed_) {
      std::cerr << "mibbetfall: the recording stops early: " << replay_->Error() << "\n";
      replayOver_ = true;
    }
    return played;
  }

  // Returns false when the window was closed, or a replay stopped.
  bool Handle(const SDL_Event& e) {
    if (e.type == SDL_QUIT) return false;
    if (window_.Exposed(e)) return true;
    if (replay_) return !(e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE);
    for (const InputEvent& input : InputsOf(e)) {
      if (recorder_) recorder_->Input(driver_.NowMs(), ScriptLineOf(input));
      driver_.Apply(input);
    }
    return true;
  }

  // A few seconds of play at most are lost with a crash, for one write every few seconds.
  void KeepRecordingOnDisk(std::int64_t now) {
    constexpr std::int64_t kFlushEveryMs = 5000;
    if (!recorder_ || now - lastFlushMs_ < kFlushEveryMs) return;
    recorder_->Flush();
    lastFlushMs_ = now;
  }

  GameWindow& window_;
  GameDriver& driver_;
  const std::uint64_t startTicks_ = SDL_GetTicks64();
  ReplayRecorder* recorder_ = nullptr;
  TimedScript* replay_ = nullptr;
  std::optional<TimedInputs> nextReplayed_;
  bool replayOver_ = false;
  std::int64_t lastFlushMs_ = 0;
};

struct HostOptions {
  std::string RecordPath;  // --record FILE
  std::string ReplayPath;  // --replay FILE
};

constexpr char kUsage[] = "usage: mibbetfall [--record FILE | --replay FILE]";

std::optional<HostOptions> ReadArguments(int argc, char** argv) {
  HostOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc && argv[i + 1][0] != '\0';
    if (arg == "--record" && hasValue) options.RecordPath = argv[++i];
    else if (arg == "--replay" && hasValue) options.ReplayPath = argv[++i];
    else {
      std::cerr << "mibbetfall: unknown argument " << arg << "\n" << kUsage << "\n";
      return std::nullopt;
    }
  }
  if (!options.RecordPath.empty() && !options.ReplayPath.empty()) {
    std::cerr << "mibbetfall: a replay is not recorded again\n" << kUsage << "\n";
    return std::nullopt;
  }
  return options;
}

// Where the game is recorded: the file asked for, or the newest of the recent games kept in the
// player's state folder; empty when nothing can be written there.
std::string RecordingPath(const HostOptions& options) {
  if (!options.RecordPath.empty()) return options.RecordPath;
  const std::string folder = CrashReportFolder() + "recordings/";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return "";
  return NextRecentRecording(folder, std::time(nullptr));
}

// A recording with its state at the end: the simulator replaying the file must end in it.
void WriteFinalState(const std::string& recordingPath, const TForm1& game, std::int64_t nowMs) {
  const std::string path = recordingPath + ".state.json";
  if (!WriteFileAtomically(path, DumpGameState(game, nowMs, {}) + "\n"))
    std::cerr << "mibbetfall: cannot write " << path << "\n";
}

// A recording to replay, opened before anything else so that one that cannot be replayed is
// refused before a window opens.
struct OpenedReplay {
  std::ifstream File;
  std::optional<ReplayHeader> Header;
};

// The game in its window, from creation to closing; the exit status.
int PlayInWindow(SDL_Window* sdlWindow, const HostOptions& options, const std::string& assetDir,
                 OpenedReplay& replay) {
  VirtualClock clock;
  clock.SetToday(LocalToday());
  clock.SetSeed(std::uint32_t(std::chrono::system_clock::now().time_since_epoch().count()));
  Scheduler timers(clock);
  SdlAudio audio;
  SdlSoundDevice sound(audio);
  SdlMusicDevice music(audio);
  CurlHttpClient curl;
  BackgroundHttpClient http(curl);
  TtfFontRasterizer fonts;
  SdlBannerWindow banner;
  const std::optional<ReplayHeader>& replayed = replay.Header;
  if (replayed) {
    clock.SetSeed(replayed->Seed);
    clock.SetToday(replayed->Start);
  }
  TForm1 game(Platform{timers, sound, music, http, fonts, banner}, assetDir);
  if (replayed) {
    game.HighScoresInMemoryOnly = true;
    game.HighScoreLines = replayed->HighScores;
  }
  game.FormCreate();
  GameWindow window(sdlWindow, game);
  if (!window.Ready()) {
    std::cerr << "mibbetfall: cannot draw in the game window: " << SDL_GetError() << "\n";
    return 1;
  }
  GameDriver driver(game, timers, clock);
  WindowSession session(window, driver);
  TimedScript script(replay.File);
  std::optional<ReplayRecorder> recorder;
  if (replayed) {
    session.Replay(&script);
  } else if (const std::string path = RecordingPath(options); !path.empty()) {
    // The recent games kept for the player stay small: hours of play take a few megabytes.
    constexpr std::int64_t kRecentGameBytes = 16 << 20, kAskedForBytes = 64 << 20;
    recorder.emplace(path, ReplayHeader{GameFileVersion(), clock.RandomSeed(), clock.Today(), game.HighScoreLines},
                     clock.NowMs(), options.RecordPath.empty() ? kRecentGameBytes : kAskedForBytes);
    if (!recorder->Open() && !options.RecordPath.empty()) {
      std::cerr << "mibbetfall: cannot write the recording " << path << "\n";
      return 1;
    }
    session.RecordTo(&*recorder);
    SetCrashRecording(path);
  }
  if (game.DEBUG != 0) SetCrashDebugLog(&game.DebugLog);
  SDL_ShowWindow(sdlWindow);
  SetCrashWindowOpen(true);
  SDL_StartTextInput();
  const bool replayWhole = session.Run();
  if (recorder) recorder->Close(clock.NowMs());
  if (!options.RecordPath.empty()) WriteFinalState(options.RecordPath, game, clock.NowMs());
  if (replayed) std::cout << DumpGameState(game, clock.NowMs(), {}) << "\n";
  game.FormDestroy();
  SetCrashWindowOpen(false);
  SetCrashDebugLog(nullptr);
  return replayWhole ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == kShowCrashReportSwitch) return ShowCrashReport(argv[2]);
  const std::optional<HostOptions> options = ReadArguments(argc, argv);
  if (!options) return 2;
  InstallCrashReporter(GameFileVersion(), CrashReportFolder());
  OpenedReplay replay;
  if (!options->ReplayPath.empty()) {
    std::string why;
    replay.Header = OpenReplay(options->ReplayPath, replay.File, why);
    if (!replay.Header) {
      std::cerr << "mibbetfall: " << why << "\n";
      return 1;
    }
  }
  // Without its folder of pictures, sounds and settings the game would open a window of empty
  // panels that nobody can play: one line naming the folder serves a player better than a
  // line for each of its files.
  const std::string assetDir = AssetDirOfThisExecutable();
  if (!std::filesystem::is_directory(assetDir)) {
    std::cerr << "mibbetfall: the game's Assets folder " << assetDir << " is missing; reinstall the game\n";
    return 1;
  }
  if (const std::optional<std::string> why = WithoutDisplay()) {
    std::cerr << "mibbetfall: " << *why << "\n";
    SDL_Quit();
    return 1;
  }
  SDL_Window* sdlWindow = SDL_CreateWindow(ApplicationTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                           WindowWidth, WindowHeight, SDL_WINDOW_HIDDEN);
  if (!sdlWindow) {
    std::cerr << "mibbetfall: cannot open the game window: " << SDL_GetError() << "\n";
    SDL_Quit();
    return 1;
  }
  const int status = PlayInWindow(sdlWindow, *options, assetDir, replay);
  SDL_DestroyWindow(sdlWindow);
  SDL_Quit();
  return status;
}
