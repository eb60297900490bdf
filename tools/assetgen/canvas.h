// Palette and drawing primitives shared by every picture family of the generator.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "presentation/bitmap32.h"
#include "tools/assetgen/rng.h"

namespace assetgen {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

constexpr Pixel Px(Rgb c, int alpha = 255) { return MakePixel(c.r, c.g, c.b, alpha); }
Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b
Rgb Scale(Rgb c, double f);  // darker below 1, lighter above (clamped)

// One palette for everything, so the set reads as one game.
namespace pal {
constexpr Rgb kInk{28, 24, 30};  // outlines and dark text
constexpr Rgb kPaper{250, 246, 232};  // light panels and text boxes
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kSand{186, 164, 118};  // floor
constexpr Rgb kSandDark{160, 138, 96};
constexpr Rgb kSandLight{204, 184, 140};
constexpr Rgb kSnow{226, 234, 244};
constexpr Rgb kSnowShade{196, 210, 228};
constexpr Rgb kStone{132, 132, 140};
constexpr Rgb kStoneDark{92, 92, 104};
constexpr Rgb kStoneLight{176, 176, 186};
constexpr Rgb kMetal{120, 140, 160};
constexpr Rgb kMetalLight{178, 198, 214};
constexpr Rgb kMetalDark{70, 84, 102};
constexpr Rgb kBrass{222, 176, 60};
constexpr Rgb kBrassDark{160, 116, 30};
constexpr Rgb kWood{136, 92, 52};
constexpr Rgb kWoodDark{92, 60, 34};
constexpr Rgb kLeaf{60, 128, 64};
constexpr Rgb kLeafDark{34, 86, 44};
constexpr Rgb kLeafLight{104, 170, 84};
constexpr Rgb kRust{170, 96, 50};
constexpr Rgb kSignal{226, 36, 36};  // warnings, crosses, refusals
constexpr Rgb kSky{40, 46, 88};
constexpr Rgb kGlow{120, 220, 255};  // orb and beams of the base
constexpr Rgb kFire{255, 200, 60};
constexpr Rgb kEarthDark{58, 40, 28};
// The three kinds, in the colours of their beams.
constexpr Rgb kF{75, 75, 75};
constexpr Rgb kS{245, 0, 0};
constexpr Rgb kE{185, 245, 120};
}  // namespace pal

using Point = std::pair<double, double>;

// Every primitive clips to the bitmap and overwrites (Put) or mixes over (Over) what is there.
void Put(Bitmap32& b, int x, int y, Pixel p);
void Over(Bitmap32& b, int x, int y, Pixel p);
void Rect(Bitmap32& b, int x, int y, int w, int h, Pixel p);
void Frame(Bitmap32& b, int x, int y, int w, int h, int thickness, Pixel p);
void Disc(Bitmap32& b, double cx, double cy, double rx, double ry, Pixel p);
void Ring(Bitmap32& b, double cx, double cy, double r, double thickness, Pixel p);
void Line(Bitmap32& b, double x0, double y0, double x1, double y1, double width, Pixel p);
void Poly(Bitmap32& b, const std::vector<Point>& points, Pixel p);
void RoundRect(Bitmap32& b, int x, int y, int w, int h, int radius, Pixel p);
void VerticalGradient(Bitmap32& b, int x, int y, int w, int h, Rgb top, Rgb bottom);

// Puts a one-pixel outline of colour p around every pixel whose alpha is at least 128.
void Outline(Bitmap32& b, Pixel p);
// Lightens the upper-left rim and darkens the lower-right rim of the opaque shape.
void RimShade(Bitmap32& b, double light, double dark);
Bitmap32 MirrorX(const Bitmap32& b);
Bitmap32 MirrorY(const Bitmap32& b);
Bitmap32 Transpose(const Bitmap32& b);
// Mixes src over dst with src's own alpha (the opaque-over-transparent rule of a painter).
void Stamp(Bitmap32& dst, const Bitmap32& src, int x, int y);
// Multiplies every alpha by factor (0..1).
void FadeAlpha(Bitmap32& b, double factor);

}  // namespace assetgen

namespace assetgen {
// Every pixel becomes a factor x factor block (pixel art stays crisp).
Bitmap32 Enlarge(const Bitmap32& b, int factor);
// Fills a band with diagonal warning stripes of two colours.
void HazardStripes(Bitmap32& b, int x, int y, int w, int h, int period, Rgb a, Rgb c);
}  // namespace assetgen
