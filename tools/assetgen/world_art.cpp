// Floor, base, builders, signs, menu icons and the things that lie on the field.
#include <cmath>

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
      case kRight: return {x + u * w, y + v * h};
      case kLeft: return {x + (1 - u) * w, y + v * h};
      case kDown: return {x + v * w, y + u * h};
      default: return {x + v * w, y + (1 - u) * h};
    }
  };
  const double head = 0.5, s = shaft / 2;
  Poly(b, {pt(0, 0.5 - s), pt(1 - head, 0.5 - s), pt(1 - head, 0), pt(1, 0.5), pt(1 - head, 1), pt(1 - head, 0.5 + s),
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
  RoundRect(body, 10, 16, 15, 10, 2, Px(pal::kBrass));          // chassis
  RoundRect(body, side ? 10 : 9, 5, side ? 15 : 17, 12, 3, Px(pal::kMetal));  // head
  Line(body, 17.5, 5, 17.5, 1.5, 1.2, Px(pal::kMetalDark));    // antenna
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

Bitmap32 DrawBaseFloor() {
  Bitmap32 b(kCell, kCell, Px(pal::kStone));
  Frame(b, 0, 0, kCell, kCell, 1, Px(pal::kStoneDark));
  Rect(b, 1, 1, kCell - 2, 1, Px(pal::kStoneLight));
  Rect(b, 1, 1, 1, kCell - 2, Px(pal::kStoneLight));
  Rect(b, 4, 16, 27, 3, Px(pal::kStoneDark));  // plate seam
  for (int c = 0; c < 4; ++c) {
    const double x = c % 2 ? 30.5 : 4.5, y = c / 2 ? 30.5 : 4.5;
    Disc(b, x, y, 1.6, 1.6, Px(pal::kStoneDark));
    Put(b, int(x) - 1, int(y) - 1, Px(pal::kStoneLight));
  }
  return b;
}

Bitmap32 DrawTurret() {
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 29, 13, 4);
  Bitmap32 t = NewCell();
  Poly(t, {{6, 30}, {29, 30}, {26, 20}, {9, 20}}, Px(pal::kMetalDark));  // pedestal
  Disc(t, 17.5, 17, 9, 8, Px(pal::kMetal));                               // dome
  Rect(t, 15, 20, 5, 13, Px(pal::kInk));                                  // barrel toward the field
  Finish(t);
  Disc(t, 17.5, 15, 3, 3, Px(pal::kGlow));
  Put(t, 16, 14, Px(pal::kWhite));
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

Bitmap32 DrawScrap(int size) {
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 28, 8 + 4 * size, 3 + size);
  Bitmap32 pile = NewCell();
  Rng rng(300 + size);
  const int pieces = 3 + 4 * size;
  const double spread = 5 + 3.5 * size;
  for (int i = 0; i < pieces; ++i) {
    const double x = 17.5 + rng.Signed() * spread, y = 25 - rng.Unit() * (3 + 4 * size);
    switch (i % 3) {
      case 0: Gear(pile, x, y, 2.6 + rng.Unit(), pal::kBrass); break;
      case 1: Poly(pile, {{x - 4, y + 1}, {x + 3, y - 3}, {x + 5, y + 2}, {x - 1, y + 3}}, Px(pal::kMetal)); break;
      default: Poly(pile, {{x - 3, y - 2}, {x + 4, y}, {x + 1, y + 3}, {x - 4, y + 2}}, Px(pal::kRust)); break;
    }
  }
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

Bitmap32 DrawRuin() {
  Bitmap32 b = NewCell();
  Shadow(b, 17.5, 30, 15, 3.5);
  Bitmap32 r = NewCell();
  Poly(r, {{3, 31}, {3, 8}, {9, 5}, {10, 31}}, Px(pal::kStoneLight));  // broken pillar
  Poly(r, {{24, 31}, {24, 14}, {28, 11}, {32, 15}, {32, 31}}, Px(pal::kStoneLight));
  Rect(r, 9, 21, 16, 10, Px(pal::kStone));  // low wall between
  for (int i = 0; i < 3; ++i) Rect(r, 10 + i * 5, 25, 1, 6, Px(pal::kStoneDark));
  Rect(r, 9, 25, 16, 1, Px(pal::kStoneDark));
  Finish(r);
  Disc(r, 16, 32, 2, 1.5, Px(pal::kStoneDark));
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

// Seven frames: a white flash that swells into fire and drifts away as smoke.
Bitmap32 DrawSplode(int frame) {
  Bitmap32 b = NewCell();
  const double t = frame / 6.0;
  const double r = 5 + 12 * std::sqrt(t);
  const int alpha = int(255 * (1 - 0.75 * t * t));
  Rng rng(600 + frame);
  for (int i = 0; i < 7; ++i) {  // smoke puffs grow with time
    const double a = i * 2 * M_PI / 7 + t;
    Disc(b, 17.5 + std::cos(a) * r * 0.6, 17.5 + std::sin(a) * r * 0.6, r * 0.45 + rng.Unit(), r * 0.45,
         Px(Mix(pal::kFire, pal::kStoneDark, t), alpha));
  }
  Disc(b, 17.5, 17.5, r * 0.8, r * 0.8, Px(Mix(pal::kFire, pal::kRust, t), alpha));
  if (frame < 5) Disc(b, 17.5, 17.5, r * 0.45 * (1 - t), r * 0.45 * (1 - t), Px(pal::kWhite, alpha));
  for (int i = 0; i < 6 && frame < 4; ++i) {  // sparks
    const double a = rng.Unit() * 2 * M_PI, d = r + 1 + rng.Unit() * 2;
    Put(b, int(17.5 + std::cos(a) * d), int(17.5 + std::sin(a) * d), Px(pal::kFire, alpha));
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
  Disc(b, 17.5, 19, 14, 9, Px(pal::kSandDark));
  Disc(b, 17.5, 17.5, 12, 7.5, Px(pal::kSandLight));
  Outline(b, Px(pal::kWoodDark));
  const Pixel crack = Px(pal::kEarthDark);
  Line(b, 10, 17, 16, 16, 1.3, crack);
  Line(b, 16, 16, 19, 19, 1.3, crack);
  Line(b, 19, 19, 25, 17, 1.3, crack);
  Line(b, 16, 16, 15, 12, 1, crack);
  Line(b, 19, 19, 20, 23, 1, crack);
  return b;
}

// ...and then gapes open.
Bitmap32 DrawHole() {
  Bitmap32 b = NewCell();
  Rng rng(700);
  for (int i = 0; i < 10; ++i) {  // thrown-up clods
    const double a = i * 2 * M_PI / 10;
    Disc(b, 17.5 + std::cos(a) * 14, 18 + std::sin(a) * 10, 2.2 + rng.Unit(), 1.8, Px(pal::kWood));
  }
  Disc(b, 17.5, 18, 13, 9.5, Px(pal::kWoodDark));
  Outline(b, Px(pal::kEarthDark));
  Disc(b, 17.5, 18.5, 10.5, 7, Px(pal::kEarthDark));
  Disc(b, 17.5, 19.5, 7.5, 4.5, Px(pal::kBlack));
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
