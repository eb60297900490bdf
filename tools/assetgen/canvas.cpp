#include "tools/assetgen/canvas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {
int Clamp255(double v) { return std::clamp(int(std::lround(v)), 0, 255); }
bool Inside(const Bitmap32& b, int x, int y) { return x >= 0 && y >= 0 && x < b.Width() && y < b.Height(); }
}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Clamp255(a.r + (b.r - a.r) * t), Clamp255(a.g + (b.g - a.g) * t), Clamp255(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb c, double f) {
  if (f <= 1.0) return {Clamp255(c.r * f), Clamp255(c.g * f), Clamp255(c.b * f)};
  return Mix(c, pal::kWhite, f - 1.0);
}

std::uint32_t Rng::Next() {
  // splitmix64: tiny, fast and identical on every platform.
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return std::uint32_t((z ^ (z >> 31)) >> 16);
}

int Rng::Range(int lo, int hiInclusive) { return lo + int(Next() % std::uint32_t(hiInclusive - lo + 1)); }

double Rng::Unit() { return double(Next() & 0xFFFFFF) / double(0x1000000); }

void Put(Bitmap32& b, int x, int y, Pixel p) {
  if (Inside(b, x, y)) b.Set(x, y, p);
}

void Over(Bitmap32& b, int x, int y, Pixel p) {
  if (!Inside(b, x, y)) return;
  const int a = PixelAlpha(p);
  if (a == 255) return b.Set(x, y, p);
  if (a == 0) return;
  const Pixel d = b.At(x, y);
  const int da = PixelAlpha(d);
  const int outA = a + da * (255 - a) / 255;
  if (outA == 0) return;
  auto ch = [&](int s, int t) { return (s * a + t * da * (255 - a) / 255) / outA; };
  b.Set(
      x, y,
      MakePixel(ch(PixelRed(p), PixelRed(d)), ch(PixelGreen(p), PixelGreen(d)), ch(PixelBlue(p), PixelBlue(d)), outA));
}

void Rect(Bitmap32& b, int x, int y, int w, int h, Pixel p) { b.FillRect(x, y, w, h, p); }

void Frame(Bitmap32& b, int x, int y, int w, int h, int t, Pixel p) {
  Rect(b, x, y, w, t, p);
  Rect(b, x, y + h - t, w, t, p);
  Rect(b, x, y, t, h, p);
  Rect(b, x + w - t, y, t, h, p);
}

void Disc(Bitmap32& b, double cx, double cy, double rx, double ry, Pixel p) {
  const int y0 = int(std::floor(cy - ry)), y1 = int(std::ceil(cy + ry));
  const int x0 = int(std::floor(cx - rx)), x1 = int(std::ceil(cx + rx));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) Over(b, x, y, p);
    }
}

void Ring(Bitmap32& b, double cx, double cy, double r, double t, Pixel p) {
  const int lo = int(std::floor(-r - 1)), hi = int(std::ceil(r + 1));
  for (int y = lo; y <= hi; ++y)
    for (int x = lo; x <= hi; ++x) {
      const double d = std::hypot(x + 0.5, y + 0.5);
      if (d <= r && d > r - t) Over(b, int(std::floor(cx)) + x, int(std::floor(cy)) + y, p);
    }
}

void Line(Bitmap32& b, double x0, double y0, double x1, double y1, double width, Pixel p) {
  const double len = std::max(std::hypot(x1 - x0, y1 - y0), 1e-9);
  const double half = width / 2.0;
  const int minX = int(std::floor(std::min(x0, x1) - half)), maxX = int(std::ceil(std::max(x0, x1) + half));
  const int minY = int(std::floor(std::min(y0, y1) - half)), maxY = int(std::ceil(std::max(y0, y1) + half));
  for (int y = minY; y <= maxY; ++y)
    for (int x = minX; x <= maxX; ++x) {
      const double px = x + 0.5 - x0, py = y + 0.5 - y0;
      const double t = std::clamp((px * (x1 - x0) + py * (y1 - y0)) / (len * len), 0.0, 1.0);
      const double dx = px - t * (x1 - x0), dy = py - t * (y1 - y0);
      if (dx * dx + dy * dy <= half * half) Over(b, x, y, p);
    }
}

void Poly(Bitmap32& b, const std::vector<Point>& pts, Pixel p) {
  if (pts.size() < 3) return;
  double minY = pts[0].second, maxY = minY;
  for (const auto& [x, y] : pts) minY = std::min(minY, y), maxY = std::max(maxY, y);
  for (int y = int(std::floor(minY)); y <= int(std::ceil(maxY)); ++y) {
    const double sy = y + 0.5;
    std::vector<double> xs;
    for (std::size_t i = 0; i < pts.size(); ++i) {
      const Point a = pts[i], c = pts[(i + 1) % pts.size()];
      if ((a.second <= sy) != (c.second <= sy))
        xs.push_back(a.first + (sy - a.second) * (c.first - a.first) / (c.second - a.second));
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
      for (int x = int(std::ceil(xs[i] - 0.5)); x < int(std::ceil(xs[i + 1] - 0.5)); ++x) Over(b, x, y, p);
  }
}

void RoundRect(Bitmap32& b, int x, int y, int w, int h, int r, Pixel p) {
  for (int yy = 0; yy < h; ++yy)
    for (int xx = 0; xx < w; ++xx) {
      const int cx = xx < r ? r - xx - 1 : (xx >= w - r ? xx - (w - r) : -1);
      const int cy = yy < r ? r - yy - 1 : (yy >= h - r ? yy - (h - r) : -1);
      if (cx >= 0 && cy >= 0 && (cx + 0.5) * (cx + 0.5) + (cy + 0.5) * (cy + 0.5) > r * r) continue;
      Over(b, x + xx, y + yy, p);
    }
}

void VerticalGradient(Bitmap32& b, int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int yy = 0; yy < h; ++yy) Rect(b, x, y + yy, w, 1, Px(Mix(top, bottom, h > 1 ? double(yy) / (h - 1) : 0)));
}

void Outline(Bitmap32& b, Pixel p) {
  const Bitmap32 src = b;
  auto solid = [&](int x, int y) { return Inside(src, x, y) && PixelAlpha(src.At(x, y)) >= 128; };
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (!solid(x, y) && (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1))) b.Set(x, y, p);
}

void RimShade(Bitmap32& b, double light, double dark) {
  const Bitmap32 src = b;
  auto solid = [&](int x, int y) { return Inside(src, x, y) && PixelAlpha(src.At(x, y)) >= 128; };
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      if (!solid(x, y)) continue;
      const Pixel s = src.At(x, y);
      const Rgb c{PixelRed(s), PixelGreen(s), PixelBlue(s)};
      if (!solid(x - 1, y) || !solid(x, y - 1)) b.Set(x, y, Px(Scale(c, light), PixelAlpha(s)));
      else if (!solid(x + 1, y) || !solid(x, y + 1)) b.Set(x, y, Px(Scale(c, dark), PixelAlpha(s)));
    }
}

Bitmap32 MirrorX(const Bitmap32& b) {
  Bitmap32 out(b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.Set(b.Width() - 1 - x, y, b.At(x, y));
  return out;
}

Bitmap32 MirrorY(const Bitmap32& b) {
  Bitmap32 out(b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.Set(x, b.Height() - 1 - y, b.At(x, y));
  return out;
}

Bitmap32 Transpose(const Bitmap32& b) {
  Bitmap32 out(b.Height(), b.Width());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.Set(y, x, b.At(x, y));
  return out;
}

void Stamp(Bitmap32& dst, const Bitmap32& src, int x, int y) {
  for (int yy = 0; yy < src.Height(); ++yy)
    for (int xx = 0; xx < src.Width(); ++xx) Over(dst, x + xx, y + yy, src.At(xx, yy));
}

void FadeAlpha(Bitmap32& b, double factor) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const Pixel p = b.At(x, y);
      b.Set(x, y, (p & 0x00FFFFFFu) | (Pixel(Clamp255(PixelAlpha(p) * factor)) << 24));
    }
}

}  // namespace assetgen

namespace assetgen {

Bitmap32 Enlarge(const Bitmap32& b, int factor) {
  Bitmap32 out(b.Width() * factor, b.Height() * factor);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.Set(x, y, b.At(x / factor, y / factor));
  return out;
}

void HazardStripes(Bitmap32& b, int x, int y, int w, int h, int period, Rgb a, Rgb c) {
  for (int yy = 0; yy < h; ++yy)
    for (int xx = 0; xx < w; ++xx) Put(b, x + xx, y + yy, Px(((xx + yy) / period) % 2 ? a : c));
}

}  // namespace assetgen
