#include <cmath>

#include "tools/assetgen/audio.h"

namespace assetgen {

namespace {
Samples Tone(double freq, double seconds) {
  Samples s(std::size_t(seconds * kSfxRate));
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = float(0.5 * std::sin(2 * M_PI * freq * i / kSfxRate));
  return s;
}
}  // namespace

std::vector<SoundSpec> SoundCues() {
  std::vector<SoundSpec> cues;
  const char* names[] = {"menuopen", "menuselect", "nocando", "nomoney", "beamshot1", "turret",
                         "hatewarning", "tunnelwarn", "holewarn", "hooray"};
  int n = 0;
  for (const char* name : names) cues.push_back({name, [n] { return Tone(300 + 40 * n, 0.2); }}), ++n;
  for (int i = 1; i <= 14; ++i) cues.push_back({"explosion" + std::to_string(i), [i] { return Tone(60 + 5 * i, 0.5); }});
  return cues;
}

}  // namespace assetgen
