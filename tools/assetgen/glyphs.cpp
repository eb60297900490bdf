// The two glyph sets of the game's bitmap text. Set 0 is small, dark on white, for the counters and
// menu prices; set 1 is large and bright on black, for the high-score table.
#include "presentation/catalogue_names.h"
#include "tools/assetgen/art.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/pixel_font.h"

namespace assetgen {

namespace {

struct GlyphMetrics {
  int dot;  // size of one font dot in pixels
  int width;  // picture width
  int height;  // picture height, the same for every glyph of the set
};

constexpr GlyphMetrics kSet[2] = {{2, 12, 18}, {4, 24, 36}};

// Set 1 shades each row from pale gold to orange, with a dark lower edge on every dot.
Rgb HighScoreRowColour(int row) { return Mix({255, 244, 170}, {255, 150, 40}, row / double(kCellH - 1)); }

}  // namespace

const std::string& GlyphOrder() {
  static const std::string order = "0123456789/ABCDEFGHIJKLMNOPQRSTUVWXYZ _-";
  return order;
}

std::string GlyphName(int set, int index) {
  return "font/" + FontGlyphNames("f" + std::to_string(set))[std::size_t(index)];
}

Bitmap32 DrawGlyph(int set, char c) {
  const GlyphMetrics m = kSet[set];
  Bitmap32 b(m.width, m.height, Px(set == 0 ? pal::kWhite : pal::kBlack));
  const auto& pattern = GlyphPattern(c);
  const int left = (m.width - kCellW * m.dot) / 2, top = (m.height - kCellH * m.dot) / 2;
  for (int row = 0; row < kCellH; ++row)
    for (int col = 0; col < kCellW; ++col) {
      if (pattern[row][col] != '#') continue;
      const int x = left + col * m.dot, y = top + row * m.dot;
      if (set == 0) {
        Rect(b, x, y, m.dot, m.dot, Px(pal::kInk));
      } else {
        const Rgb colour = HighScoreRowColour(row);
        Rect(b, x, y, m.dot, m.dot, Px(Scale(colour, 0.55)));
        Rect(b, x, y, m.dot - 1, m.dot - 1, Px(colour));
      }
    }
  return b;
}

}  // namespace assetgen
