#include "tools/assetgen/icon.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "tools/assetgen/canvas.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace assetgen {

namespace {

// Desktops pick the nearest of these; 64 reads in menus, 256 on a launcher or a big screen.
constexpr int kIconSizes[] = {64, 256};

// Every coordinate below is on a 64-unit grid, scaled to the size being drawn.
struct Grid {
  double unit;
  double operator()(double v) const { return v * unit; }
  int Whole(double v) const { return int(v * unit + 0.5); }
};

// Outlines as thick as one grid unit, so the small and the big icon read alike.
void ThickOutline(Bitmap32& b, const Grid& g) {
  for (int i = 0, n = std::max(1, g.Whole(1)); i < n; ++i) Outline(b, Px(pal::kInk));
}

void Field(Bitmap32& b, const Grid& g) {
  RoundRect(b, g.Whole(2), g.Whole(2), g.Whole(60), g.Whole(60), g.Whole(10), Px(pal::kSky));
  RoundRect(b, g.Whole(2), g.Whole(36), g.Whole(60), g.Whole(26), g.Whole(10), Px(pal::kSand));
  Rect(b, g.Whole(2), g.Whole(36), g.Whole(60), g.Whole(10), Px(pal::kSand));
  Rect(b, g.Whole(2), g.Whole(36), g.Whole(60), std::max(1, g.Whole(1)), Px(pal::kSandDark));
}

void Orb(Bitmap32& b, const Grid& g) {
  for (int i = 0; i < 5; ++i) {
    const double r = g(15 - i * 1.8);
    Disc(b, g(32), g(18), r, r, Px(pal::kGlow, 40 + 14 * i));
  }
  Bitmap32 core(b.Width(), b.Height());
  Disc(core, g(32), g(18), g(8.5), g(8.5), Px(Mix(pal::kGlow, pal::kSky, 0.3)));
  RimShade(core, 1.35, 0.72);
  ThickOutline(core, g);
  Disc(core, g(32), g(18), g(4.5), g(4.5), Px(Mix(pal::kGlow, pal::kWhite, 0.5)));
  Disc(core, g(29.5), g(15), g(1.8), g(1.5), Px(pal::kWhite));
  Stamp(b, core, 0, 0);
}

// The kinds' own outlines, as the field shows them: F a horned block, S a ball, E a diamond.
void Bodies(Bitmap32& b, const Grid& g) {
  const Pixel f = Px(pal::kF), s = Px(pal::kS), e = Px(pal::kE);
  Poly(b, {{g(6), g(40)}, {g(9), g(40)}, {g(4), g(31)}}, f);
  Poly(b, {{g(17), g(40)}, {g(20), g(40)}, {g(22), g(31)}}, f);
  RoundRect(b, g.Whole(5), g.Whole(38), g.Whole(16), g.Whole(14), g.Whole(2), f);
  Disc(b, g(32), g(46), g(8), g(7.5), s);
  Line(b, g(32), g(39), g(34), g(34.5), g(1.6), s);
  Line(b, g(49), g(39), g(45), g(33), g(1.2), e);
  Line(b, g(53), g(39), g(57), g(33), g(1.2), e);
  Poly(b, {{g(51), g(37)}, {g(59.5), g(45.5)}, {g(51), g(54)}, {g(42.5), g(45.5)}}, e);
  RimShade(b, 1.35, 0.72);
}

void Eye(Bitmap32& b, double x, double y, double r, const Grid& g) {
  Disc(b, g(x), g(y), g(r), g(r), Px(pal::kWhite));
  Disc(b, g(x), g(y + r * 0.25), g(r * 0.5), g(r * 0.55), Px(pal::kInk));
}

void Faces(Bitmap32& b, const Grid& g) {
  for (double x : {7.0, 14.0}) {  // F's pale slits
    Rect(b, g.Whole(x), g.Whole(43), g.Whole(5), g.Whole(3), Px(pal::kWhite));
    Rect(b, g.Whole(x + 1.5), g.Whole(44), g.Whole(2), g.Whole(2), Px(pal::kInk));
  }
  Eye(b, 29, 44.5, 2.6, g);
  Eye(b, 35, 44.5, 2.6, g);
  Eye(b, 51, 44.5, 3.4, g);
}

bool WritePng(const std::filesystem::path& path, const Bitmap32& picture) {
  std::vector<unsigned char> rgba;
  rgba.reserve(picture.Pixels().size() * 4);
  for (const Pixel p : picture.Pixels())
    rgba.insert(rgba.end(), {static_cast<unsigned char>(PixelRed(p)), static_cast<unsigned char>(PixelGreen(p)),
                             static_cast<unsigned char>(PixelBlue(p)), static_cast<unsigned char>(PixelAlpha(p))});
  return stbi_write_png(path.c_str(), picture.Width(), picture.Height(), 4, rgba.data(), picture.Width() * 4) != 0;
}

}  // namespace

Bitmap32 DrawIcon(int size) {
  const Grid g{size / 64.0};
  Bitmap32 icon(size, size);
  Field(icon, g);
  ThickOutline(icon, g);
  Orb(icon, g);
  Bitmap32 kinds(size, size);
  Bodies(kinds, g);
  ThickOutline(kinds, g);
  Faces(kinds, g);
  Stamp(icon, kinds, 0, 0);
  return icon;
}

bool WriteIcons(const std::string& dir) {
  bool ok = true;
  for (const int size : kIconSizes) {
    const std::string side = std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(dir) / (side + "x" + side) / "apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !WritePng(folder / "mibbetfall.png", DrawIcon(size))) {
      std::fprintf(stderr, "assetgen: cannot write the %spx icon in %s\n", side.c_str(), folder.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace assetgen
