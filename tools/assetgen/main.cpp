// mibbetfall-assetgen: draws, synthesises and composes every picture, sound and music file.
//   --out DIR        the whole Assets folder (pictures, font glyphs, WAV cues, MP3 tracks)
//   --embedded FILE  the C++ source of the pictures built into the executable
//   --sheet FILE     a contact sheet of the catalogue, for reviewing the art in one look
//   --icons DIR      the desktop icons, as DIR/NxN/apps/mibbetfall.png
//   --fuzz-seeds DIR seed pictures for the fuzz targets of the picture readers
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/bmp_file.h"
#include "tools/assetgen/audio.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/fuzz_seeds.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/picture_files.h"

namespace {

using namespace assetgen;

constexpr int kMusicKbps = 96;

bool WritePictures(const std::string& dir, const std::vector<PictureSpec>& specs) {
  bool ok = true;
  for (const auto& spec : specs)
    if (!WritePicture(dir, spec.name, spec.draw(), spec.transparent)) {
      std::fprintf(stderr, "assetgen: cannot write picture %s\n", spec.name.c_str());
      ok = false;
    }
  return ok;
}

bool WriteSounds(const std::string& dir) {
  bool ok = true;
  for (const auto& cue : SoundCues()) {
    Samples s = cue.synth();
    NormaliseLoudness(s, 0.16, 0.89);
    if (!WriteWav(dir + "/" + cue.name + ".wav", s, kSfxRate)) {
      std::fprintf(stderr, "assetgen: cannot write sound %s\n", cue.name.c_str());
      ok = false;
    }
  }
  return ok;
}

// Encoding dominates the run time; two workers keep it short without hogging a shared machine.
bool WriteMusic(const std::string& dir) {
  const std::vector<TrackSpec> tracks = MusicTracks();
  std::atomic<std::size_t> next{0};
  std::atomic<bool> ok{true};
  auto worker = [&] {
    for (std::size_t i; (i = next++) < tracks.size();) {
      const Samples s = tracks[i].compose();
      if (!WriteMp3(dir + "/" + tracks[i].name + ".mp3", s, kMusicRate, kMusicKbps)) {
        std::fprintf(stderr, "assetgen: cannot write music %s\n", tracks[i].name.c_str());
        ok = false;
      }
    }
  };
  std::thread helper(worker);
  worker();
  helper.join();
  return ok;
}

bool WriteAssets(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir + "/font", ec);
  if (ec) {
    std::fprintf(stderr, "assetgen: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
    return false;
  }
  bool ok = true;
  std::thread music([&] { ok = WriteMusic(dir) && ok; });
  const bool pictures = WritePictures(dir, CataloguePictures()) && WritePictures(dir, ScreenPictures());
  const bool sounds = WriteSounds(dir);
  music.join();
  return ok && pictures && sounds;
}

bool WriteEmbedded(const std::string& file) {
  std::ofstream out(file, std::ios::binary);
  out << EmbeddedPicturesSource();
  return bool(out);
}

bool WriteSheet(const std::string& file) {
  const auto specs = CataloguePictures();
  std::vector<Bitmap32> pictures;
  for (const auto& spec : specs) pictures.push_back(spec.draw());
  return WriteBmp24(file, ContactSheet(specs, pictures));
}

int Usage() {
  std::fprintf(stderr,
               "usage: mibbetfall-assetgen [--out DIR] [--embedded FILE.cpp] [--sheet FILE.bmp] [--icons DIR]\n"
               "                           [--fuzz-seeds DIR]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) return Usage();
  bool ok = true;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i], value = argv[i + 1];
    if (option == "--out") ok = WriteAssets(value) && ok;
    else if (option == "--embedded") ok = WriteEmbedded(value) && ok;
    else if (option == "--sheet") ok = WriteSheet(value) && ok;
    else if (option == "--icons") ok = WriteIcons(value) && ok;
    else if (option == "--fuzz-seeds") ok = WriteFuzzSeeds(value) && ok;
    else return Usage();
  }
  return ok ? 0 : 1;
}
