#include "tools/assetgen/fuzz_seeds.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "presentation/bitmap32.h"
#include "screens/high_score_table.h"

namespace assetgen {

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutLittleEndian(Bytes& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

// Bytes of one colour as a BMP stores it: blue, green, red, then alpha or padding.
Bytes Bgr(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {b, g, r}; }
Bytes Bgra(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) { return {b, g, r, a}; }

Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct InfoHeader {
  int Width, Height, Bits;
  std::uint32_t Compression = 0;  // 0: plain rows; 3: bit fields
  std::uint32_t ColoursUsed = 0;
  std::uint32_t PixelsPerMetre = 2835;  // 72 dots per inch
};

// A file with the 40-byte info header; between header and pixels sit the palette or the masks.
Bytes InfoBmp(const InfoHeader& h, const Bytes& betweenHeaderAndPixels, const Bytes& pixels) {
  constexpr std::uint32_t kFileHeader = 14, kInfoHeader = 40;
  const std::uint32_t pixelsAt = kFileHeader + kInfoHeader + std::uint32_t(betweenHeaderAndPixels.size());
  Bytes out{'B', 'M'};
  PutLittleEndian(out, pixelsAt + std::uint32_t(pixels.size()), 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, pixelsAt, 4);
  PutLittleEndian(out, kInfoHeader, 4);
  PutLittleEndian(out, std::uint32_t(h.Width), 4);
  PutLittleEndian(out, std::uint32_t(h.Height), 4);  // negative: rows run top-down
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, std::uint32_t(h.Bits), 2);
  PutLittleEndian(out, h.Compression, 4);
  PutLittleEndian(out, std::uint32_t(pixels.size()), 4);
  PutLittleEndian(out, h.PixelsPerMetre, 4);  // both ways
  PutLittleEndian(out, h.PixelsPerMetre, 4);
  PutLittleEndian(out, h.ColoursUsed, 4);
  PutLittleEndian(out, 0, 4);
  return Joined({out, betweenHeaderAndPixels, pixels});
}

// A file with the 12-byte header of the oldest BMPs.
Bytes CoreBmp(int width, int height, int bits, const Bytes& pixels) {
  constexpr std::uint32_t kFileHeader = 14, kCoreHeader = 12;
  Bytes out{'B', 'M'};
  PutLittleEndian(out, kFileHeader + kCoreHeader + std::uint32_t(pixels.size()), 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, kFileHeader + kCoreHeader, 4);
  PutLittleEndian(out, kCoreHeader, 4);
  PutLittleEndian(out, std::uint32_t(width), 2);
  PutLittleEndian(out, std::uint32_t(height), 2);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, std::uint32_t(bits), 2);
  return Joined({out, pixels});
}

// The default high-score table laid out byte by byte as the game's files have always had it:
// 24-bit rows bottom first, each padded to 4 bytes, the image size filled in, no resolution. It
// is laid out here, not by the game's own writer, so that the tests hold that writer to it.
Bytes DefaultHighScoreTableAsEverWritten() {
  const Bitmap32 table = HighScorePicture(DefaultHighScoreLines());
  Bytes rows;
  for (int y = table.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < table.Width(); ++x) {
      const Pixel p = table.At(x, y);
      const Bytes pixel = Bgr(std::uint8_t(PixelRed(p)), std::uint8_t(PixelGreen(p)), std::uint8_t(PixelBlue(p)));
      rows.insert(rows.end(), pixel.begin(), pixel.end());
    }
    rows.resize((rows.size() + 3) / 4 * 4, 0);
  }
  return InfoBmp({.Width = table.Width(), .Height = table.Height(), .Bits = 24, .PixelsPerMetre = 0}, {}, rows);
}

bool WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

}  // namespace

bool WriteFuzzSeeds(const std::string& dir) {
  const std::filesystem::path bmp = std::filesystem::path(dir) / "bmp";
  const std::filesystem::path highScores = std::filesystem::path(dir) / "high_scores";
  std::error_code ec;
  std::filesystem::create_directories(bmp, ec);
  std::filesystem::create_directories(highScores, ec);
  if (ec) return false;

  const Bytes padding2{0, 0};
  // Blue and white above red and green: rows are stored bottom first, each padded to 4 bytes.
  const Bytes rows24 = Joined({Bgr(255, 0, 0), Bgr(0, 255, 0), padding2, Bgr(0, 0, 255), Bgr(255, 255, 255), padding2});
  const Bytes palette = Joined({Bgra(0, 0, 0, 0), Bgra(0, 0, 255, 0), Bgra(0, 255, 0, 0), Bgra(255, 0, 0, 0)});
  Bytes masks565;
  for (const std::uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) PutLittleEndian(masks565, mask, 4);
  const Bytes redGreen565{0x00, 0xF8, 0xE0, 0x07};

  bool ok = true;
  ok &= WriteBytes(bmp / "three_by_one_8.bmp", InfoBmp({3, 1, 8, 0, 4}, palette, {1, 2, 3, 0}));
  ok &= WriteBytes(bmp / "two_by_one_565.bmp", InfoBmp({2, 1, 16, 3, 3}, masks565, redGreen565));
  ok &= WriteBytes(bmp / "two_by_two_24.bmp", InfoBmp({2, 2, 24}, {}, rows24));
  ok &= WriteBytes(
      bmp / "two_by_two_32_alpha.bmp",
      InfoBmp({2, -2, 32}, {},
              Joined({Bgra(255, 0, 0, 128), Bgra(0, 255, 0, 255), Bgra(0, 0, 255, 0), Bgra(0x30, 0x20, 0x10, 0x40)})));
  ok &= WriteBytes(bmp / "two_by_two_core.bmp", CoreBmp(2, 2, 24, rows24));
  ok &= WriteBytes(highScores / "default.bmp", DefaultHighScoreTableAsEverWritten());
  return ok;
}

}  // namespace assetgen
