#include <cmath>

#include "tools/assetgen/audio.h"

namespace assetgen {

std::vector<TrackSpec> MusicTracks() {
  std::vector<TrackSpec> tracks;
  const int leads[5] = {200, 180, 180, 150, 200};
  for (int i = 0; i < 5; ++i) {
    TrackSpec t{"mmusic" + std::to_string(i), leads[i], 32000, i != 4, nullptr};
    t.compose = [t] {
      Samples s(std::size_t(t.loopMs + t.leadMs) * kMusicRate / 1000);
      for (std::size_t k = 0; k < s.size(); ++k) s[k] = float(0.2 * std::sin(2 * M_PI * 220.0 * k / kMusicRate));
      return s;
    };
    tracks.push_back(t);
  }
  return tracks;
}

}  // namespace assetgen
