// The five music tracks, composed by code. A looping track is rendered into a circular buffer as
// long as its musical loop, so notes ringing past the loop's end sound again at its start; the
// file then carries the first LeadMs of the loop once more after the loop, because the player
// restarts the track LeadMs before the file ends. The restart thus lands on the very sample the
// music has reached, and no seam is heard.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/rng.h"
#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {

struct Chord {
  int root;  // MIDI note of the root in the bass octave
  bool minor;
  int Tone(int i) const {  // i-th chord tone, climbing through octaves
    const int steps[3] = {0, minor ? 3 : 4, 7};
    return root + 12 * (i / 3) + steps[((i % 3) + 3) % 3] - (i < 0 && i % 3 != 0 ? 12 : 0);
  }
};

// A song under construction: times are in beats, the buffer is the whole file or the loop.
struct Song {
  double beat;  // seconds per beat
  bool wrap;
  Samples buf;
  void Add(double atBeat, double beats, const Voice& v) { Mix(buf, kMusicRate, atBeat * beat, beats * beat, v, wrap); }
  double Sec(double beats) const { return beats * beat; }
};

// --- instruments -------------------------------------------------------------------------------

Voice Pad(double f, double len, double amp) {
  return [=](double t, std::int64_t) {
    const double env = std::min(t / 0.35, 1.0) * std::clamp((len - t) / 0.45, 0.0, 1.0);
    return amp * env * (Sine(f * t) + 0.45 * Sine(2.004 * f * t) + 0.35 * Triangle(0.996 * f * t)) / 1.8;
  };
}

Voice Bell(double f, double len, double amp) {
  return [=](double t, std::int64_t) {
    const double mod = 1.4 * std::exp(-t * 5) * Sine(3.5 * f * t);
    return amp * Envelope(t, 0.004, 2.2, len, 0.08) * Sine(f * t + mod / 6.283);
  };
}

Voice Pluck(double f, double len, double amp) {
  return [=](double t, std::int64_t) {
    double v = 0;
    for (int k = 1; k <= 6; ++k) v += Sine(k * f * t) / k * std::exp(-t * (3.5 + 2.8 * k));
    return amp * v * Envelope(t, 0.002, 0.0, len, 0.03);
  };
}

Voice Bass(double f, double len, double amp) {
  return [=](double t, std::int64_t) {
    return amp * Envelope(t, 0.006, 2.5, len, 0.04) * (0.65 * Sine(f * t) + 0.35 * Triangle(f * t));
  };
}

Voice Lead(double f, double len, double amp) {
  return [=](double t, std::int64_t) {
    const double vibrato = t > 0.15 ? 0.004 * f * std::sin(6.283 * 5.5 * t) / 5.5 : 0;
    return amp * Envelope(t, 0.01, 1.2, len, 0.04) * Square(f * t + vibrato, 7);
  };
}

Voice SawArp(double f, double len, double amp) {
  return [=](double t, std::int64_t) { return amp * Envelope(t, 0.003, 9, len, 0.02) * Saw(f * t, 8); };
}

Voice Kick(double amp) {
  return [=](double t, std::int64_t) {
    const double phase = 48 * t + 95 * (1 - std::exp(-t * 28)) / 28;
    return amp * std::exp(-t * 9) * Sine(phase);
  };
}

Voice Snare(double amp, std::uint32_t seed) {
  return [=](double t, std::int64_t n) {
    return amp * (0.7 * HashNoise(seed, n) * std::exp(-t * 22) + 0.4 * Sine(190 * t) * std::exp(-t * 28));
  };
}

Voice Hat(double amp, std::uint32_t seed) {
  return [=](double t, std::int64_t n) {
    return amp * 0.5 * (HashNoise(seed, n) - HashNoise(seed, n - 1)) * std::exp(-t * 75);
  };
}

// --- patterns ----------------------------------------------------------------------------------

// A melody that walks over the chord tones, never leaping far, in a range around `centre`.
class Melody {
 public:
  Melody(std::uint64_t seed, int centre) : rng_(seed), last_(centre), centre_(centre) {}
  int Next(const Chord& c) {
    int best = last_, bestScore = 1 << 30;
    for (int i = -6; i < 12; ++i) {
      const int n = c.Tone(i) + 12 * ((centre_ - c.root) / 12);
      const int score = std::abs(n - last_) * 4 + std::abs(n - centre_) + int(rng_.Next() % 9) + (n == last_ ? 6 : 0);
      if (score < bestScore) bestScore = score, best = n;
    }
    return last_ = best;
  }
  Rng& rng() { return rng_; }

 private:
  Rng rng_;
  int last_, centre_;
};

void Drums(Song& s, int bars, const std::vector<double>& kicks, const std::vector<double>& snares, double hatStep,
           double level, std::uint32_t seed) {
  for (int bar = 0; bar < bars; ++bar) {
    const double b0 = bar * 4.0;
    for (double k : kicks) s.Add(b0 + k, 0.9, Kick(0.8 * level));
    for (double k : snares) s.Add(b0 + k, 0.6, Snare(0.35 * level, seed + bar));
    if (hatStep > 0)
      for (double h = 0; h < 4; h += hatStep)
        s.Add(b0 + h, 0.25, Hat((std::fmod(h, 1.0) == 0.5 ? 0.32 : 0.2) * level, seed + 50 + bar));
  }
}

Chord At(const std::vector<Chord>& progression, int bar) { return progression[std::size_t(bar) % progression.size()]; }

Samples Finish(Song& s, int leadMs) {
  Samples out = s.buf;
  const std::size_t lead = std::size_t(leadMs) * kMusicRate / 1000;
  if (s.wrap) out.insert(out.end(), s.buf.begin(), s.buf.begin() + std::ptrdiff_t(lead));
  else out.resize(out.size() + lead, 0.0f);
  NormaliseLoudness(out, 0.13, 0.85);
  return out;
}

Song NewSong(double beat, int beats, bool wrap) {
  return {beat, wrap, Samples(std::size_t(std::llround(beat * beats * kMusicRate)), 0.0f)};
}

const Chord A{45, true}, F{41, false}, C{48, false}, G{43, false}, E{40, false}, Dm{50, true}, Bb{46, false},
    Em{40, true}, D{50, false}, B{47, false}, Am2{57, true};

// Title: slow pads, a soft bass and a few bell notes. Calm enough to sit on for a while.
Samples TitleTrack(int leadMs) {
  Song s = NewSong(0.75, 64, true);
  const std::vector<Chord> prog = {A, F, C, G, A, F, G, E, Dm, A, F, C, Dm, A, E, E};
  Melody bell(10, 81);
  for (int bar = 0; bar < 16; ++bar) {
    const Chord c = At(prog, bar);
    const double b0 = bar * 4.0;
    for (int i = 0; i < 3; ++i) s.Add(b0, 4.4, Pad(Midi(c.Tone(i) + 12), s.Sec(4.4), 0.12));
    s.Add(b0, 2, Bass(Midi(c.root - 12 + 12), s.Sec(2), 0.3));
    s.Add(b0 + 2, 2, Bass(Midi(c.Tone(2) - 12 + 12), s.Sec(2), 0.22));
    static const std::vector<std::vector<double>> rhythms = {{0, 1.5, 3}, {0, 2}, {0.5, 1, 2.5}, {0, 3}};
    for (double at : rhythms[std::size_t(bar * 7 % 4)]) s.Add(b0 + at, 2, Bell(Midi(bell.Next(c)), s.Sec(2), 0.2));
    if (bar >= 8)
      for (int q = 0; q < 4; ++q) s.Add(b0 + q, 1, Pluck(Midi(c.Tone(q % 3 + 3) + 12), s.Sec(1), 0.1));
  }
  return Finish(s, leadMs);
}

// Battle, all four turrets standing: a steady pulse with a plucked arpeggio.
Samples BattleTrack1(int leadMs) {
  Song s = NewSong(0.54, 64, true);
  const std::vector<Chord> prog = {A, G, F, E, A, G, F, G, A, G, F, E, Dm, F, G, E};
  Drums(s, 16, {0, 2}, {1, 3}, 0.5, 0.8, 100);
  Melody lead(11, 76);
  for (int bar = 0; bar < 16; ++bar) {
    const Chord c = At(prog, bar);
    const double b0 = bar * 4.0;
    for (int e = 0; e < 8; ++e) {
      s.Add(b0 + e * 0.5, 0.5, Bass(Midi(c.root + (e % 4 == 3 ? 12 : 0)), s.Sec(0.45), 0.32));
      static const int arp[8] = {3, 4, 5, 4, 3, 4, 5, 6};
      s.Add(b0 + e * 0.5, 1, Pluck(Midi(c.Tone(arp[e]) + 12), s.Sec(1), 0.16));
    }
    if (bar >= 8)
      for (double at : {0.0, 1.5, 2.0, 3.0}) s.Add(b0 + at, 1, Lead(Midi(lead.Next(c)), s.Sec(0.9), 0.07));
  }
  return Finish(s, leadMs);
}

// Battle, half the turrets gone: four-on-the-floor, a driving bass and a square-wave tune.
Samples BattleTrack2(int leadMs) {
  Song s = NewSong(0.48, 80, true);
  const std::vector<Chord> prog = {Dm, Bb, C, A};
  Drums(s, 20, {0, 1, 2, 3}, {1, 3}, 0.25, 0.9, 200);
  Melody lead(12, 74);
  std::vector<int> phrase;
  for (int bar = 0; bar < 20; ++bar) {
    const Chord c = At(prog, bar);
    const double b0 = bar * 4.0;
    static const int bassline[8] = {0, 0, 12, 0, 7, 0, 12, 10};
    for (int e = 0; e < 8; ++e) s.Add(b0 + e * 0.5, 0.5, Bass(Midi(c.root - 12 + bassline[e]), s.Sec(0.4), 0.36));
    for (double at : {0.5, 1.5, 2.5, 3.5})
      for (int i = 3; i < 6; ++i) s.Add(b0 + at, 0.4, Pad(Midi(c.Tone(i)), s.Sec(0.4), 0.05));
    // A four-bar tune stated, then varied from its fifth bar on.
    static const double rhythm[6] = {0, 0.75, 1.5, 2, 2.5, 3};
    for (int k = 0; k < 6; ++k) {
      const int n = (bar % 8 < 4 || phrase.size() < 24) ? lead.Next(c) : phrase[std::size_t((bar % 4) * 6 + k)] + 12;
      if (phrase.size() < 24) phrase.push_back(n);
      s.Add(b0 + rhythm[k], 0.7, Lead(Midi(n), s.Sec(0.6), 0.08));
    }
  }
  return Finish(s, leadMs);
}

// Battle, the orb nearly alone: fast saw arpeggios, a pumping bass, fills and bell stabs.
Samples BattleTrack3(int leadMs) {
  Song s = NewSong(0.42, 96, true);
  const std::vector<Chord> prog = {Em, C, D, B};
  Drums(s, 24, {0, 0.75, 1.5, 2, 2.75, 3.5}, {1, 3}, 0.25, 1.0, 300);
  Melody lead(13, 83);
  for (int bar = 0; bar < 24; ++bar) {
    const Chord c = At(prog, bar);
    const double b0 = bar * 4.0;
    for (int x = 0; x < 16; ++x) {
      s.Add(b0 + x * 0.25, 0.25, Bass(Midi(c.root - 12 + (x % 4 == 2 ? 12 : 0)), s.Sec(0.22), 0.3));
      static const int arp[16] = {3, 4, 5, 6, 5, 4, 3, 4, 5, 6, 7, 6, 5, 4, 5, 6};
      s.Add(b0 + x * 0.25, 0.3, SawArp(Midi(c.Tone(arp[x]) + 12), s.Sec(0.3), 0.07));
    }
    s.Add(b0, 2, Bell(Midi(c.Tone(6) + 12), s.Sec(2), 0.14));
    if (bar % 4 == 3)
      for (double f = 3; f < 4; f += 0.25) s.Add(b0 + f, 0.3, Snare(0.25, 400 + bar));
    if (bar >= 8)
      for (double at : {0.0, 0.5, 1.0, 2.0, 2.5, 3.0}) s.Add(b0 + at, 0.5, Lead(Midi(lead.Next(c)), s.Sec(0.45), 0.06));
  }
  return Finish(s, leadMs);
}

// The closing track, played once: a slow farewell that fades to silence before its end.
Samples ClosingTrack(int leadMs) {
  Song s = NewSong(0.8, 40, false);
  const std::vector<Chord> prog = {A, F, Dm, E, A, F, G, A, A, A};
  Melody bell(14, 79);
  for (int bar = 0; bar < 10; ++bar) {
    const Chord c = At(prog, bar);
    const double b0 = bar * 4.0;
    const double len = bar >= 8 ? 8 : 4.3;
    if (bar == 9) continue;  // the last chord rings on from bar 8
    for (int i = 0; i < 3; ++i) s.Add(b0, len, Pad(Midi(c.Tone(i) + 12), s.Sec(len), 0.13));
    s.Add(b0, len, Bass(Midi(c.root), s.Sec(len), 0.25));
    if (bar < 8)
      for (double at : {0.0, 1.0, 2.0}) s.Add(b0 + at, 2.5, Bell(Midi(bell.Next(c)), s.Sec(2.5), 0.18));
  }
  s.Add(32, 4, Bell(Midi(Am2.Tone(3)), s.Sec(4), 0.18));
  const double total = s.Sec(40);
  for (std::size_t i = 0; i < s.buf.size(); ++i) {  // fade over the last eight seconds
    const double t = double(i) / kMusicRate;
    s.buf[i] *= float(std::clamp((total - t) / 8.0, 0.0, 1.0));
  }
  return Finish(s, leadMs);
}

TrackSpec Track(int index, int leadMs, int loopMs, bool loops, Samples (*compose)(int)) {
  return {"mmusic" + std::to_string(index), leadMs, loopMs, loops, [=] { return compose(leadMs); }};
}

}  // namespace

std::vector<TrackSpec> MusicTracks() {
  return {Track(0, 200, 48000, true, TitleTrack), Track(1, 180, 34560, true, BattleTrack1),
          Track(2, 180, 38400, true, BattleTrack2), Track(3, 150, 40320, true, BattleTrack3),
          Track(4, 200, 32000, false, ClosingTrack)};
}

}  // namespace assetgen
