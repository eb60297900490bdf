#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <ctime>
#include <iostream>

#include "platform/files.h"

CalendarDate LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!localtime_r(&now, &local)) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

namespace {
// The rate the music tracks are made at: a device at their rate plays them without resampling
// every buffer, which cost more than decoding them. The sound cues are converted once, when loaded.
constexpr int kDeviceRate = 32000;
constexpr int kDeviceChannels = 2;
constexpr int kBufferFrames = 1024;

// A sound or music file opened for SDL_mixer, or null with one line saying why. SDL_mixer would
// open the name itself with fopen, which waits for ever on a FIFO in place of a track; the file
// is opened without waiting, and what SDL_mixer reads is what was found to be a regular file.
SDL_RWops* OpenAudioFile(const std::string& path) {
  FileOpening opening = OpenFileForReading(path);
  SDL_RWops* source = opening.File ? SDL_RWFromFP(opening.File.get(), SDL_TRUE) : nullptr;
  if (source) {
    opening.File.release();
    return source;
  }
  std::cerr << "mibbetfall: cannot play " << path << ": " << (opening.File ? SDL_GetError() : opening.Why) << "\n";
  return nullptr;
}

Mix_MusicType MusicTypeOfName(const std::string& path) {
  return path.ends_with(".mp3") || path.ends_with(".MP3") ? MUS_MP3 : MUS_NONE;
}

Mix_Chunk* LoadChunk(const std::string& path) {
  SDL_RWops* source = OpenAudioFile(path);
  if (!source) return nullptr;
  Mix_Chunk* chunk = Mix_LoadWAV_RW(source, SDL_TRUE);
  if (!chunk) std::cerr << "mibbetfall: cannot play " << path << ": " << Mix_GetError() << "\n";
  return chunk;
}

}  // namespace

SdlAudio::SdlAudio() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
      Mix_OpenAudio(kDeviceRate, MIX_DEFAULT_FORMAT, kDeviceChannels, kBufferFrames) != 0) {
    std::cerr << "mibbetfall: no sound device, playing silently: " << SDL_GetError() << "\n";
    return;
  }
  Mix_Init(MIX_INIT_MP3);
  Mix_AllocateChannels(1);
  available_ = true;
}

SdlAudio::~SdlAudio() {
  if (!available_) return;
  Mix_HaltMusic();
  Mix_CloseAudio();
  Mix_Quit();
}

SdlSoundDevice::~SdlSoundDevice() {
  if (audio_.Available()) Mix_HaltChannel(0);
  for (auto& [path, chunk] : chunks_)
    if (chunk) Mix_FreeChunk(chunk);
}

void SdlSoundDevice::Play(const std::string& path, bool onlyIfIdle) {
  if (!audio_.Available()) return;
  if (onlyIfIdle && Mix_Playing(0)) return;
  auto found = chunks_.find(path);
  // A cue that cannot be played is tried and reported once; its null stays in the list.
  if (found == chunks_.end()) found = chunks_.emplace(path, LoadChunk(path)).first;
  if (!found->second) return;
  Mix_HaltChannel(0);
  Mix_PlayChannel(0, found->second, 0);
}

void SdlSoundDevice::Stop() {
  if (audio_.Available()) Mix_HaltChannel(0);
}

namespace {

class SdlMusicTrack : public MusicTrack {
 public:
  explicit SdlMusicTrack(SdlMusicDevice& device) : device_(device) {}
  ~SdlMusicTrack() override {
    if (Owns()) {
      Mix_HaltMusic();
      device_.Owner = nullptr;
    }
    if (music_) Mix_FreeMusic(music_);
  }

  bool Open(const std::string& path) override {
    if (!device_.Audio().Available()) return false;
    SDL_RWops* source = OpenAudioFile(path);
    if (!source) return false;
    // The track streams from the file while it plays; SDL_mixer closes it with the music, or at
    // once when it cannot decode it. The type is guessed from the name first, as Mix_LoadMUS does.
    music_ = Mix_LoadMUSType_RW(source, MusicTypeOfName(path), SDL_TRUE);
    if (!music_) std::cerr << "mibbetfall: cannot play " << path << ": " << Mix_GetError() << "\n";
    return music_ != nullptr;
  }
  void Run() override {
    if (!music_) return;
    if (Owns() && Mix_PlayingMusic()) {
      Mix_ResumeMusic();
      return;
    }
    if (Mix_PlayMusic(music_, 0) != 0) return;
    device_.Owner = this;
    ReportStarted();
  }
  void Pause() override {
    if (Owns()) Mix_PauseMusic();
  }
  void Halt() override {
    if (!Owns()) return;
    Mix_HaltMusic();
    device_.Owner = nullptr;
  }
  void SeekToStart() override {
    if (Owns() && Mix_PlayingMusic()) Mix_SetMusicPosition(0.0);
  }
  std::optional<int> DurationMs() const override {
    if (!music_) return std::nullopt;
    const double seconds = Mix_MusicDuration(music_);
    if (seconds <= 0) return std::nullopt;
    return int(seconds * 1000.0);
  }
  int PositionMs() const override {
    if (!Owns()) return 0;
    const double seconds = Mix_GetMusicPosition(music_);
    return seconds > 0 ? int(seconds * 1000.0) : 0;
  }

 private:
  bool Owns() const { return device_.Owner == this; }
  SdlMusicDevice& device_;
  Mix_Music* music_ = nullptr;
};

}  // namespace

std::unique_ptr<MusicTrack> SdlMusicDevice::CreateTrack() { return std::make_unique<SdlMusicTrack>(*this); }

void SdlBannerWindow::ShowLoadingBanner(const Bitmap32& banner) {
  if (banner.Empty()) return;
  window_ = SDL_CreateWindow("Loading Mibbetfall", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, banner.Width(),
                             banner.Height(), SDL_WINDOW_BORDERLESS);
  if (!window_) return;
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  SDL_Surface* picture =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Pixel*>(banner.Pixels().data()), banner.Width(), banner.Height(),
                                         32, banner.Width() * 4, SDL_PIXELFORMAT_ARGB8888);
  if (surface && picture) {
    SDL_BlitSurface(picture, nullptr, surface, nullptr);
    SDL_UpdateWindowSurface(window_);
  }
  SDL_FreeSurface(picture);
  SDL_PumpEvents();
}

void SdlBannerWindow::HideLoadingBanner() {
  if (!window_) return;
  SDL_DestroyWindow(window_);
  window_ = nullptr;
}
