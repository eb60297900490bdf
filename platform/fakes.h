// The fakes the simulator, the tests and the benchmarks run the game with.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/clock.h"
#include "platform/font_rasterizer.h"
#include "platform/host_window.h"
#include "platform/http_client.h"
#include "platform/music_device.h"
#include "platform/sound_device.h"
#include "platform/virtual_clock.h"

struct SoundRequest {
  std::string Name;
  bool Played = false;  // false: its channel's throttle held it back
  bool operator==(const SoundRequest&) const = default;
};

// Keeps the name of every cue that reached the effect voice ("menuopen" for menuopen.wav), and
// in Log every cue asked for, in order, whether it reached the voice or its throttle held it back.
// A held-back cue whose file is missing would not have sounded anyway, so it is not logged.
class RecordingSoundDevice : public SoundDevice {
 public:
  void Play(const std::string& path, bool onlyIfIdle) override;
  void Stop() override {}
  void HeldBack(const std::string& path) override;
  std::vector<std::string> Requested;
  std::vector<SoundRequest> Log;

 private:
  // Throttled cues come many times a tick in a battle; their files are looked up once each.
  // The cue name of each path held back so far, empty when its file is missing: a battle holds
  // the same few cues back thousands of times.
  std::unordered_map<std::string, std::string> heldBackNames_;
};

// Tracks that record what they were asked to do.
class RecordingMusicDevice : public MusicDevice {
 public:
  std::unique_ptr<MusicTrack> CreateTrack() override;
  std::vector<std::string> Events;
  // The length every track reports from now on; none by default, so that no loop timer runs.
  std::optional<int> TrackDurationMs;
};

class RecordingHttpClient : public HttpClient {
 public:
  std::string Get(const std::string& url) override {
    Urls.push_back(url);
    return {};
  }
  std::vector<std::string> Urls;
};

class NullFontRasterizer : public FontRasterizer {
 public:
  Bitmap32 Render(const std::string&, int, bool, Pixel) override { return {}; }
};

class NullHostWindow : public HostWindow {
 public:
  void ShowLoadingBanner(const Bitmap32&) override {}
  void HideLoadingBanner() override {}
};
