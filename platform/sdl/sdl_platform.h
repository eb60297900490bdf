// The real adapters of the game: today's date, SDL2_mixer sound and music, the window host.
#pragma once

#include <map>
#include <string>

#include "platform/clock.h"
#include "platform/host_window.h"
#include "platform/music_device.h"
#include "platform/sound_device.h"

struct SDL_Window;
struct Mix_Chunk;

// Today's date where the player is.
CalendarDate LocalToday();

// Opens the audio device; without one every sound and track stays silent.
class SdlAudio {
 public:
  SdlAudio();
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;
  bool Available() const { return available_; }

 private:
  bool available_ = false;
};

class SdlSoundDevice : public SoundDevice {
 public:
  explicit SdlSoundDevice(const SdlAudio& audio) : audio_(audio) {}
  ~SdlSoundDevice() override;
  void Play(const std::string& path, bool onlyIfIdle) override;
  void Stop() override;

 private:
  const SdlAudio& audio_;
  std::map<std::string, Mix_Chunk*> chunks_;
};

class SdlMusicDevice : public MusicDevice {
 public:
  explicit SdlMusicDevice(const SdlAudio& audio) : audio_(audio) {}
  std::unique_ptr<MusicTrack> CreateTrack() override;
  // The track whose music owns SDL_mixer's one music stream, if any.
  const MusicTrack* Owner = nullptr;
  const SdlAudio& Audio() const { return audio_; }

 private:
  const SdlAudio& audio_;
};

// The loading banner as a small borderless window of its own.
class SdlBannerWindow : public HostWindow {
 public:
  ~SdlBannerWindow() override { HideLoadingBanner(); }
  void ShowLoadingBanner(const Bitmap32& banner) override;
  void HideLoadingBanner() override;

 private:
  SDL_Window* window_ = nullptr;
};
