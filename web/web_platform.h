// The browser's adapters of the game's ports: WebAudio for the effect voice and the music, fetch
// for the post, a canvas for system text. Each calls the page's script (site/mibbetfall.js), which
// decoded every sound before the game began, so a track's length is known when the game asks.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/font_rasterizer.h"
#include "platform/http_client.h"
#include "platform/music_device.h"
#include "platform/sound_device.h"

class WebSoundDevice : public SoundDevice {
 public:
  void Play(const std::string& path, bool onlyIfIdle) override;
  void Stop() override;
};

class WebMusicDevice : public MusicDevice {
 public:
  std::unique_ptr<MusicTrack> CreateTrack() override;
};

// Sends the request and returns at once: the game throws the answer away, and the browser must
// never wait on the network. The post goes to the page's own server, which serves the scores.
class WebHttpClient : public HttpClient {
 public:
  std::string Get(const std::string& url) override;
};

class WebFontRasterizer : public FontRasterizer {
 public:
  Bitmap32 Render(const std::string& text, int pixelHeight, bool bold, Pixel colour) override;
};
