// Windows bitmap files, read and written through SDL's surface loader (no video needed).
#pragma once

#include <optional>
#include <string>

#include "presentation/bitmap32.h"

// Reads a 24- or 32-bit BMP file; a file without an alpha channel loads fully opaque.
// Returns nothing when the file is missing or is not a readable bitmap.
std::optional<Bitmap32> ReadBmp(const std::string& path);

// Writes the picture as an uncompressed 24-bit BMP (alpha is dropped). False on failure.
bool WriteBmp24(const std::string& path, const Bitmap32& picture);

// Writes like WriteBmp24, but to a temporary file beside the target that is flushed to the disk
// and then renamed over it: a crash or a full disk mid-write never leaves half a file.
bool WriteBmp24Atomically(const std::string& path, const Bitmap32& picture);

// The bits per pixel a BMP file's header claims, or nothing when it is not a BMP file.
std::optional<int> BmpBitsPerPixel(const std::string& path);
