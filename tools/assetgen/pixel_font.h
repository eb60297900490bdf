// The generator's own 5 x 7 pixel alphabet: the base of both glyph sets and of every text
// painted into screens, captions and tutorial pages.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace assetgen {

constexpr int kCellW = 5;
constexpr int kCellH = 7;

// The 5 x 7 pattern of a character ('#' set); unknown characters give an empty pattern.
const std::vector<std::string>& GlyphPattern(char c);

struct TextStyle {
  int scale = 2;  // pixel size of one font dot
  Pixel colour = Px(pal::kInk);
  int spacing = 1;  // empty dots between characters
  bool shadow = false;  // a dark drop shadow one dot down-right
  Pixel shadowColour = Px(pal::kInk);
  bool bold = false;  // every dot one pixel wider
};

int TextWidth(const std::string& text, const TextStyle& style);
int TextHeight(const TextStyle& style);
// Draws text with its top-left at (x, y); returns the pen position after the last character.
int DrawString(Bitmap32& b, const std::string& text, int x, int y, const TextStyle& style);
// Draws each line centred on cx, lines lineGap pixels apart from top y.
void DrawCentredLines(Bitmap32& b, const std::vector<std::string>& lines, int cx, int y, int lineGap,
                      const TextStyle& style);

}  // namespace assetgen

namespace assetgen {

// A card of centred text lines: background, optional border, padding around the text.
struct CardStyle {
  TextStyle text;
  int lineGap = 18;  // distance between line tops
  int padX = 6, padTop = 2, padBottom = 2;
  Pixel background = Px(pal::kPaper, 235);
  Pixel border = Px(pal::kInk);
  int minWidth = 0;
  int cornerRadius = 3;
  bool block = false;  // lines share one left edge, the block centred, so columns line up
};
Bitmap32 TextCard(const std::vector<std::string>& lines, const CardStyle& style);

}  // namespace assetgen

namespace assetgen {
// Big title lettering: filled letters with a dark outline and a drop shadow, on transparency.
Bitmap32 TitleText(const std::string& text, int scale, Rgb top, Rgb bottom);
}  // namespace assetgen
