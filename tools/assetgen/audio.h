// Sound cues and music: synthesis entry points and their file formats.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

using Samples = std::vector<float>;  // mono, nominally -1..1

constexpr int kSfxRate = 22050;
constexpr int kMusicRate = 32000;

struct SoundSpec {
  std::string name;  // file name without ".wav"
  std::function<Samples()> synth;
};
std::vector<SoundSpec> SoundCues();

struct TrackSpec {
  std::string name;  // file name without ".mp3"
  int leadMs = 200;  // the player restarts the track this long before its end
  int loopMs = 0;  // the length of the musical loop; the file is loopMs + leadMs long
  bool loops = true;
  std::function<Samples()> compose;  // exactly (loopMs + leadMs) * kMusicRate / 1000 samples
};
std::vector<TrackSpec> MusicTracks();

// Scales a cue to a common loudness and keeps its peaks clear of clipping.
void NormaliseLoudness(Samples& s, double targetRms, double peakLimit);

bool WriteWav(const std::string& path, const Samples& samples, int rate);
// Encodes mono samples with LAME and rewrites the first frame with the LAME tag, so players
// report the exact length (the loop points depend on it).
bool WriteMp3(const std::string& path, const Samples& samples, int rate, int kbps);

}  // namespace assetgen
