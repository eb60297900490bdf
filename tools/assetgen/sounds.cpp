// The sound cues: short, punchy, all synthesised. Loudness is evened out afterwards by the caller.
#include <cmath>

#include "tools/assetgen/rng.h"
#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {

Samples Silence(double seconds) { return Samples(std::size_t(seconds * kSfxRate), 0.0f); }

// A tone whose pitch glides from f0 to f1, shaped by wave and envelope.
void Glide(Samples& s, double start, double length, double f0, double f1, double amp, double (*wave)(double),
           double attack, double decay) {
  double phase = 0;
  Mix(s, kSfxRate, start, length, [=](double t, std::int64_t) mutable {
    const double f = f0 + (f1 - f0) * (t / length);
    phase += f / kSfxRate;
    return amp * wave(phase) * Envelope(t, attack, decay, length);
  });
}

double SquareWave(double c) { return Square(c, 7); }
double SawWave(double c) { return Saw(c, 10); }

Samples MenuOpen() {
  Samples s = Silence(0.2);
  Glide(s, 0.0, 0.07, 620, 700, 0.5, SquareWave, 0.003, 20);
  Glide(s, 0.07, 0.12, 880, 990, 0.5, SquareWave, 0.003, 18);
  return s;
}

Samples MenuSelect() {
  Samples s = Silence(0.16);
  Glide(s, 0.0, 0.05, 1320, 1320, 0.5, Triangle, 0.002, 30);
  Glide(s, 0.04, 0.12, 1760, 1760, 0.45, Triangle, 0.002, 25);
  return s;
}

Samples NoCanDo() {
  Samples s = Silence(0.36);
  Glide(s, 0.0, 0.14, 233, 220, 0.5, SquareWave, 0.005, 6);
  Glide(s, 0.18, 0.18, 175, 165, 0.5, SquareWave, 0.005, 6);
  LowPass(s, kSfxRate, [](double) { return 1800.0; });
  return s;
}

Samples NoMoney() {
  Samples s = Silence(0.62);
  const double notes[3] = {392, 330, 262};
  for (int i = 0; i < 3; ++i) Glide(s, i * 0.16, i == 2 ? 0.3 : 0.15, notes[i], notes[i] * 0.97, 0.5, SawWave, 0.01, 5);
  LowPass(s, kSfxRate, [](double t) { return 2200.0 - 2500.0 * t; });
  return s;
}

Samples BeamShot() {
  Samples s = Silence(0.2);
  Glide(s, 0.0, 0.19, 2400, 280, 0.6, SquareWave, 0.002, 12);
  return s;
}

Samples TurretShot() {
  Samples s = Silence(0.24);
  Glide(s, 0.0, 0.22, 170, 55, 0.8, Sine, 0.002, 14);
  Mix(s, kSfxRate, 0, 0.08,
      [](double t, std::int64_t n) { return 0.6 * HashNoise(11, n) * Envelope(t, 0.001, 45, 0.08); });
  Glide(s, 0.0, 0.05, 3000, 1500, 0.25, SquareWave, 0.001, 60);
  return s;
}

// Each blast draws its length, rumble, brightness and crackle from its own number, so the
// fourteen differ; 1 and 2 are the short ones heard at every kill.
Samples Explosion(int index) {
  Rng rng(900 + index);
  const double length = index <= 2 ? 0.38 + 0.06 * index : 0.8 + rng.Unit() * 1.0;
  const double thump = 45 + rng.Unit() * 50, bright = 1500 + rng.Unit() * 3500;
  const double decay = 3.2 / length, crackle = rng.Unit();
  Samples s = Silence(length + 0.02);
  Mix(s, kSfxRate, 0, length, [&](double t, std::int64_t n) {
    double v = HashNoise(100 + index, n) * Envelope(t, 0.003, decay, length, 0.05);
    if (crackle > 0.4 && HashNoise(200 + index, n / 300) > 0.75) v *= 2.2;  // popping debris
    return v;
  });
  LowPass(s, kSfxRate, [&](double t) { return bright * std::exp(-t * 2.5 / length) + 120; });
  Glide(s, 0, std::min(length, 0.5), thump * 2, thump, 0.9, Sine, 0.002, 7);
  if (index > 2 && rng.Unit() > 0.5)
    Glide(s, 0.12 + rng.Unit() * 0.2, 0.4, thump * 1.5, thump * 0.8, 0.5, Sine, 0.01, 6);
  return s;
}

Samples HateWarning() {
  Samples s = Silence(0.96);
  for (int i = 0; i < 6; ++i)
    Glide(s, i * 0.16, 0.15, i % 2 ? 660 : 880, i % 2 ? 660 : 880, 0.45, SquareWave, 0.005, 4);
  LowPass(s, kSfxRate, [](double) { return 3000.0; });
  return s;
}

Samples TunnelWarn() {
  Samples s = Silence(1.1);
  Mix(s, kSfxRate, 0, 1.1, [](double t, std::int64_t n) {
    return HashNoise(31, n) * Envelope(t, 0.2, 1.5, 1.1, 0.2) * (0.7 + 0.3 * Sine(t * 9));
  });
  LowPass(s, kSfxRate, [](double) { return 260.0; });
  for (int i = 0; i < 3; ++i) Glide(s, 0.1 + i * 0.3, 0.26, 300 - i * 40, 220 - i * 40, 0.35, Triangle, 0.01, 5);
  return s;
}

Samples HoleWarn() {
  Samples s = Silence(0.7);
  double phase = 0;
  Mix(s, kSfxRate, 0, 0.68, [&](double t, std::int64_t) {
    const double f = 180 + 320 * t / 0.68 + 60 * Sine(t * 14);  // a rising gurgle
    phase += f / kSfxRate;
    return 0.6 * Sine(phase) * Envelope(t, 0.02, 2.5, 0.68);
  });
  return s;
}

Samples Hooray() {
  Samples s = Silence(1.5);
  const double notes[] = {72, 76, 79, 84};
  for (int i = 0; i < 4; ++i) {
    const double len = i == 3 ? 0.8 : 0.14;
    Glide(s, i * 0.13, len, Midi(notes[i]), Midi(notes[i]), 0.35, SquareWave, 0.005, i == 3 ? 2.5 : 8);
    Glide(s, i * 0.13, len, Midi(notes[i] - 12), Midi(notes[i] - 12), 0.3, Triangle, 0.005, i == 3 ? 2.5 : 8);
  }
  Glide(s, 0.39, 0.9, Midi(79), Midi(79), 0.25, Triangle, 0.01, 2.5);
  Glide(s, 0.39, 0.9, Midi(76), Midi(76), 0.25, Triangle, 0.01, 2.5);
  return s;
}

}  // namespace

std::vector<SoundSpec> SoundCues() {
  std::vector<SoundSpec> cues = {
      {"menuopen", MenuOpen},  {"menuselect", MenuSelect}, {"nocando", NoCanDo},         {"nomoney", NoMoney},
      {"beamshot1", BeamShot}, {"turret", TurretShot},     {"hatewarning", HateWarning}, {"tunnelwarn", TunnelWarn},
      {"holewarn", HoleWarn},  {"hooray", Hooray},
  };
  for (int i = 1; i <= 14; ++i) cues.push_back({"explosion" + std::to_string(i), [i] { return Explosion(i); }});
  return cues;
}

}  // namespace assetgen
