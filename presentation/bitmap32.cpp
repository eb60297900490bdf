#include "presentation/bitmap32.h"

#include <algorithm>

Bitmap32::Bitmap32(int width, int height, Pixel fill) { Resize(width, height, fill); }

ClipRect Intersection(const ClipRect& a, const ClipRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

ClipRect Union(const ClipRect& a, const ClipRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

// An assigned picture may reuse the storage it replaces, so its revision must move on.
Bitmap32& Bitmap32::operator=(const Bitmap32& other) {
  width_ = other.width_;
  height_ = other.height_;
  pixels_ = other.pixels_;
  ++revision_;
  return *this;
}

Bitmap32& Bitmap32::operator=(Bitmap32&& other) noexcept {
  width_ = other.width_;
  height_ = other.height_;
  pixels_ = std::move(other.pixels_);
  ++revision_;
  other.width_ = other.height_ = 0;
  ++other.revision_;
  return *this;
}

void Bitmap32::Resize(int width, int height, Pixel fill) {
  ++revision_;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(std::size_t(width_) * height_, fill);
}

void Bitmap32::Fill(Pixel p) {
  ++revision_;
  std::fill(pixels_.begin(), pixels_.end(), p);
}

void Bitmap32::FillRect(int left, int top, int width, int height, Pixel p, const ClipRect& clip) {
  const int x0 = std::max({left, 0, clip.Left}), x1 = std::min({left + width, width_, clip.Right});
  const int y0 = std::max({top, 0, clip.Top}), y1 = std::min({top + height, height_, clip.Bottom});
  for (int y = y0; y < y1; ++y) std::fill(Row(y) + x0, Row(y) + std::max(x0, x1), p);
}

namespace {

// The part of a source placed at (x, y) that falls inside both the target and the clip.
struct Span {
  int srcX, srcY, dstX, dstY, width, height;
  bool Empty() const { return width <= 0 || height <= 0; }
};

Span ClipSpan(int srcW, int srcH, int x, int y, int dstW, int dstH, const ClipRect& clip) {
  const int left = std::max({x, 0, clip.Left});
  const int top = std::max({y, 0, clip.Top});
  const int right = std::min({x + srcW, dstW, clip.Right});
  const int bottom = std::min({y + srcH, dstH, clip.Bottom});
  return {left - x, top - y, left, top, right - left, bottom - top};
}

inline Pixel MixChannel(int src, int dst, int weight) {
  return Pixel((src * weight + dst * (255 - weight) + 127) / 255);
}

}  // namespace

void Bitmap32::DrawOpaque(const Bitmap32& src, int x, int y, const ClipRect& clip) {
  const Span s = ClipSpan(src.width_, src.height_, x, y, width_, height_, clip);
  if (s.Empty()) return;
  for (int row = 0; row < s.height; ++row) {
    const Pixel* from = src.Row(s.srcY + row) + s.srcX;
    std::copy(from, from + s.width, Row(s.dstY + row) + s.dstX);
  }
}

namespace {

// Blends src into dst at (x, y), each pixel weighted by its alpha times the master alpha, in the
// colour colourOf gives for it: its own, or a tint's.
template <class ColourOf>
void BlendInto(Bitmap32& dst, const Bitmap32& src, int x, int y, int masterAlpha, const ClipRect& clip,
               ColourOf colourOf) {
  masterAlpha = std::clamp(masterAlpha, 0, 255);
  if (masterAlpha == 0) return;
  const Span s = ClipSpan(src.Width(), src.Height(), x, y, dst.Width(), dst.Height(), clip);
  if (s.Empty()) return;
  for (int row = 0; row < s.height; ++row) {
    const Pixel* from = src.Row(s.srcY + row) + s.srcX;
    Pixel* to = dst.Row(s.dstY + row) + s.dstX;
    for (int i = 0; i < s.width; ++i) {
      const int weight = (PixelAlpha(from[i]) * masterAlpha + 127) / 255;
      if (weight == 0) continue;
      const Pixel sp = colourOf(from[i]);
      if (weight == 255) {
        to[i] = sp | 0xFF000000u;
        continue;
      }
      const Pixel dp = to[i];
      to[i] = 0xFF000000u | (MixChannel(PixelRed(sp), PixelRed(dp), weight) << 16) |
              (MixChannel(PixelGreen(sp), PixelGreen(dp), weight) << 8) |
              MixChannel(PixelBlue(sp), PixelBlue(dp), weight);
    }
  }
}

}  // namespace

void Bitmap32::DrawBlended(const Bitmap32& src, int x, int y, int masterAlpha, const ClipRect& clip) {
  BlendInto(*this, src, x, y, masterAlpha, clip, [](Pixel own) { return own; });
}

void Bitmap32::DrawTinted(const Bitmap32& src, int x, int y, Pixel colour, int masterAlpha, const ClipRect& clip) {
  BlendInto(*this, src, x, y, masterAlpha, clip, [colour](Pixel) { return colour; });
}

void Bitmap32::DrawStretched(const Bitmap32& src, int x, int y, int width, int height, const ClipRect& clip) {
  if (src.Empty() || width <= 0 || height <= 0) return;
  const Span s = ClipSpan(width, height, x, y, width_, height_, clip);
  for (int row = 0; row < s.height; ++row) {
    const int sy = int((long long)(s.srcY + row) * src.height_ / height);
    Pixel* to = Row(s.dstY + row) + s.dstX;
    for (int i = 0; i < s.width; ++i) to[i] = src.At(int((long long)(s.srcX + i) * src.width_ / width), sy);
  }
}
