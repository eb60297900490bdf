#include "platform/bmp_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <utility>

#include "platform/files.h"

// stb reads and writes the files; only its BMP reader is built, and it sees bytes, never files,
// so the checks below and OpenRegularFile decide what reaches it. Its functions stay private to
// this file, so no other copy of stb linked into a host can clash with them.
#define STB_IMAGE_STATIC
#define STB_IMAGE_WRITE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 4096
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderEnd = 54;  // the file header and the common 40-byte info header
constexpr std::uint32_t kCoreHeaderSize = 12;  // the oldest form, with 16-bit sides
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0, kBitFields = 3, kAlphaBitFields = 6;
constexpr std::size_t kHeightAt = 22, kImageSizeAt = 34;

std::uint32_t Little(const unsigned char* bytes, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

void PutLittle32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

// What a header claims: enough to refuse a file before its pixels take any memory.
struct BmpClaim {
  int BitsPerPixel = 0;
  std::int64_t FileBytes = 0;  // the least the file must hold for the pixels the header promises
};

std::optional<BmpClaim> ParseClaim(const unsigned char* header, std::size_t size) {
  if (size < std::size_t(kFileHeaderSize) + kCoreHeaderSize || header[0] != 'B' || header[1] != 'M')
    return std::nullopt;
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
  const bool rowsOfPixels = compression == kUncompressed || compression == kBitFields || compression == kAlphaBitFields;
  const std::int64_t rowBytes = (width * claim.BitsPerPixel + 31) / 32 * 4;
  claim.FileBytes = pixelsFrom + (rowsOfPixels ? rowBytes * height : compressedBytes);
  return claim;
}

// stb turns bottom-up rows over by swapping bytes, which costs more than decoding them; told
// that they are top-down it leaves them in the file's order, and the copy into the picture reads
// them from the last. True when the header was changed so. The oldest header's sides are unsigned.
bool ClaimRowsTopDown(std::string& bytes) {
  const auto* header = reinterpret_cast<const unsigned char*>(bytes.data());
  if (Little(header + kFileHeaderSize, 4) < kInfoHeaderSize) return false;
  const auto height = std::int32_t(Little(header + kHeightAt, 4));
  if (height <= 0) return false;
  PutLittle32(bytes, kHeightAt, std::uint32_t(-height));
  return true;
}

// stb gives red, green, blue and alpha bytes, rows top-down unless `bottomUp`.
Bitmap32 PictureOfRgba(const stbi_uc* rgba, int width, int height, bool bottomUp) {
  Bitmap32 picture(width, height);
  for (int y = 0; y < height; ++y) {
    const stbi_uc* from = rgba + std::size_t(bottomUp ? height - 1 - y : y) * std::size_t(width) * 4;
    Pixel* to = picture.Row(y);
    for (int x = 0; x < width; ++x, from += 4) to[x] = MakePixel(from[0], from[1], from[2], from[3]);
  }
  return picture;
}

std::optional<Bitmap32> Decode(std::string bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::optional<BmpClaim> claim = ParseClaim(data, bytes.size());
  if (!claim || std::int64_t(bytes.size()) < claim->FileBytes) return std::nullopt;
  const bool bottomUp = ClaimRowsTopDown(bytes);
  int width = 0, height = 0, channels = 0;
  using PixelsPtr = std::unique_ptr<stbi_uc, decltype(&stbi_image_free)>;
  const PixelsPtr rgba(stbi_load_from_memory(data, int(bytes.size()), &width, &height, &channels, 4), stbi_image_free);
  if (!rgba || width < 1 || height < 1) return std::nullopt;
  return PictureOfRgba(rgba.get(), width, height, bottomUp);
}

// The claim of the file's header, once the file is found to hold as much as it claims; the
// header's bytes are left in `header`.
std::optional<BmpClaim> ReadSoundClaim(std::FILE* file, std::string& header) {
  header.assign(kInfoHeaderEnd, '\0');
  header.resize(std::fread(header.data(), 1, header.size(), file));
  const std::optional<BmpClaim> claim =
      ParseClaim(reinterpret_cast<const unsigned char*>(header.data()), header.size());
  struct stat status {};
  if (!claim || ::fstat(::fileno(file), &status) != 0 || status.st_size < claim->FileBytes) return std::nullopt;
  return claim;
}

// The file's bytes as far as its header's claim reaches: a damaged header never makes the reader
// take memory for pixels that are not there.
std::optional<std::string> ReadClaimedBytes(const FilePtr& file) {
  std::string bytes;
  const std::optional<BmpClaim> claim = file ? ReadSoundClaim(file.get(), bytes) : std::nullopt;
  if (!claim) return std::nullopt;
  const std::size_t header = bytes.size();
  bytes.resize(std::size_t(std::max<std::int64_t>(claim->FileBytes, std::int64_t(header))));
  const std::size_t rest = bytes.size() - header;
  if (std::fread(bytes.data() + header, 1, rest, file.get()) != rest) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<Bitmap32> ReadBmp(const std::string& path) {
  std::optional<std::string> bytes = ReadClaimedBytes(OpenRegularFile(path));
  if (!bytes) return std::nullopt;
  return Decode(std::move(*bytes));
}

std::optional<Bitmap32> DecodeBmp(const void* bytes, std::size_t size) {
  if (size > std::size_t(INT32_MAX)) return std::nullopt;
  return Decode(std::string(static_cast<const char*>(bytes), size));
}

namespace {

// The picture as the bytes of an uncompressed 24-bit BMP file; empty on failure.
std::string EncodeBmp24(const Bitmap32& picture) {
  if (picture.Empty()) return {};
  std::string rgb(std::size_t(picture.Width()) * std::size_t(picture.Height()) * 3, '\0');
  auto* to = reinterpret_cast<unsigned char*>(rgb.data());
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x, to += 3) {
      const Pixel p = picture.At(x, y);
      to[0] = static_cast<unsigned char>(PixelRed(p));
      to[1] = static_cast<unsigned char>(PixelGreen(p));
      to[2] = static_cast<unsigned char>(PixelBlue(p));
    }
  std::string bytes;
  const auto append = [](void* sink, void* data, int size) {
    static_cast<std::string*>(sink)->append(static_cast<const char*>(data), std::size_t(size));
  };
  if (!stbi_write_bmp_to_func(append, &bytes, picture.Width(), picture.Height(), 3, rgb.data())) return {};
  // stb leaves the pixel data's size at 0, which the format allows; the game's files have always
  // stated it, and they stay byte for byte what they were.
  const std::uint32_t rowBytes = (std::uint32_t(picture.Width()) * 3 + 3) / 4 * 4;
  PutLittle32(bytes, kImageSizeAt, rowBytes * std::uint32_t(picture.Height()));
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
  std::string header;
  const std::optional<BmpClaim> claim = file ? ReadSoundClaim(file.get(), header) : std::nullopt;
  if (!claim) return std::nullopt;
  return claim->BitsPerPixel;
}
