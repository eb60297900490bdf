// Floor, base, builders, signs, menu icons and the things that lie on the field.
#include <cmath>
#include <tuple>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/pixel_font.h"

namespace assetgen {

namespace {

constexpr int kDown = 0, kUp = 1, kLeft = 2, kRight = 3;

Bitmap32 NewCell() { return Bitmap32(kCell, kCell); }

void Shadow(Bitmap32& b, double cx, double cy, double rx, double ry) {
  Disc(b, cx, cy, rx, ry, Px(pal::kEarthDark, 90));
}

void Finish(Bitmap32& b) {
  RimShade(b, 1.3, 0.75);
  Outline(b, Px(pal::kInk));
}

// A thick arrow with its tip at the box edge in the given direction, centred in the box.
void ArrowShape(Bitmap32& b, int dir, double x, double y, double w, double h, double shaft, Pixel p) {
  // Drawn pointing right, then turned by swapping axes.
  auto pt = [&](double u, double v) -> Point {
    switch (dir) {
      case kRight:
        return {x + u * w, y + v * h};
      case kLeft:
        return {x + (1 - u) * w, y + v * h};
      case kDown:
        return {x + v * w, y + u * h};
      default:
        return {x + v * w, y + (1 - u) * h};
    }
  };
  const double head = 0.5, s = shaft / 2;
  Poly(b,
       {pt(0, 0.5 - s), pt(1 - head, 0.5 - s), pt(1 - head, 0), pt(1, 0.5), pt(1 - head, 1), pt(1 - head, 0.5 + s),
        pt(0, 0.5 + s)},
       p);
}

void Gear(Bitmap32& b, double cx, double cy, double r, Rgb c) {
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    Line(b, cx, cy, cx + std::cos(a) * (r + 1.5), cy + std::sin(a) * (r + 1.5), 2.4, Px(c));
  }
  Disc(b, cx, cy, r, r, Px(c));
  Disc(b, cx, cy, r * 0.4, r * 0.4, Px(Scale(c, 0.55)));
}

}  // namespace

Bitmap32 DrawTile(bool snow) {
  const Rgb base = snow ? pal::kSnow : pal::kSand;
  const Rgb dark = snow ? pal::kSnowShade : pal::kSandDark;
  const Rgb light = snow ? pal::kWhite : pal::kSandLight;
  Bitmap32 b(kCell, kCell, Px(base));
  Rng rng(snow ? 2 : 1);
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const double n = rng.Signed();
      if (n > 0.86) Put(b, x, y, Px(light));
      else if (n < -0.86) Put(b, x, y, Px(Mix(base, dark, 0.7)));
    }
  for (int i = 0; i < 3; ++i) {  // a few pebbles or drifts
    const double x = 4 + rng.Unit() * 27, y = 4 + rng.Unit() * 27;
    Disc(b, x + 0.6, y + 0.6, 1.6, 1.1, Px(dark));
    Disc(b, x, y, 1.3, 0.9, Px(light));
  }
  // A faint seam on two sides lets the eye count cells without drawing a hard grid.
  for (int i = 0; i < kCell; ++i) {
    Put(b, i, kCell - 1, Px(Mix(base, dark, 0.45)));
    Put(b, kCell - 1, i, Px(Mix(base, dark, 0.45)));
  }
  return b;
}

Bitmap32 DrawCursor() {
  Bitmap32 b = NewCell();
  const Pixel ink = Px(pal::kInk), white = Px(pal::kWhite);
  for (int corner = 0; corner < 4; ++corner) {
    const int x = corner % 2 ? kCell - 10 : 0, y = corner / 2 ? kCell - 10 : 0;
    const int hx = corner % 2 ? kCell - 10 : 0, vy = corner / 2 ? kCell - 10 : 0;
    Rect(b, hx, corner / 2 ? kCell - 4 : 0, 10, 4, ink);
    Rect(b, corner % 2 ? kCell - 4 : 0, vy, 4, 10, ink);
    Rect(b, x + (corner % 2 ? 1 : 1), corner / 2 ? kCell - 3 : 1, 8, 2, white);
    Rect(b, corner % 2 ? kCell - 3 : 1, y + 1, 2, 8, white);
  }
  return b;
}

// A small tracked robot with a boxy head, an antenna and a visor.
Bitmap32 DrawBuilder(int facing) {
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 31, 11, 2.6);
  const bool side = facing == kLeft || facing == kRight;
  // Tracks.
  if (side) {
    RoundRect(b, 8, 24, 19, 8, 4, Px(pal::kInk));
    for (int i = 0; i < 3; ++i) Disc(b, 12 + i * 5.5, 28, 1.8, 1.8, Px(pal::kStoneLight));
  } else {
    RoundRect(b, 7, 24, 6, 8, 2, Px(pal::kInk));
    RoundRect(b, 22, 24, 6, 8, 2, Px(pal::kInk));
  }
  Bitmap32 body = NewCell();
  RoundRect(body, 10, 16, 15, 10, 2, Px(pal::kBrass));  // chassis
  RoundRect(body, side ? 10 : 9, 5, side ? 15 : 17, 12, 3, Px(pal::kMetal));  // head
  Line(body, 17.5, 5, 17.5, 1.5, 1.2, Px(pal::kMetalDark));  // antenna
  if (facing == kDown) {
    Rect(body, 5, 18, 5, 3, Px(pal::kMetalDark));  // arms out to the sides
    Rect(body, 25, 18, 5, 3, Px(pal::kMetalDark));
  } else if (side) {
    Rect(body, facing == kLeft ? 6 : 25, 19, 4, 3, Px(pal::kMetalDark));
  }
  Finish(body);
  Disc(body, 17.5, 1.8, 1.6, 1.6, Px(pal::kSignal));  // the antenna light
  if (facing == kDown) {
    Rect(body, 11, 9, 13, 5, Px(pal::kInk));
    Rect(body, 13, 10, 3, 3, Px(pal::kGlow));
    Rect(body, 19, 10, 3, 3, Px(pal::kGlow));
    Rect(body, 14, 19, 7, 4, Px(pal::kBrassDark));
  } else if (facing == kUp) {
    Rect(body, 12, 8, 11, 6, Px(pal::kMetalDark));
    for (int i = 0; i < 3; ++i) Rect(body, 13, 9 + 2 * i, 9, 1, Px(pal::kMetalLight));
    Rect(body, 13, 19, 9, 4, Px(pal::kBrassDark));
  } else {
    const int vx = facing == kLeft ? 10 : 19;
    Rect(body, vx, 9, 6, 5, Px(pal::kInk));
    Rect(body, vx + (facing == kLeft ? 1 : 2), 10, 3, 3, Px(pal::kGlow));
  }
  Stamp(b, body, 0, 0);
  return b;
}

// Riveted deck plate with a raised tread: the base reads as built ground next to the sand, and
// neighbouring cells join into one deck along their bevelled seams.
Bitmap32 DrawBaseFloor() {
  Bitmap32 b(kCell, kCell, Px(pal::kStone));
  for (int y = 3; y < kCell - 3; y += 5)
    for (int x = 3 + (y / 5 % 2) * 3; x < kCell - 4; x += 6) {  // staggered tread, alternately slanted
      const bool rising = (x / 6 + y / 5) % 2;
      Put(b, x + (rising ? 0 : 1), y, Px(pal::kStoneLight));
      Put(b, x + (rising ? 1 : 0), y + 1, Px(pal::kStoneLight));
      Put(b, x + (rising ? 1 : 2), y + 1, Px(pal::kStoneDark));
      Put(b, x + (rising ? 2 : 1), y + 2, Px(pal::kStoneDark));
    }
  Rect(b, 0, 0, kCell, 1, Px(pal::kStoneLight));
  Rect(b, 0, 0, 1, kCell, Px(pal::kStoneLight));
  Rect(b, 0, kCell - 1, kCell, 1, Px(pal::kStoneDark));
  Rect(b, kCell - 1, 0, 1, kCell, Px(pal::kStoneDark));
  for (int c = 0; c < 4; ++c) {
    const double x = c % 2 ? 31.5 : 3.5, y = c / 2 ? 31.5 : 3.5;
    Disc(b, x, y, 1.7, 1.7, Px(pal::kStoneDark));
    Put(b, int(x) - 1, int(y) - 1, Px(pal::kWhite));
  }
  return b;
}

// Seen from above and in front: a riveted base, a dome with its sight, and a gun barrel pointing
// down the field, twin barrels lit along one side and ending in muzzles.
Bitmap32 DrawTurret() {
  Bitmap32 b = NewCell();
  Shadow(b, 18.5, 24, 14, 6);
  Bitmap32 t = NewCell();
  Poly(t, {{9, 3}, {26, 3}, {31, 8}, {31, 19}, {26, 24}, {9, 24}, {4, 19}, {4, 8}}, Px(pal::kMetalDark));
  for (const auto& [x, y] : std::vector<Point>{{7.5, 7.5}, {27.5, 7.5}, {7.5, 20.5}, {27.5, 20.5}})
    Disc(t, x, y, 1.2, 1.2, Px(pal::kMetalLight));
  Disc(t, 17.5, 12.5, 8.5, 8, Px(pal::kMetal));  // dome
  Disc(t, 15.5, 10, 4, 3, Px(pal::kMetalLight));
  Rect(t, 10, 17, 15, 5, Px(pal::kMetalDark));  // mantlet
  for (int x : {11, 20}) {  // twin barrels
    Rect(t, x, 19, 4, 12, Px(pal::kStoneDark));
    Rect(t, x, 19, 1, 12, Px(pal::kStoneLight));
    Rect(t, x - 1, 29, 6, 5, Px(pal::kStoneDark));  // muzzle
    Rect(t, x - 1, 29, 6, 1, Px(pal::kStoneLight));
  }
  Finish(t);
  for (int x : {11, 20}) Rect(t, x + 1, 32, 2, 2, Px(pal::kInk));  // the bores
  Rect(t, 20, 8, 4, 3, Px(pal::kInk));  // sight
  Rect(t, 21, 9, 2, 1, Px(pal::kGlow));
  Stamp(b, t, 0, 0);
  return b;
}

// A board on a post with a fat arrow: the direction it pushes a Mibbet.
Bitmap32 DrawSign(int direction) {
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 32, 7, 2);
  Bitmap32 s = NewCell();
  Rect(s, 15, 20, 5, 13, Px(pal::kWood));
  RoundRect(s, 3, 3, 29, 21, 3, Px(pal::kBrass));
  Finish(s);
  RoundRect(s, 5, 5, 25, 17, 2, Px(pal::kPaper));
  const bool vertical = direction == kDown || direction == kUp;
  if (vertical) ArrowShape(s, direction, 11, 5.5, 13, 16, 0.42, Px(pal::kInk));
  else ArrowShape(s, direction, 6.5, 6, 22, 15, 0.42, Px(pal::kInk));
  Stamp(b, s, 0, 0);
  return b;
}

Bitmap32 DrawCancel() {
  Bitmap32 b = NewCell();
  Ring(b, 17.5, 17.5, 14, 4.5, Px(pal::kSignal));
  Line(b, 8, 8, 27, 27, 4.5, Px(pal::kSignal));
  Outline(b, Px(pal::kInk));
  return b;
}

// "Destroy": a sign with a hammer coming down on it and a red cross over the board.
Bitmap32 DrawDestroy() {
  Bitmap32 b = NewCell();
  Bitmap32 s = NewCell();
  Rect(s, 15, 20, 5, 13, Px(pal::kWood));
  RoundRect(s, 4, 10, 27, 14, 3, Px(pal::kPaper));
  Finish(s);
  Stamp(b, s, 0, 0);
  Line(b, 6, 8, 29, 30, 4, Px(pal::kSignal));
  Line(b, 29, 8, 6, 30, 4, Px(pal::kSignal));
  Bitmap32 h = NewCell();  // hammer
  Line(h, 22, 12, 31, 3, 2.4, Px(pal::kWood));
  Poly(h, {{16, 4}, {22, 0}, {28, 7}, {22, 11}}, Px(pal::kMetal));
  Finish(h);
  Stamp(b, h, 0, 0);
  return b;
}

// "Get": a magnet pulling a bolt, labelled, for gathering scrap from what lies on the cell.
Bitmap32 DrawGet() {
  Bitmap32 b = NewCell();
  Bitmap32 m = NewCell();
  Ring(m, 17.5, 15, 11, 6, Px(pal::kSignal));
  Rect(m, 6, 1, 30, 14, 0);
  Rect(m, 6, 14, 6, 0, 0);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < kCell; ++x) Put(m, x, y, 0);
  Rect(m, 6, 4, 6, 11, Px(pal::kSignal));
  Rect(m, 23, 4, 6, 11, Px(pal::kSignal));
  Rect(m, 6, 1, 6, 4, Px(pal::kMetalLight));
  Rect(m, 23, 1, 6, 4, Px(pal::kMetalLight));
  Finish(m);
  Stamp(b, m, 0, 0);
  Gear(b, 17.5, 9, 3.2, pal::kBrass);
  const TextStyle label{1, Px(pal::kWhite), 1, true, Px(pal::kInk)};
  DrawString(b, "GET", 17 - TextWidth("GET", label) / 2, 27, label);
  return b;
}

namespace {

// Pieces of a scrap heap, each drawn about a point: a bent sheet, a bolt, a length of pipe, a gear.
enum class Piece { Plate, Bolt, Pipe, Gear };
struct HeapPiece {
  Piece kind;
  double x, y, size;
};

void DrawPiece(Bitmap32& b, const HeapPiece& p) {
  const double x = p.x, y = p.y, s = p.size;
  switch (p.kind) {
    case Piece::Plate:
      Poly(b, {{x - 4 * s, y + 1.5 * s}, {x - 2 * s, y - 2.5 * s}, {x + 4 * s, y - 1.5 * s}, {x + 3 * s, y + 2.5 * s}},
           Px(Mix(pal::kMetal, pal::kMetalLight, 0.4)));
      Line(b, x - 2 * s, y - 2.5 * s, x + 4 * s, y - 1.5 * s, 1, Px(pal::kMetalLight));
      Put(b, int(x - s), int(y), Px(pal::kMetalDark));
      Put(b, int(x + 2 * s), int(y), Px(pal::kMetalDark));
      break;
    case Piece::Bolt:
      Line(b, x, y, x + 4 * s, y - 1.5 * s, 1.6, Px(pal::kStoneLight));
      Disc(b, x, y, 1.9 * s, 1.9 * s, Px(pal::kStone));
      Put(b, int(x), int(y), Px(pal::kStoneDark));
      break;
    case Piece::Pipe:
      Line(b, x - 4 * s, y + s, x + 4 * s, y - s, 3.4 * s, Px(pal::kRust));
      Line(b, x - 4 * s, y + s - 1, x + 4 * s, y - s - 1, 1, Px(Scale(pal::kRust, 1.35)));
      Disc(b, x + 4 * s, y - s, 1.6 * s, 1.8 * s, Px(pal::kEarthDark));
      break;
    case Piece::Gear:
      Gear(b, x, y, 2.8 * s, pal::kBrass);
      break;
  }
}

}  // namespace

// A heap of metal that grows with its size: a few bits, a mound, then a pile nearly a cell wide.
Bitmap32 DrawScrap(int size) {
  using enum Piece;
  static const std::vector<HeapPiece> kHeaps[3] = {
      {{Plate, 15, 24, 1.1}, {Gear, 21, 23, 1}, {Bolt, 11, 27, 1}},
      {{Pipe, 17, 22, 1}, {Plate, 11, 25, 1}, {Gear, 22, 20, 1.1}, {Plate, 22, 26, 0.9}, {Bolt, 15, 28, 1}},
      {{Plate, 11, 17, 1.1},
       {Gear, 24, 15, 1.3},
       {Pipe, 16, 20, 1.1},
       {Plate, 24, 23, 1.1},
       {Bolt, 9, 24, 1},
       {Gear, 14, 26, 1},
       {Plate, 20, 28, 1},
       {Bolt, 27, 28, 1}}};
  const double mound[3][3] = {{17, 27, 6}, {17, 26, 9.5}, {17.5, 24, 13}};  // centre x, y and half width
  Bitmap32 b = NewCell();
  const auto& [mx, my, half] = mound[size];
  Shadow(b, mx, my + 3, half + 2, 3 + size);
  Bitmap32 pile = NewCell();
  Disc(pile, mx, my + 1, half, 2.5 + 2.5 * size,
       Px(Mix(pal::kMetalDark, pal::kRust, 0.35)));  // the heap under the pieces
  Rng rng(300 + size);
  for (int i = 0; i < 6 + 6 * size; ++i)  // small fragments in the heap
    Put(pile, int(mx + rng.Signed() * half * 0.8), int(my + 1 + rng.Signed() * (1.5 + 2 * size)),
        Px(rng.Unit() < 0.5 ? pal::kMetalLight : pal::kRust));
  for (const HeapPiece& piece : kHeaps[size]) DrawPiece(pile, piece);
  Finish(pile);
  Stamp(b, pile, 0, 0);
  return b;
}

Bitmap32 DrawTree(int variant) {
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 31, 11, 3);
  Bitmap32 t = NewCell();
  Rect(t, 15, 20, 5, 12, Px(pal::kWood));
  if (variant == 0) {  // a round leafy crown
    Disc(t, 17.5, 13, 12, 10.5, Px(pal::kLeaf));
    Disc(t, 10, 17, 6, 5, Px(pal::kLeaf));
    Disc(t, 25, 17, 6, 5, Px(pal::kLeaf));
  } else {  // a pine
    for (int i = 0; i < 3; ++i)
      Poly(t, {{17.5, 1.5 + 7 * i}, {28.5 - 2 * (2 - i), 13.0 + 7 * i}, {6.5 + 2 * (2 - i), 13.0 + 7 * i}},
           Px(pal::kLeafDark));
  }
  Finish(t);
  Rng rng(400 + variant);
  for (int i = 0; i < 9; ++i) {
    const int x = 8 + rng.Range(0, 19), y = 5 + rng.Range(0, 14);
    if (PixelAlpha(t.At(x, y)) == 255 && PixelRed(t.At(x, y)) < 120) Put(t, x, y, Px(pal::kLeafLight));
  }
  Stamp(b, t, 0, 0);
  return b;
}

Bitmap32 DrawRock(int variant) {
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 29, 14, 4);
  Bitmap32 r = NewCell();
  if (variant == 0) {
    Poly(r, {{5, 28}, {7, 15}, {14, 8}, {24, 9}, {30, 17}, {31, 28}}, Px(pal::kStone));
    Line(r, 14, 12, 18, 22, 1.2, Px(pal::kStoneDark));
  } else {
    Poly(r, {{4, 29}, {6, 21}, {12, 17}, {17, 18}, {20, 12}, {27, 12}, {31, 20}, {31, 29}}, Px(pal::kStone));
    Line(r, 19, 16, 22, 26, 1.2, Px(pal::kStoneDark));
  }
  Finish(r);
  Stamp(b, r, 0, 0);
  return b;
}

namespace {

// Cuts courses of blocks into every opaque pixel: mortar lines every fourth row, joints staggered.
void Masonry(Bitmap32& b, Rgb mortar) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      if (PixelAlpha(b.At(x, y)) < 128) continue;
      if (y % 4 == 3 || (x + (y / 4 % 2) * 3) % 6 == 0) b.Set(x, y, Px(mortar));
    }
}

}  // namespace

// A broken arch of laid stone, moss on its ledges and fallen blocks at its foot.
Bitmap32 DrawRuin() {
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 30, 15, 3.5);
  Bitmap32 r = NewCell();
  Poly(r, {{3, 31}, {3, 8}, {5, 6}, {7, 8}, {9, 5}, {11, 7}, {11, 31}}, Px(pal::kStoneLight));  // left pillar
  Poly(r, {{11, 9}, {16, 6}, {19, 6}, {20, 9}, {18, 12}, {14, 12}, {11, 14}}, Px(pal::kStoneLight));  // arch stub
  Poly(r, {{24, 31}, {24, 17}, {26, 15}, {28, 17}, {30, 14}, {32, 16}, {32, 31}}, Px(pal::kStoneLight));
  Masonry(r, pal::kStone);
  Poly(r, {{12, 31}, {13, 26}, {19, 25}, {20, 31}}, Px(pal::kStone));  // fallen blocks
  Rect(r, 19, 28, 5, 4, Px(pal::kStoneLight));
  Finish(r);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{4, 6}, {9, 5}, {27, 15}, {30, 14}, {17, 7}})
    Rect(r, x, y, 2, 1, Px(pal::kLeafLight));  // moss on the broken tops
  Rect(r, 3, 29, 3, 2, Px(pal::kLeaf));
  Rect(r, 29, 29, 3, 2, Px(pal::kLeaf));
  Stamp(b, r, 0, 0);
  return b;
}

// The orb pulses: its halo and core swell and fade across the four frames.
Bitmap32 DrawOrb(int frame) {
  Bitmap32 b = NewCell();
  const double phase = std::sin(frame * M_PI / 2);  // 0, 1, 0, -1
  const double halo = 14 + 2.5 * phase;
  for (int i = 0; i < 5; ++i) {
    const double r = halo - i * 1.6;
    Disc(b, 17.5, 17.5, r, r, Px(pal::kGlow, int(30 + 12 * i + 10 * phase)));
  }
  Bitmap32 core = NewCell();
  Disc(core, 17.5, 17.5, 8.5, 8.5, Px(Mix(pal::kGlow, pal::kSky, 0.35 - 0.15 * phase)));
  Finish(core);
  Disc(core, 17.5, 17.5, 4.5 + phase, 4.5 + phase, Px(Mix(pal::kGlow, pal::kWhite, 0.4 + 0.2 * phase)));
  Disc(core, 15, 14.5, 1.8, 1.5, Px(pal::kWhite));
  Stamp(b, core, 0, 0);
  return b;
}

namespace {

// A lumpy ball of radius r: a core and a ring of puffs, shaped by the frame's own seed.
void Puffs(Bitmap32& b, double r, Pixel p, std::uint64_t seed) {
  Rng rng(seed);
  Disc(b, 17.5, 17.5, r * 0.68, r * 0.68, p);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4 + rng.Unit() * 0.4, d = r * (0.5 + 0.12 * rng.Unit()),
                 pr = r * (0.38 + 0.1 * rng.Unit());
    Disc(b, 17.5 + std::cos(a) * d, 17.5 + std::sin(a) * d, pr, pr, p);
  }
}

}  // namespace

// Seven frames: a white flash, a fireball that fills the cell, and smoke that thins away. The fire
// is ringed in dark red so it reads on sand, snow and deck alike; the first two frames are the
// flash of a hit.
Bitmap32 DrawSplode(int frame) {
  Bitmap32 b = NewCell();
  const double radius[7] = {10, 14, 16.5, 17, 16.5, 17, 17.5};
  const double fire[7] = {1.0, 1.0, 0.9, 0.65, 0.4, 0.2, 0.0};  // how much of the ball still burns
  const int smokeAlpha[7] = {0, 0, 0, 230, 220, 170, 110};
  const double r = radius[frame];
  const std::uint64_t seed = 600 + std::uint64_t(frame);
  if (smokeAlpha[frame]) {
    Puffs(b, r, Px(Scale(pal::kStoneDark, 0.75), smokeAlpha[frame]), seed);
    Puffs(b, r * 0.8, Px(pal::kStoneDark, smokeAlpha[frame]), seed + 10);
  }
  Bitmap32 f = NewCell();
  if (fire[frame] > 0) {
    const double fr = r * fire[frame];
    Puffs(f, fr, Px({228, 60, 24}), seed + 20);
    Puffs(f, fr * 0.75, Px({255, 140, 30}), seed + 30);
    Puffs(f, fr * 0.5, Px(pal::kFire), seed + 40);
    if (frame < 4) Disc(f, 17.5, 17.5, fr * 0.28, fr * 0.28, Px(pal::kWhite));
  }
  if (frame < 2) {  // the flash throws rays past the ball
    for (int i = 0; i < 8; ++i) {
      const double a = i * M_PI / 4 + M_PI / 8, len = i % 2 ? r + 2 : r + 5;
      Line(f, 17.5, 17.5, 17.5 + std::cos(a) * len, 17.5 + std::sin(a) * len, 2.2, Px(pal::kFire));
    }
    Disc(f, 17.5, 17.5, r * 0.45, r * 0.45, Px(pal::kWhite));
  }
  Outline(f, Px({110, 24, 10}));
  Stamp(b, f, 0, 0);
  Rng sparks(700 + std::uint64_t(frame));
  for (int i = 0; i < 8 && frame >= 2 && frame < 6; ++i) {  // embers flung outwards
    const double a = sparks.Unit() * 2 * M_PI, d = r * 0.6 + sparks.Unit() * r * 0.45;
    Rect(b, int(17.5 + std::cos(a) * d), int(17.5 + std::sin(a) * d), 2, 2, Px(pal::kFire));
  }
  return b;
}

Bitmap32 DrawSpeech(bool second) {
  Bitmap32 b = NewCell();
  RoundRect(b, 1, 4, 33, 20, 6, Px(pal::kPaper));
  Poly(b, {{11, 23}, {19, 23}, {13, 32}}, Px(pal::kPaper));
  Outline(b, Px(pal::kInk));
  const std::string word = second ? "BET!" : "MIB!";
  const TextStyle st{1, Px(pal::kInk), 1, false, 0, true};
  DrawString(b, word, 18 - TextWidth(word, st) / 2, 10, st);
  return b;
}

Bitmap32 DrawRedSquare() {
  Bitmap32 b(kCell, kCell, Px(pal::kSignal, 110));
  Frame(b, 0, 0, kCell, kCell, 3, Px(pal::kSignal, 220));
  for (int i = 0; i < kCell; ++i) {  // hatching keeps the mark readable without relying on red
    Put(b, i, i, Px(pal::kSignal, 220));
    Put(b, kCell - 1 - i, i, Px(pal::kSignal, 220));
  }
  return b;
}

// The ground swells and cracks where a hole is about to open...
Bitmap32 DrawBump() {
  Bitmap32 b = NewCell();
  Shadow(b, 18.5, 23, 15, 6);
  Bitmap32 m = NewCell();
  Disc(m, 17.5, 19, 14, 9, Px(Mix(pal::kSandDark, pal::kWood, 0.5)));  // the floor heaved up, lit from the upper left
  Disc(m, 16.5, 17.5, 12, 7, Px(pal::kSand));
  Disc(m, 15.5, 16, 8, 4.5, Px(pal::kSandLight));
  Outline(m, Px(Mix(pal::kSandDark, pal::kEarthDark, 0.6)));
  const Pixel crack = Px(pal::kEarthDark);  // a split across the crown with a branch off it
  for (const auto& [x0, y0, x1, y1] : std::vector<std::tuple<double, double, double, double>>{
           {8, 19, 13, 15}, {13, 15, 17, 18}, {17, 18, 22, 14}, {22, 14, 27, 17}, {17, 18, 16, 23}, {22, 14, 23, 11}})
    Line(m, x0, y0, x1, y1, 1.5, crack);
  for (const auto& [x, y] : std::vector<Point>{{5, 9}, {30, 10}, {31, 25}})  // pebbles thrown up
    Disc(m, x, y, 1.3, 1.1, Px(pal::kWood));
  Stamp(b, m, 0, 0);
  return b;
}

// ...and then gapes open: a ragged pit, its far wall in the light, its bottom out of sight.
Bitmap32 DrawHole() {
  Bitmap32 b = NewCell();
  Rng rng(700);
  for (int i = 0; i < 9; ++i) {  // thrown-up clods, strewn unevenly
    const double a = (i + 0.6 * rng.Signed()) * 2 * M_PI / 9, d = 1 + 0.12 * rng.Signed();
    Disc(b, 17.5 + std::cos(a) * 14.5 * d, 18 + std::sin(a) * 11 * d, 1.6 + rng.Unit(), 1.5, Px(pal::kWood));
  }
  std::vector<Point> rim;
  for (int i = 0; i < 16; ++i) {
    const double a = i * 2 * M_PI / 16, k = 0.85 + 0.22 * rng.Unit();
    rim.push_back({17.5 + std::cos(a) * 13.5 * k, 18 + std::sin(a) * 10 * k});
  }
  Poly(b, rim, Px(pal::kWoodDark));
  Outline(b, Px(pal::kEarthDark));
  Disc(b, 17.5, 18, 10.5, 7.5, Px(pal::kEarthDark));  // the pit
  Disc(b, 17.5, 16.5, 9.5, 4.5, Px(pal::kWood));  // far wall, lit
  Disc(b, 17.5, 18, 9.5, 4.5, Px(pal::kEarthDark));
  Disc(b, 17.5, 20, 7.5, 4.5, Px(pal::kBlack));
  return b;
}

Bitmap32 DrawTrans() { return NewCell(); }

Bitmap32 DrawGift(int theme) {
  const Rgb boxes[3] = {{70, 110, 220}, {240, 150, 40}, {210, 30, 40}};
  const Rgb ribbons[3] = {pal::kBrass, {70, 170, 90}, {60, 160, 70}};
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 30, 13, 3);
  Bitmap32 g = NewCell();
  Rect(g, 6, 13, 23, 17, Px(boxes[theme]));
  Rect(g, 4, 9, 27, 6, Px(Scale(boxes[theme], 1.15)));
  Rect(g, 15, 9, 5, 21, Px(ribbons[theme]));
  Disc(g, 12.5, 6.5, 4, 3, Px(ribbons[theme]));
  Disc(g, 22.5, 6.5, 4, 3, Px(ribbons[theme]));
  Finish(g);
  Stamp(b, g, 0, 0);
  return b;
}

// Tutorial pointers: vertical ones are 35 x 70, horizontal ones 50 x 35, tip at the far edge.
Bitmap32 DrawArrow(int direction) {
  const bool vertical = direction == kDown || direction == kUp;
  Bitmap32 b(vertical ? 35 : 50, vertical ? 70 : 35);
  if (vertical) ArrowShape(b, direction, 3, 1, 29, 68, 0.38, Px(pal::kWhite));
  else ArrowShape(b, direction, 1, 3, 48, 29, 0.38, Px(pal::kWhite));
  Outline(b, Px(pal::kInk));
  Outline(b, Px(pal::kInk));
  return b;
}

Bitmap32 DrawRedCross() {
  Bitmap32 b = NewCell();
  Line(b, 5, 5, 30, 30, 6, Px(pal::kSignal));
  Line(b, 30, 5, 5, 30, 6, Px(pal::kSignal));
  Outline(b, Px(pal::kWhite));
  return b;
}

}  // namespace assetgen
