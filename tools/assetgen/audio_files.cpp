#include <lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>

#include "tools/assetgen/audio.h"

namespace assetgen {

namespace {

std::int16_t ToPcm(float v) { return std::int16_t(std::lround(std::clamp(double(v), -1.0, 1.0) * 32767.0)); }

void PutLE(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(char((value >> (8 * i)) & 0xFF));
}

struct LameDeleter {
  void operator()(lame_global_flags* g) const { lame_close(g); }
};

}  // namespace

void NormaliseLoudness(Samples& s, double targetRms, double peakLimit) {
  if (s.empty()) return;
  double sum = 0, peak = 0;
  for (float v : s) sum += double(v) * v, peak = std::max(peak, double(std::fabs(v)));
  const double rms = std::sqrt(sum / double(s.size()));
  if (rms <= 0 || peak <= 0) return;
  const double gain = std::min(targetRms / rms, peakLimit / peak);
  for (float& v : s) v = float(v * gain);
}

bool WriteWav(const std::string& path, const Samples& samples, int rate) {
  std::ofstream out(path, std::ios::binary);
  if (!out) return false;
  const std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
  out.write("RIFF", 4);
  PutLE(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  PutLE(out, 16, 4);
  PutLE(out, 1, 2);  // PCM
  PutLE(out, 1, 2);  // mono
  PutLE(out, std::uint32_t(rate), 4);
  PutLE(out, std::uint32_t(rate * 2), 4);
  PutLE(out, 2, 2);
  PutLE(out, 16, 2);
  out.write("data", 4);
  PutLE(out, dataBytes, 4);
  for (float v : samples) PutLE(out, std::uint16_t(ToPcm(v)), 2);
  return bool(out);
}

bool WriteMp3(const std::string& path, const Samples& samples, int rate, int kbps) {
  std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
  if (!lame) return false;
  lame_set_num_channels(lame.get(), 1);
  lame_set_in_samplerate(lame.get(), rate);
  lame_set_out_samplerate(lame.get(), rate);
  lame_set_mode(lame.get(), MONO);
  lame_set_brate(lame.get(), kbps);
  lame_set_quality(lame.get(), 7);  // fast: the build runs this on every generator change
  lame_set_bWriteVbrTag(lame.get(), 1);
  if (lame_init_params(lame.get()) < 0) return false;

  std::vector<short> pcm(samples.size());
  std::transform(samples.begin(), samples.end(), pcm.begin(), ToPcm);
  std::vector<unsigned char> mp3(pcm.size() * 5 / 4 + 7200 + 16384);
  int used = lame_encode_buffer(lame.get(), pcm.data(), nullptr, int(pcm.size()), mp3.data(), int(mp3.size()));
  if (used < 0) return false;
  const int flushed = lame_encode_flush(lame.get(), mp3.data() + used, int(mp3.size()) - used);
  if (flushed < 0) return false;
  used += flushed;

  // The tag frame carries the encoder delay and padding: without it decoders report extra time
  // and the loop point lands late. It replaces the placeholder frame LAME put first.
  unsigned char tag[2880];
  const std::size_t tagSize = lame_get_lametag_frame(lame.get(), tag, sizeof tag);
  if (tagSize == 0 || tagSize > std::size_t(used)) return false;
  std::copy(tag, tag + tagSize, mp3.begin());

  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(mp3.data()), used);
  return bool(out);
}

}  // namespace assetgen
