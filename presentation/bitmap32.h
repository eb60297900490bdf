// A 32-bit picture: the one pixel format of every image, layer, catalogue picture and frame.
#pragma once

#include <cstdint>
#include <vector>

// Pixels are 0xAARRGGBB, rows top to bottom, no padding.
using Pixel = std::uint32_t;

constexpr Pixel MakePixel(int r, int g, int b, int a = 255) {
  return (Pixel(a & 255) << 24) | (Pixel(r & 255) << 16) | (Pixel(g & 255) << 8) | Pixel(b & 255);
}
constexpr int PixelAlpha(Pixel p) { return int(p >> 24); }
constexpr int PixelRed(Pixel p) { return int((p >> 16) & 255); }
constexpr int PixelGreen(Pixel p) { return int((p >> 8) & 255); }
constexpr int PixelBlue(Pixel p) { return int(p & 255); }

struct ClipRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // Right and Bottom exclusive
  bool Empty() const { return Left >= Right || Top >= Bottom; }
  bool operator==(const ClipRect&) const = default;
};

ClipRect Intersection(const ClipRect& a, const ClipRect& b);
// The smallest rectangle holding both; an empty one holds nothing.
ClipRect Union(const ClipRect& a, const ClipRect& b);

class Bitmap32 {
 public:
  Bitmap32() = default;
  Bitmap32(int width, int height, Pixel fill = 0);
  Bitmap32(const Bitmap32&) = default;
  Bitmap32(Bitmap32&&) = default;
  Bitmap32& operator=(const Bitmap32& other);
  Bitmap32& operator=(Bitmap32&& other) noexcept;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  Pixel At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
  void Set(int x, int y, Pixel p) {
    ++revision_;
    pixels_[std::size_t(y) * width_ + x] = p;
  }
  Pixel* Row(int y) {
    ++revision_;
    return pixels_.data() + std::size_t(y) * width_;
  }
  const Pixel* Row(int y) const { return pixels_.data() + std::size_t(y) * width_; }
  const std::vector<Pixel>& Pixels() const { return pixels_; }
  // Changes whenever the pixels may have: the frame is recomposed only where something did.
  // Any write goes through a member of this class, so none is missed.
  std::uint64_t Revision() const { return revision_; }

  void Resize(int width, int height, Pixel fill = 0);
  void Fill(Pixel p);
  void FillRect(int left, int top, int width, int height, Pixel p) {
    FillRect(left, top, width, height, p, FullRect());
  }
  void FillRect(int left, int top, int width, int height, Pixel p, const ClipRect& clip);

  // Copies src with its top-left corner at (x, y), clipped to this bitmap and to clip.
  void DrawOpaque(const Bitmap32& src, int x, int y, const ClipRect& clip);
  void DrawOpaque(const Bitmap32& src, int x, int y) { DrawOpaque(src, x, y, FullRect()); }
  // Mixes src over this bitmap; each pixel weighs (its alpha x masterAlpha / 255) / 255.
  void DrawBlended(const Bitmap32& src, int x, int y, int masterAlpha, const ClipRect& clip);
  // Blends the colour in wherever src is not transparent, weighted by src's alpha.
  void DrawTinted(const Bitmap32& src, int x, int y, Pixel colour, int masterAlpha, const ClipRect& clip);
  void DrawBlended(const Bitmap32& src, int x, int y, int masterAlpha) {
    DrawBlended(src, x, y, masterAlpha, FullRect());
  }
  // Scales src to width x height with nearest-neighbour sampling, opaque.
  void DrawStretched(const Bitmap32& src, int x, int y, int width, int height, const ClipRect& clip);

  ClipRect FullRect() const { return {0, 0, width_, height_}; }

  bool operator==(const Bitmap32& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
  std::uint64_t revision_ = 0;
};
