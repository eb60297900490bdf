// The real adapters of the game: the window's clock, SDL2_mixer sound and music, the window host.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "platform/clock.h"
#include "platform/host_window.h"
#include "platform/music_device.h"
#include "platform/sound_device.h"

struct SDL_Window;
struct Mix_Chunk;

// The game's own time in the window. It follows the real clock, but only as the host moves it
// on: to each timer's due moment as the timer fires, and to the moment of each input. So a
// timer armed in a handler counts from its due moment, not from whenever the handler ran, and
// the game meets its inputs and timers in the order a replay of them will. The seed and the
// date are the run's own, fixed when it starts (or taken from a recording).
class WindowClock : public Clock {
 public:
  WindowClock();
  std::int64_t NowMs() const override { return now_; }
  CalendarDate Today() const override { return today_; }
  std::uint32_t RandomSeed() const override { return seed_; }

  // Milliseconds of real time since the clock was made.
  std::int64_t RealMs() const;
  // Moves the game's time on; it never goes back.
  void AdvanceTo(std::int64_t ms);
  // Lets real time pass that the game's time never sees.
  void SkipRealTime(std::int64_t ms) { startTicks_ += std::uint64_t(std::max<std::int64_t>(ms, 0)); }
  void SetToday(CalendarDate date) { today_ = date; }
  void SetSeed(std::uint32_t seed) { seed_ = seed; }

 private:
  std::uint64_t startTicks_;
  std::int64_t now_ = 0;
  CalendarDate today_;
  std::uint32_t seed_;
};

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
