#include "platform/bmp_file.h"

#include <SDL.h>

#include <cstdint>
#include <fstream>
#include <memory>

#include "platform/files.h"

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
using SourcePtr = std::unique_ptr<SDL_RWops, decltype(&SDL_RWclose)>;

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderEnd = 54;  // the file header and the common 40-byte info header
constexpr std::uint32_t kCoreHeaderSize = 12;  // the oldest form, with 16-bit sides
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0, kBitFields = 3, kAlphaBitFields = 6;

std::uint32_t Little(const unsigned char* bytes, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// What a header claims: enough to refuse a file before its pixels take any memory.
struct BmpClaim {
  int BitsPerPixel = 0;
  std::int64_t FileBytes = 0;  // the least the file must hold for the pixels the header promises
};

std::optional<BmpClaim> ParseClaim(const unsigned char* header, std::size_t size) {
  if (size < std::size_t(kFileHeaderSize) + kCoreHeaderSize || header[0] != 'B' || header[1] != 'M') return std::nullopt;
  const std::uint32_t infoSize = Little(header + 14, 4);
  std::int64_t width, height;
  std::uint32_t compression = kUncompressed, compressedBytes = 0;
  BmpClaim claim;
  if (infoSize == kCoreHeaderSize) {
    width = Little(header + 18, 2);
    height = Little(header + 20, 2);
    claim.BitsPerPixel = int(Little(header + 24, 2));
  } else if (infoSize >= kInfoHeaderSize && size >= kInfoHeaderEnd) {
    width = std::int32_t(Little(header + 18, 4));
    height = std::int32_t(Little(header + 22, 4));  // negative for rows stored top-down
    claim.BitsPerPixel = int(Little(header + 28, 2));
    compression = Little(header + 30, 4);
    compressedBytes = Little(header + 34, 4);
  } else {
    return std::nullopt;
  }
  height = height < 0 ? -height : height;
  if (width < 1 || height < 1 || width > LargestBmpSide || height > LargestBmpSide) return std::nullopt;
  const std::uint32_t pixelOffset = Little(header + 10, 4);
  const std::int64_t pixelsFrom = pixelOffset != 0 ? pixelOffset : kFileHeaderSize + infoSize;
  const bool rowsOfPixels =
      compression == kUncompressed || compression == kBitFields || compression == kAlphaBitFields;
  const std::int64_t rowBytes = (width * claim.BitsPerPixel + 31) / 32 * 4;
  claim.FileBytes = pixelsFrom + (rowsOfPixels ? rowBytes * height : compressedBytes);
  return claim;
}

// Reads the header of the source and leaves it at its start again.
std::optional<BmpClaim> ReadClaim(SDL_RWops* source) {
  unsigned char header[kInfoHeaderEnd] = {};
  const std::size_t got = SDL_RWread(source, header, 1, sizeof header);
  const std::optional<BmpClaim> claim = ParseClaim(header, got);
  if (!claim || SDL_RWsize(source) < claim->FileBytes || SDL_RWseek(source, 0, RW_SEEK_SET) != 0)
    return std::nullopt;
  return claim;
}

std::optional<Bitmap32> Decode(SDL_RWops* source) {
  if (!ReadClaim(source)) return std::nullopt;
  SurfacePtr loaded(SDL_LoadBMP_RW(source, 0), SDL_FreeSurface);
  if (!loaded || loaded->w < 1 || loaded->h < 1) return std::nullopt;
  // Converted straight into the picture's own pixels, so that the file's copy is the only other.
  Bitmap32 picture(loaded->w, loaded->h);
  SurfacePtr target(SDL_CreateRGBSurfaceWithFormatFrom(picture.Row(0), picture.Width(), picture.Height(), 32,
                                                       picture.Width() * int(sizeof(Pixel)), SDL_PIXELFORMAT_ARGB8888),
                    SDL_FreeSurface);
  if (!target || SDL_SetSurfaceBlendMode(loaded.get(), SDL_BLENDMODE_NONE) != 0 ||
      SDL_BlitSurface(loaded.get(), nullptr, target.get(), nullptr) != 0)
    return std::nullopt;
  return picture;
}

SourcePtr OpenBmp(const FilePtr& file) {
  return SourcePtr(file ? SDL_RWFromFP(file.get(), SDL_FALSE) : nullptr, SDL_RWclose);
}

}  // namespace

std::optional<Bitmap32> ReadBmp(const std::string& path) {
  const FilePtr file = OpenRegularFile(path);
  const SourcePtr source = OpenBmp(file);
  return source ? Decode(source.get()) : std::nullopt;
}

std::optional<Bitmap32> DecodeBmp(const void* bytes, std::size_t size) {
  if (size > std::size_t(INT32_MAX)) return std::nullopt;
  const SourcePtr source(SDL_RWFromConstMem(bytes, int(size)), SDL_RWclose);
  return source ? Decode(source.get()) : std::nullopt;
}

namespace {

// The picture as the bytes of an uncompressed 24-bit BMP file; empty on failure.
std::string EncodeBmp24(const Bitmap32& picture) {
  if (picture.Empty()) return {};
  SurfacePtr rgb(SDL_CreateRGBSurfaceWithFormat(0, picture.Width(), picture.Height(), 24, SDL_PIXELFORMAT_BGR24),
                 SDL_FreeSurface);
  if (!rgb) return {};
  for (int y = 0; y < picture.Height(); ++y) {
    auto* row = static_cast<unsigned char*>(rgb->pixels) + std::size_t(y) * rgb->pitch;
    for (int x = 0; x < picture.Width(); ++x) {
      const Pixel p = picture.At(x, y);
      row[3 * x + 0] = static_cast<unsigned char>(PixelBlue(p));
      row[3 * x + 1] = static_cast<unsigned char>(PixelGreen(p));
      row[3 * x + 2] = static_cast<unsigned char>(PixelRed(p));
    }
  }
  // Room for the largest header SDL writes; the file is cut to what it wrote.
  constexpr std::size_t kLargestHeader = 14 + 124;
  std::string bytes(kLargestHeader + std::size_t(rgb->h) * std::size_t(rgb->pitch), '\0');
  const SourcePtr sink(SDL_RWFromMem(bytes.data(), int(bytes.size())), SDL_RWclose);
  if (!sink || SDL_SaveBMP_RW(rgb.get(), sink.get(), 0) != 0) return {};
  bytes.resize(std::size_t(SDL_RWtell(sink.get())));
  return bytes;
}

}  // namespace

bool WriteBmp24(const std::string& path, const Bitmap32& picture) {
  const std::string bytes = EncodeBmp24(picture);
  if (bytes.empty()) return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  return bool(file.write(bytes.data(), std::streamsize(bytes.size())).flush());
}

bool WriteBmp24Atomically(const std::string& path, const Bitmap32& picture) {
  const std::string bytes = EncodeBmp24(picture);
  return !bytes.empty() && WriteFileAtomically(path, bytes);
}

std::optional<int> BmpBitsPerPixel(const std::string& path) {
  const FilePtr file = OpenRegularFile(path);
  const SourcePtr source = OpenBmp(file);
  const std::optional<BmpClaim> claim = source ? ReadClaim(source.get()) : std::nullopt;
  if (!claim) return std::nullopt;
  return claim->BitsPerPixel;
}
