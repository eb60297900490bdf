#include "tools/assetgen/pixel_font.h"

#include <algorithm>
#include <map>

namespace assetgen {

namespace {

using Pattern = std::vector<std::string>;

const std::map<char, Pattern>& Alphabet() {
  static const std::map<char, Pattern> glyphs = {
      {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
      {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
      {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
      {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
      {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
      {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
      {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
      {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
      {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
      {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
      {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
      {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
      {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
      {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
      {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
      {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
      {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
      {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
      {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
      {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
      {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
      {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
      {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
      {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
      {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
      {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
      {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
      {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
      {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
      {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
      {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
      {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
      {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
      {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
      {',', {".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."}},
      {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
      {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
      {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
      {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
      {'_', {".....", ".....", ".....", ".....", ".....", ".....", "#####"}},
      {'/', {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."}},
      {'\'', {"..#..", "..#..", ".#...", ".....", ".....", ".....", "....."}},
      {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
      {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
      {'[', {".###.", ".#...", ".#...", ".#...", ".#...", ".#...", ".###."}},
      {']', {".###.", "...#.", "...#.", "...#.", "...#.", "...#.", ".###."}},
      {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
      {'=', {".....", ".....", "#####", ".....", "#####", ".....", "....."}},
      {'>', {".#...", "..#..", "...#.", "....#", "...#.", "..#..", ".#..."}},
      {'<', {"...#.", "..#..", ".#...", "#....", ".#...", "..#..", "...#."}},
      {'"', {".#.#.", ".#.#.", ".....", ".....", ".....", ".....", "....."}},
      {'*', {".....", "#.#.#", ".###.", "#####", ".###.", "#.#.#", "....."}},
  };
  return glyphs;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

const Pattern& GlyphPattern(char c) {
  static const Pattern empty(kCellH, std::string(kCellW, '.'));
  const auto& glyphs = Alphabet();
  const auto it = glyphs.find(Upper(c));
  return it == glyphs.end() ? empty : it->second;
}

int TextWidth(const std::string& text, const TextStyle& style) {
  if (text.empty()) return 0;
  const int advance = (kCellW + style.spacing) * style.scale;
  return int(text.size()) * advance - style.spacing * style.scale + (style.bold ? 1 : 0) +
         (style.shadow ? style.scale : 0);
}

int TextHeight(const TextStyle& style) { return kCellH * style.scale + (style.shadow ? style.scale : 0); }

int DrawString(Bitmap32& b, const std::string& text, int x, int y, const TextStyle& style) {
  const int s = style.scale;
  auto paint = [&](const Pattern& p, int ox, int oy, Pixel colour) {
    for (int row = 0; row < kCellH; ++row)
      for (int col = 0; col < kCellW; ++col)
        if (p[row][col] == '#') Rect(b, ox + col * s, oy + row * s, s + (style.bold ? 1 : 0), s, colour);
  };
  int pen = x;
  for (char c : text) {
    const Pattern& p = GlyphPattern(c);
    if (style.shadow) paint(p, pen + s, y + s, style.shadowColour);
    paint(p, pen, y, style.colour);
    pen += (kCellW + style.spacing) * s;
  }
  return pen;
}

void DrawCentredLines(Bitmap32& b, const std::vector<std::string>& lines, int cx, int y, int lineGap,
                      const TextStyle& style) {
  for (const auto& line : lines) {
    DrawString(b, line, cx - TextWidth(line, style) / 2, y, style);
    y += lineGap;
  }
}

}  // namespace assetgen

namespace assetgen {

Bitmap32 TextCard(const std::vector<std::string>& lines, const CardStyle& style) {
  int widest = style.minWidth;
  for (const auto& line : lines) widest = std::max(widest, TextWidth(line, style.text) + 2 * style.padX);
  const int height = int(lines.size() - 1) * style.lineGap + TextHeight(style.text) + style.padTop + style.padBottom +
                     (PixelAlpha(style.border) ? 2 : 0);
  Bitmap32 b(widest, height);
  RoundRect(b, 0, 0, widest, height, style.cornerRadius, style.border);
  RoundRect(b, 1, 1, widest - 2, height - 2, std::max(style.cornerRadius - 1, 0), style.background);
  if (!PixelAlpha(style.border)) Rect(b, 0, 0, widest, height, style.background);
  const int top = style.padTop + (PixelAlpha(style.border) ? 1 : 0);
  if (!style.block) {
    DrawCentredLines(b, lines, widest / 2, top, style.lineGap, style.text);
    return b;
  }
  int longest = 0;
  for (const auto& line : lines) longest = std::max(longest, TextWidth(line, style.text));
  for (std::size_t i = 0; i < lines.size(); ++i)
    DrawString(b, lines[i], (widest - longest) / 2, top + int(i) * style.lineGap, style.text);
  return b;
}

}  // namespace assetgen

namespace assetgen {

Bitmap32 TitleText(const std::string& text, int scale, Rgb top, Rgb bottom) {
  TextStyle st{scale, Px(pal::kWhite), 1};
  const int w = TextWidth(text, st), h = TextHeight(st);
  Bitmap32 letters(w + 2 * scale, h + 2 * scale);
  DrawString(letters, text, scale / 2, scale / 2, st);
  // Shade the letters from top to bottom, then ring them in ink and drop an ink shadow.
  for (int y = 0; y < letters.Height(); ++y)
    for (int x = 0; x < letters.Width(); ++x)
      if (PixelAlpha(letters.At(x, y))) letters.Set(x, y, Px(Mix(top, bottom, double(y) / h)));
  Outline(letters, Px(pal::kInk));
  Outline(letters, Px(pal::kInk));
  Bitmap32 out(letters.Width(), letters.Height());
  for (int y = 0; y < letters.Height(); ++y)
    for (int x = 0; x < letters.Width(); ++x)
      if (PixelAlpha(letters.At(x, y))) Put(out, x + scale / 2, y + scale / 2, Px(pal::kInk, 200));
  Stamp(out, letters, 0, 0);
  return out;
}

}  // namespace assetgen
