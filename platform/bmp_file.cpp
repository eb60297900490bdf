#include "platform/bmp_file.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "platform/files.h"

namespace {
using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
}

std::optional<Bitmap32> ReadBmp(const std::string& path) {
  SurfacePtr loaded(SDL_LoadBMP(path.c_str()), SDL_FreeSurface);
  if (!loaded) return std::nullopt;
  SurfacePtr argb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0), SDL_FreeSurface);
  if (!argb) return std::nullopt;
  Bitmap32 picture(argb->w, argb->h);
  for (int y = 0; y < argb->h; ++y) {
    const auto* row = static_cast<const unsigned char*>(argb->pixels) + std::size_t(y) * argb->pitch;
    std::memcpy(picture.Row(y), row, std::size_t(argb->w) * sizeof(Pixel));
  }
  return picture;
}

bool WriteBmp24(const std::string& path, const Bitmap32& picture) {
  if (picture.Empty()) return false;
  SurfacePtr rgb(SDL_CreateRGBSurfaceWithFormat(0, picture.Width(), picture.Height(), 24,
                                                SDL_PIXELFORMAT_BGR24),
                 SDL_FreeSurface);
  if (!rgb) return false;
  for (int y = 0; y < picture.Height(); ++y) {
    auto* row = static_cast<unsigned char*>(rgb->pixels) + std::size_t(y) * rgb->pitch;
    for (int x = 0; x < picture.Width(); ++x) {
      const Pixel p = picture.At(x, y);
      row[3 * x + 0] = static_cast<unsigned char>(PixelBlue(p));
      row[3 * x + 1] = static_cast<unsigned char>(PixelGreen(p));
      row[3 * x + 2] = static_cast<unsigned char>(PixelRed(p));
    }
  }
  return SDL_SaveBMP(rgb.get(), path.c_str()) == 0;
}

bool WriteBmp24Atomically(const std::string& path, const Bitmap32& picture) {
  const std::string temporary = path + ".tmp";
  if (!WriteBmp24(temporary, picture)) {
    DiscardTemporaryFile(temporary);
    return false;
  }
  return CommitTemporaryFile(temporary, path);
}

std::optional<int> BmpBitsPerPixel(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[30] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != 'B' || header[1] != 'M')
    return std::nullopt;
  return header[28] | (header[29] << 8);
}
