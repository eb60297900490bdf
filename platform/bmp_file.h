// Windows bitmap files, read and written by stb's header-only reader and writer: the same code
// for every host, the browser's too.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "presentation/bitmap32.h"

// The widest and highest picture the game reads: far beyond any of its own, and small enough
// (64 MB) that a damaged header cannot take the machine's memory.
constexpr int LargestBmpSide = 4096;

// Reads a 24- or 32-bit BMP file; a file without an alpha channel loads fully opaque.
// Returns nothing when the file is missing, is not a regular file or a readable bitmap, claims
// a side longer than LargestBmpSide, or is shorter than its header says; all of it is decided
// from the header before any memory is taken for the pixels.
std::optional<Bitmap32> ReadBmp(const std::string& path);
// The same for a file's bytes already in memory.
std::optional<Bitmap32> DecodeBmp(const void* bytes, std::size_t size);

// Writes the picture as an uncompressed 24-bit BMP (alpha is dropped). False on failure.
bool WriteBmp24(const std::string& path, const Bitmap32& picture);

// Writes like WriteBmp24, but to a temporary file beside the target that is flushed to the disk
// and then renamed over it: a crash or a full disk mid-write never leaves half a file.
bool WriteBmp24Atomically(const std::string& path, const Bitmap32& picture);

// The bits per pixel a BMP file's header claims, or nothing when it is not a BMP file that
// ReadBmp would read.
std::optional<int> BmpBitsPerPixel(const std::string& path);
