// Menu frames, side-panel pictures and the full screens laid over the playfield.
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/pixel_font.h"

namespace assetgen {

namespace {

const TextStyle kSmallLight{1, Px(pal::kPaper), 1, false, 0, true};
const TextStyle kBody{2, Px(pal::kPaper), 1};

// A menu: metal frame, a labelled title strip, wells for the icons and a white price strip.
Bitmap32 MenuFrame(int w, int h, const std::string& title, const std::vector<std::pair<int, int>>& slots, int priceY) {
  Bitmap32 b(w, h, Px(pal::kMetalDark));
  Rect(b, 1, 1, w - 2, h - 2, Px(pal::kMetal));
  Rect(b, 1, 1, w - 2, 1, Px(pal::kMetalLight));
  Rect(b, 1, 1, 1, h - 2, Px(pal::kMetalLight));
  Rect(b, 2, 2, w - 4, 12, Px(pal::kMetalDark));
  DrawString(b, title, (w - TextWidth(title, kSmallLight)) / 2, 4, kSmallLight);
  for (const auto& [x, y] : slots) {
    Frame(b, x - 1, y - 1, 37, 37, 1, Px(pal::kInk));
    Rect(b, x, y, 35, 35, Px(pal::kPaper));
  }
  // The price is drawn in the dark-on-white glyphs, so its strip is white.
  Rect(b, 2, priceY - 2, w - 4, h - priceY, Px(pal::kWhite));
  Frame(b, 2, priceY - 2, w - 4, h - priceY, 1, Px(pal::kInk));
  const TextStyle label{1, Px(pal::kStoneDark), 1};
  DrawString(b, "COST", 3, priceY + 6, label);
  return b;
}

Bitmap32 OnWhite(const Bitmap32& art) {
  Bitmap32 b(kCell, kCell, Px(pal::kWhite));
  Stamp(b, art, 0, 0);
  return b;
}

void ArrowBetween(Bitmap32& b, double x0, double y0, double x1, double y1) {
  const double len = std::hypot(x1 - x0, y1 - y0), ux = (x1 - x0) / len, uy = (y1 - y0) / len;
  const double tipX = x1, tipY = y1, baseX = x1 - ux * 9, baseY = y1 - uy * 9;
  Line(b, x0, y0, baseX, baseY, 3, Px(pal::kInk));
  Poly(b, {{tipX, tipY}, {baseX - uy * 6, baseY + ux * 6}, {baseX + uy * 6, baseY - ux * 6}}, Px(pal::kInk));
}

void Stars(Bitmap32& b, int count, int maxY, std::uint64_t seed) {
  Rng rng(seed);
  for (int i = 0; i < count; ++i) {
    const int x = rng.Range(0, b.Width() - 1), y = rng.Range(0, maxY);
    Put(b, x, y, Px(Mix(pal::kSky, pal::kWhite, 0.4 + 0.6 * rng.Unit())));
  }
}

void TileFloor(Bitmap32& b, int top) {
  const Bitmap32 tile = DrawTile(false);
  for (int y = top; y < b.Height(); y += kCell)
    for (int x = 0; x < b.Width(); x += kCell) b.DrawOpaque(tile, x, y);
}

void Rivets(Bitmap32& b, int x, int y, int w, int h, int step) {
  for (int yy = y; yy < y + h; yy += step)
    for (int xx = x; xx < x + w; xx += step) {
      Disc(b, xx + 0.5, yy + 0.5, 2, 2, Px(pal::kMetalDark));
      Put(b, xx - 1, yy - 1, Px(pal::kMetalLight));
    }
}

Bitmap32 MetalBand(int w, int h) {
  Bitmap32 b(w, h);
  VerticalGradient(b, 0, 0, w, h, pal::kMetal, pal::kMetalDark);
  return b;
}

// A march of Mibbets, enlarged, as on the title and the closing frame.
void Procession(Bitmap32& b, int y, int count, int facing, int scale, std::uint64_t seed) {
  Rng rng(seed);
  const int step = b.Width() / count;
  for (int i = 0; i < count; ++i) {
    const Bitmap32 m = Enlarge(DrawMibbet(i % 3, facing), scale);
    Stamp(b, m, i * step + rng.Range(0, std::max(1, step - m.Width())), y + rng.Range(-4, 4));
  }
}

}  // namespace

Bitmap32 DrawMenuFrame() {
  return MenuFrame(85, 163, "BUILD", {{3, 17}, {44, 17}, {3, 58}, {44, 58}, {3, 99}, {44, 99}}, 139);
}

Bitmap32 DrawOrbMenuFrame() { return MenuFrame(82, 76, "BUY", {{24, 16}}, 54); }

Bitmap32 DrawScrapCount() { return OnWhite(DrawScrap(1)); }

Bitmap32 DrawSignCount() { return OnWhite(DrawSign(3)); }

// The circle of who hunts whom: in state 1 F hunts S, S hunts E, E hunts F; state 2 turns it round.
Bitmap32 DrawHatredPanel(int state) {
  Bitmap32 b(100, 172, Px(pal::kWhite));
  const TextStyle title{1, Px(pal::kInk), 1};
  DrawString(b, "WHO HUNTS", 50 - TextWidth("WHO HUNTS", title) / 2, 3, title);
  DrawString(b, "WHOM", 50 - TextWidth("WHOM", title) / 2, 13, title);
  const double cx[3] = {50, 80, 20}, cy[3] = {48, 128, 128};  // F top, S right, E left
  for (int kind = 0; kind < 3; ++kind) {
    Stamp(b, DrawMibbet(kind, 0), int(cx[kind] - 17.5), int(cy[kind] - 17.5));
    const int prey = state == 1 ? (kind + 1) % 3 : (kind + 2) % 3;
    const double dx = cx[prey] - cx[kind], dy = cy[prey] - cy[kind], d = std::hypot(dx, dy);
    ArrowBetween(b, cx[kind] + dx / d * 20, cy[kind] + dy / d * 20, cx[prey] - dx / d * 21, cy[prey] - dy / d * 21);
  }
  const TextStyle foot{1, Px(pal::kStoneDark), 1};
  const std::string rule = "SHOOTS ->";
  DrawString(b, rule, 50 - TextWidth(rule, foot) / 2, 160, foot);
  return b;
}

Bitmap32 DrawSplash() {
  Bitmap32 b(700, 700);
  VerticalGradient(b, 0, 0, 700, 430, {14, 16, 40}, {86, 66, 110});
  Stars(b, 160, 330, 21);
  TileFloor(b, 430);
  for (int y = 430; y < 470; ++y)  // haze where the field meets the sky
    for (int x = 0; x < 700; ++x) Over(b, x, y, Px({86, 66, 110}, 170 - (y - 430) * 4));
  // The base on the horizon with its orb.
  Rect(b, 300, 392, 100, 40, Px(pal::kStoneDark));
  Rect(b, 300, 392, 100, 4, Px(pal::kStoneLight));
  for (int t = 0; t < 4; ++t) Stamp(b, DrawTurret(), 292 + t * 30, 368);
  Stamp(b, Enlarge(DrawOrb(1), 2), 315, 318);
  Procession(b, 480, 5, 1, 2, 5);
  Procession(b, 552, 4, 1, 3, 6);
  const Bitmap32 title = TitleText("MIBBETFALL", 10, pal::kFire, pal::kRust);
  Stamp(b, title, (700 - title.Width()) / 2, 110);
  const TextStyle sub{2, Px(pal::kPaper), 1, true, Px(pal::kInk)};
  const std::string tagline = "SIGNS, SCRAP AND A HORDE OF MIBBETS";
  DrawString(b, tagline, 350 - TextWidth(tagline, sub) / 2, 210, sub);
  const TextStyle click{3, Px(pal::kWhite), 1, true, Px(pal::kInk)};
  DrawString(b, "CLICK TO START", 350 - TextWidth("CLICK TO START", click) / 2, 665, click);
  return b;
}

Bitmap32 DrawStartText() {
  Bitmap32 b(600, 600, Px(pal::kBlack));
  const Bitmap32 title = TitleText("HOW TO PLAY", 5, pal::kFire, pal::kBrass);
  Stamp(b, title, (600 - title.Width()) / 2, 4);
  for (int kind = 0; kind < 3; ++kind) Stamp(b, Enlarge(DrawMibbet(kind, 0), 2), 195 + kind * 75, 52);
  const std::vector<std::string> lines = {
      "THE MIBBETS CRAWL UP FROM BELOW.",
      "YOU CANNOT COMMAND THEM, BUT YOU CAN",
      "STEER THEM WITH SIGNS.",
      "",
      "CLICK A CELL AND PICK A SIGN: A BUILDER",
      "WALKS THERE AND BUILDS IT. A SIGN PUSHES",
      "EACH MIBBET THAT STEPS ON IT FIVE CELLS.",
      "",
      "THE THREE KINDS HUNT EACH OTHER IN A",
      "CIRCLE (SEE THE PANEL ON THE RIGHT). A",
      "MIBBET NEXT TO ONE IT HATES SHOOTS IT,",
      "AND THAT SCORES FIVE TIMES A TURRET KILL.",
      "",
      "FALLEN MIBBETS DROP SCRAP. CHOOSE GET ON",
      "SCRAP, ROCKS AND RUINS TO COLLECT IT.",
      "SCRAP PAYS FOR SIGNS, AND THE ORB SELLS",
      "MORE BUILDERS.",
      "",
      "KEEP THE ORB ALIVE!",
      "",
      "S SOUND   M MUSIC   P PAUSE",
      "CLICK ANYWHERE TO BEGIN.",
  };
  DrawCentredLines(b, lines, 300, 140, 20, kBody);
  return b;
}

Bitmap32 DrawEndText() {
  Bitmap32 b(550, 450, Px(pal::kBlack));
  const Bitmap32 title = TitleText("THE ORB HAS FALLEN", 4, pal::kSignal, pal::kRust);
  Stamp(b, title, (550 - title.Width()) / 2, 10);
  Stamp(b, Enlarge(DrawSplode(3), 3), 222, 60);
  const std::vector<std::string> lines = {
      "THE MIBBETS HAVE OVERRUN THE BASE.",
      "",
      "THEY WILL SQUABBLE OVER THE SCRAP",
      "FOR A WHILE, THEN HUNT EACH OTHER",
      "AS THEY ALWAYS DO.",
      "",
      "YOUR SIGNS STILL STAND, POINTING",
      "THE WAY HOME.",
      "",
      "CLICK TO SEE THE HIGH SCORES.",
  };
  DrawCentredLines(b, lines, 275, 180, 24, kBody);
  return b;
}

Bitmap32 DrawGameOverTop() {
  Bitmap32 b = MetalBand(700, 101);
  HazardStripes(b, 0, 89, 700, 12, 8, pal::kInk, pal::kBrass);
  Rivets(b, 12, 10, 680, 70, 70);
  const Bitmap32 title = TitleText("GAME OVER", 8, pal::kSignal, pal::kRust);
  Stamp(b, title, (700 - title.Width()) / 2, 12);
  return b;
}

Bitmap32 DrawGameOverBottom() {
  Bitmap32 b = MetalBand(700, 100);
  HazardStripes(b, 0, 0, 700, 12, 8, pal::kInk, pal::kBrass);
  Procession(b, 18, 12, 0, 1, 7);
  const TextStyle click{2, Px(pal::kWhite), 1, true, Px(pal::kInk)};
  DrawString(b, "CLICK TO CONTINUE", 350 - TextWidth("CLICK TO CONTINUE", click) / 2, 68, click);
  return b;
}

Bitmap32 DrawGameOverLeft() {
  Bitmap32 b = MetalBand(50, 499);
  HazardStripes(b, 0, 0, 8, 499, 8, pal::kInk, pal::kBrass);
  HazardStripes(b, 42, 0, 8, 499, 8, pal::kInk, pal::kBrass);
  Rivets(b, 25, 20, 1, 470, 40);
  return b;
}

}  // namespace assetgen
