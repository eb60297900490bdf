// Sound cues: the sound switch, the per-channel throttle and the one effect voice.
#include "app/main_window.h"
#include "platform/files.h"

namespace {
constexpr int kThrottleMs = 500;
constexpr int kThrottledChannels = 3;
}  // namespace

void TForm1::PlaySfx(const std::string& name, int channel) {
  if (!SoundOn) return;
  if (channel > 0 && channel < int(SoundNextTime.size())) {
    const std::int64_t now = Ports.Timers.GetClock().NowMs();
    if (now < SoundNextTime[std::size_t(channel)]) {
      Ports.Sound.HeldBack(AssetDir + name + ".wav");
      return;
    }
    if (channel <= kThrottledChannels) SoundNextTime[std::size_t(channel)] = now + kThrottleMs;
  }
  // A cue interrupts the playing one 49 times in 100 and yields to it otherwise.
  const bool onlyIfIdle = Rng.RandomRange(0, 100) <= 50;
  const std::string path = AssetDir + name + ".wav";
  if (!FileExists(path)) return;
  Ports.Sound.Play(path, onlyIfIdle);
}

void TForm1::ResetSoundThrottle() { SoundNextTime.fill(0); }
