// The game a player runs: one SDL window showing the frames the core composes.
// mibbetfall [--scale N] [--fullscreen] [--record FILE | --replay FILE]
//
// Idle means idle: the loop sleeps in SDL_WaitEventTimeout until the next input or the next
// due timer, composes a frame only when that wake may have changed what is drawn, and sends to
// the display only the rows of a frame that differ from those shown.
#include <SDL.h>

#include <algorithm>
#include <charconv>
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
#include "platform/private_files.h"
#include "platform/scheduler.h"
#include "platform/sdl/game_window.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/ttf_font_rasterizer.h"
#include "replay/replay_file.h"
#include "sim/recording.h"
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
    ShowFrame();
    for (;;) {
      SDL_Event event;
      const bool gotEvent = WaitForEvent(event);
      const std::int64_t now = driver_.GameTimeAt(RealMs(), NextWake());
      frameOwed_ |= PlayRecordingUntil(now);
      if (replayOver_) return replay_->Error().empty();
      // Any input may change what is drawn, and so may any timer but a music loop point. A frame
      // composed for nothing costs a little; a frame missed would leave the window stale.
      frameOwed_ |= driver_.RunUntil(now);
      for (bool more = gotEvent; more; more = SDL_PollEvent(&event))
        if (!Handle(event)) return true;
      KeepRecordingOnDisk(now);
      if (frameOwed_ && RealMs() >= NextFrameAt()) ShowFrame();
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

  // A mouse reports its moves up to a thousand times a second, and every move may change the
  // frame; a screen shows some sixty. So frames are composed at most once a display refresh, and
  // one owed waits for the next.
  static constexpr std::int64_t kFrameMs = 16;
  std::int64_t NextFrameAt() const { return lastFrameMs_ + kFrameMs; }
  void ShowFrame() {
    lastFrameMs_ = RealMs();
    frameOwed_ = false;
    window_.ShowChanges();
  }

  bool WaitForEvent(SDL_Event& event) {
    const std::optional<std::int64_t> wake = NextWake();
    std::optional<std::int64_t> delay;
    if (wake) delay = driver_.RealMsUntil(*wake, RealMs());
    if (frameOwed_) delay = std::min(delay.value_or(kFrameMs), NextFrameAt() - RealMs());
    if (!delay) return SDL_WaitEvent(&event);
    return SDL_WaitEventTimeout(&event, int(std::clamp<std::int64_t>(*delay, 0, 1 << 30)));
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

  // Returns false when the window was closed, or a replay stopped. An event that the game does
  // not take (a key that is no character, the pointer leaving) owes no frame.
  bool Handle(const SDL_Event& e) {
    if (e.type == SDL_QUIT) return false;
    if (window_.Exposed(e)) {
      frameOwed_ = true;
      return true;
    }
    if (IsFullscreenKey(e)) {
      if (!e.key.repeat) window_.ToggleFullscreen();
      return true;
    }
    if (replay_) return !(e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE);
    for (const InputEvent& input : window_.InputsOf(e)) {
      if (recorder_) recorder_->Input(driver_.NowMs(), ScriptLineOf(input));
      driver_.Apply(input);
      frameOwed_ = true;
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
  bool frameOwed_ = false;
  std::int64_t lastFrameMs_ = 0;
};

struct HostOptions {
  std::string RecordPath;  // --record FILE
  std::string ReplayPath;  // --replay FILE
  int Scale = 0;  // --scale N; 0: the largest that fits the desktop
  bool Fullscreen = false;  // --fullscreen
};

constexpr char kUsage[] = "usage: mibbetfall [--scale N] [--fullscreen] [--record FILE | --replay FILE]";
// Eight times the frame is wider than any screen made; far beyond, the window alone would take gigabytes.
constexpr int kMaxScale = 8;

// A whole number from 1 to kMaxScale, nothing else.
std::optional<int> ScaleOf(const std::string& text) {
  int scale = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
  if (error != std::errc() || end != text.data() + text.size() || scale < 1 || scale > kMaxScale) return std::nullopt;
  return scale;
}

std::optional<HostOptions> ReadArguments(int argc, char** argv) {
  HostOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc && argv[i + 1][0] != '\0';
    if (arg == "--record" && hasValue) options.RecordPath = argv[++i];
    else if (arg == "--replay" && hasValue) options.ReplayPath = argv[++i];
    else if (arg == "--fullscreen") options.Fullscreen = true;
    else if (arg == "--scale" && hasValue) {
      const std::optional<int> scale = ScaleOf(argv[++i]);
      if (!scale) {
        std::cerr << "mibbetfall: --scale takes a whole number from 1 to " << kMaxScale << ", not " << argv[i] << "\n"
                  << kUsage << "\n";
        return std::nullopt;
      }
      options.Scale = *scale;
    } else {
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
// player's private state folder; empty when there is no private folder for them (without a state
// folder the crash reporter has said so already at start).
std::string RecordingPath(const HostOptions& options) {
  if (!options.RecordPath.empty()) return options.RecordPath;
  std::string why;
  const std::string state = PrivateStateFolder(why);
  if (state.empty()) return "";
  const std::string folder = PrivateFolder(state + "recordings/", why);
  if (folder.empty()) {
    std::cerr << "mibbetfall: recent games are not recorded: " << why << "\n";
    return "";
  }
  return NextRecentRecording(folder, std::time(nullptr));
}

// A recording with its state at the end: the simulator replaying the file must end in it.
void WriteFinalState(const std::string& recordingPath, const TForm1& game, std::int64_t nowMs) {
  const std::string path = recordingPath + ".state.json";
  if (!WriteFileAtomically(path, DumpGameState(game, nowMs, {}) + "\n"))
    std::cerr << "mibbetfall: cannot write " << path << "\n";
}

// The game in its window, from creation to closing; the exit status.
int PlayInWindow(SDL_Window* sdlWindow, int windowedScale, const HostOptions& options, const std::string& assetDir,
                 std::optional<OpenedRecording>& replayed) {
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
  if (replayed) {
    clock.SetSeed(replayed->Header.Seed);
    clock.SetToday(replayed->Header.Start);
  }
  TForm1 game(Platform{timers, sound, music, http, fonts, banner}, assetDir);
  if (replayed) {
    game.Replaying = true;
    game.HighScoreLines = replayed->Header.HighScores;
    game.RecordedSettings = replayed->Settings;
  }
  game.FormCreate();
  GameWindow window(sdlWindow, game, windowedScale);
  if (!window.Ready()) {
    std::cerr << "mibbetfall: cannot draw in the game window: " << SDL_GetError() << "\n";
    return 1;
  }
  GameDriver driver(game, timers, clock);
  WindowSession session(window, driver);
  std::optional<TimedScript> script;
  std::optional<ReplayRecorder> recorder;
  if (replayed) {
    session.Replay(&script.emplace(replayed->File, replayed->BodyLine));
  } else if (const std::string path = RecordingPath(options); !path.empty()) {
    // The recent games kept for the player stay small: hours of play take a few megabytes.
    constexpr std::int64_t kRecentGameBytes = 16 << 20, kAskedForBytes = 64 << 20;
    const bool named = !options.RecordPath.empty();
    recorder.emplace(
        path,
        ReplayHeader{GameFileVersion(), clock.RandomSeed(), clock.Today(), game.HighScoreLines, SettingsLines(game)},
        clock.NowMs(), named ? kAskedForBytes : kRecentGameBytes, named ? RecordingFile::Named : RecordingFile::Fresh);
    if (!recorder->Open()) {
      std::cerr << "mibbetfall: cannot write the recording " << path << ": " << recorder->Error() << "\n";
      if (named) return 1;
      recorder.reset();
    } else {
      session.RecordTo(&*recorder);
      SetCrashRecording(path);
    }
  }
  if (game.DEBUG != 0) SetCrashDebugLog(&game.DebugLog);
  window.Show(options.Scale != 0);
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

// The largest whole scale that fits the usable desktop; the window's frame is not known yet.
int ScaleForDesktop() {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  return std::min(kMaxScale, LargestScale({WindowWidth, WindowHeight}, {usable.w, usable.h}));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == kShowCrashReportSwitch) return ShowCrashReport(argv[2]);
  const std::optional<HostOptions> options = ReadArguments(argc, argv);
  if (!options) return 2;
  InstallCrashReporter(GameFileVersion(), CrashReportFolder());
  // A recording to replay is opened and checked whole before anything else, so that one that
  // cannot be replayed is refused before a window opens.
  std::optional<OpenedRecording> replay;
  if (!options->ReplayPath.empty()) {
    std::string why;
    replay = OpenRecording(options->ReplayPath, why);
    if (!replay) {
      std::cerr << "mibbetfall: " << why << "\n";
      return 1;
    }
  }
  // Without its folder of pictures, sounds and settings the game would open a window of empty
  // panels that nobody can play: one line naming the folder serves a player better than a
  // line for each of its files.
  const std::string assetDir = AssetDirOfThisExecutable();
  if (std::error_code unreachable; !std::filesystem::is_directory(assetDir, unreachable)) {
    std::cerr << "mibbetfall: the game's Assets folder " << assetDir << " is missing; reinstall the game\n";
    return 1;
  }
  if (const std::optional<std::string> why = WithoutDisplay()) {
    std::cerr << "mibbetfall: " << *why << "\n";
    SDL_Quit();
    return 1;
  }
  const int scale = options->Scale != 0 ? options->Scale : ScaleForDesktop();
  SDL_Window* sdlWindow = SDL_CreateWindow(
      ApplicationTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, WindowWidth * scale, WindowHeight * scale,
      SDL_WINDOW_HIDDEN | (options->Fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
  if (!sdlWindow) {
    std::cerr << "mibbetfall: cannot open the game window: " << SDL_GetError() << "\n";
    SDL_Quit();
    return 1;
  }
  const int status = PlayInWindow(sdlWindow, scale, *options, assetDir, replay);
  SDL_DestroyWindow(sdlWindow);
  SDL_Quit();
  return status;
}
