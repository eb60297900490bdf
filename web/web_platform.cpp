#include "web/web_platform.h"

#include <emscripten.h>

#include "platform/settings_file.h"

// clang-format off
EM_JS(void, JsPlaySound, (const char* path, int onlyIfIdle), { Mibbetfall.playSound(UTF8ToString(path), onlyIfIdle); });
EM_JS(void, JsStopSound, (), { Mibbetfall.stopSound(); });
EM_JS(int, JsMusicOpen, (int track, const char* path), { return Mibbetfall.music.open(track, UTF8ToString(path)); });
EM_JS(int, JsMusicRun, (int track), { return Mibbetfall.music.run(track); });
EM_JS(void, JsMusicPause, (int track), { Mibbetfall.music.pause(track); });
EM_JS(void, JsMusicHalt, (int track), { Mibbetfall.music.halt(track); });
EM_JS(void, JsMusicSeekToStart, (int track), { Mibbetfall.music.seekToStart(track); });
EM_JS(int, JsMusicDurationMs, (int track), { return Mibbetfall.music.durationMs(track); });
EM_JS(int, JsMusicPositionMs, (int track), { return Mibbetfall.music.positionMs(track); });
EM_JS(void, JsMusicForget, (int track), { Mibbetfall.music.forget(track); });
EM_JS(void, JsHttpGet, (const char* url), { Mibbetfall.post(UTF8ToString(url)); });
EM_JS(int, JsRenderText, (const char* text, int pixelHeight, int bold, int* size),
      { return Mibbetfall.renderText(UTF8ToString(text), pixelHeight, bold, size); });
EM_JS(int, JsSettingsValueCount, (), { return Mibbetfall.settings.length; });
EM_JS(char*, JsSettingsEntry, (int index, int part), {
  const text = Mibbetfall.settings[index][part];
  const size = lengthBytesUTF8(text) + 1;
  const at = _malloc(size);
  stringToUTF8(text, at, size);
  return at;
});
// clang-format on

void WebSoundDevice::Play(const std::string& path, bool onlyIfIdle) { JsPlaySound(path.c_str(), onlyIfIdle); }

void WebSoundDevice::Stop() { JsStopSound(); }

namespace {

class WebMusicTrack : public MusicTrack {
 public:
  WebMusicTrack() : id_(nextId_++) {}
  ~WebMusicTrack() override { JsMusicForget(id_); }
  bool Open(const std::string& path) override { return JsMusicOpen(id_, path.c_str()) != 0; }
  void Run() override {
    if (JsMusicRun(id_) != 0) ReportStarted();
  }
  void Pause() override { JsMusicPause(id_); }
  void Halt() override { JsMusicHalt(id_); }
  void SeekToStart() override { JsMusicSeekToStart(id_); }
  std::optional<int> DurationMs() const override {
    const int ms = JsMusicDurationMs(id_);
    return ms > 0 ? std::optional<int>(ms) : std::nullopt;
  }
  int PositionMs() const override { return JsMusicPositionMs(id_); }

 private:
  static inline int nextId_ = 1;
  const int id_;
};

}  // namespace

std::unique_ptr<MusicTrack> WebMusicDevice::CreateTrack() { return std::make_unique<WebMusicTrack>(); }

std::string WebHttpClient::Get(const std::string& url) {
  JsHttpGet(url.c_str());
  return "";
}

Bitmap32 WebFontRasterizer::Render(const std::string& text, int pixelHeight, bool bold, Pixel colour) {
  int size[2] = {0, 0};
  auto* rgba = reinterpret_cast<unsigned char*>(JsRenderText(text.c_str(), pixelHeight, bold, size));
  if (!rgba) return {};
  // The canvas gives coverage in its alpha; the colour is the game's.
  Bitmap32 picture(size[0], size[1]);
  for (int y = 0; y < size[1]; ++y)
    for (int x = 0; x < size[0]; ++x) {
      const int alpha = rgba[(std::size_t(y) * size[0] + x) * 4 + 3];
      picture.Set(x, y, MakePixel(PixelRed(colour), PixelGreen(colour), PixelBlue(colour), alpha));
    }
  std::free(rgba);
  return picture;
}

// The page read settings.ini with its INI reader and keeps the [Settings] section's pairs.
SettingsValues ReadSettingsValues(const std::string&) {
  SettingsValues values;
  for (int i = 0, count = JsSettingsValueCount(); i < count; ++i) {
    char* key = JsSettingsEntry(i, 0);
    char* value = JsSettingsEntry(i, 1);
    values[key] = value;
    std::free(key);
    std::free(value);
  }
  return values;
}
