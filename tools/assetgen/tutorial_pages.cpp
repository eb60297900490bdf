// The tutorial's explanation cards. Each is sized for the spot its stage draws it on the playfield:
// the one-liners that a stage adds below each other form one block, the labels sit beside their
// arrows. The game draws the cards opaque, so they have square corners: a rounded corner would
// show its hidden colour over the field.
#include <algorithm>
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/pixel_font.h"

namespace assetgen {

namespace {

struct Page {
  std::vector<std::string> lines;
  int minWidth = 0;
  bool compact = false;  // squeezed between two other pages
  bool table = false;  // key lines: one left edge, so the keys stand in a column
};

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      /* 0 */ {{"THESE ARE MIBBETS. THERE ARE THREE KINDS."}},
      /* 1 */ {{"THEY CRAWL OUT OF TUNNELS AT THE BOTTOM..."}},
      /* 2 */ {{"...AND OUT OF HOLES THAT OPEN IN THE GROUND."}},
      /* 3 */ {{"ORB"}},
      /* 4 */ {{"TURRETS", "GUARD THE ORB"}},
      /* 5 */ {{"YOUR BUILDER", "BUILDS AND GATHERS"}},
      /* 6 */
      {{"PROTECT THE ORB!", "MIBBETS THAT REACH THE BASE SHOOT IT.", "WHEN THE ORB FALLS, THE GAME IS OVER.",
        "CLICK TO GO ON."}},
      /* 7 */ {{"CLICK ON THE RED CROSS."}},
      /* 8 */ {{"NOW CHOOSE THE SIGN THAT POINTS LEFT."}},
      /* 9 */ {{"YOUR BUILDER WALKS THERE AND BUILDS IT."}},
      /* 10 */ {{"A MIBBET SHOOTS THE KIND IT HATES", "WHEN IT STANDS NEXT TO ONE. WATCH!"}},
      /* 11 */
      {{"THIS PANEL SHOWS WHO HUNTS WHOM.", "THE CIRCLE FLIPS NOW AND THEN:", "A SIREN AND A RED FRAME WARN YOU.",
        "CLICK TO GO ON."}},
      /* 12 */
      {{"ROCKS, RUINS AND SCRAP PILES PAY SCRAP.", "CLICK ONE AND CHOOSE GET:", "A BUILDER FETCHES IT FOR YOU.",
        "SCRAP BUYS SIGNS AND BUILDERS.", "CLICK TO GO ON."}},
      /* 13 */ {{"ROCK"}, 105},
      /* 14 */ {{"RUIN"}, 145},
      /* 15 */ {{"SCRAP PILE"}, 125},
      /* 16 */ {{"MORE BUILDERS WORK FASTER.", "CLICK THE ORB TO BUY ONE."}},
      /* 17 */ {{"NOW CLICK THE BUILDER IN THE ORB MENU."}},
      /* 18 */
      {{"THE PANELS ON THE RIGHT SHOW", "YOUR SCORE, YOUR SCRAP AND YOUR", "SIGNS: BUILT / ALLOWED.",
        "EACH BUILDER ALLOWS FOUR SIGNS."}},
      /* 19 */ {{"SCORE >"}},
      /* 20 */ {{"SCRAP >"}},
      /* 21 */ {{"SIGNS >"}},
      /* 22 */ {{"A MIBBET SHOT BY A MIBBET SCORES 50,", "ONE SHOT BY A TURRET ONLY 10."}, 0, true},
      /* 23 */ {{"KEYS:", "S  SOUND ON / OFF", "M  MUSIC ON / OFF", "P  PAUSE"}, 240, false, true},
      /* 24 */ {{"THAT'S ALL. GOOD LUCK!", "CLICK TO PLAY."}},
      /* 25 */ {{"A SIGN PUSHES A MIBBET THAT STEPS ON IT", "FIVE CELLS THE WAY THE SIGN POINTS."}},
  };
  return pages;
}

// One-liners drawn below each other, with the rows their stages put them on: each card of a stack
// is one row taller than the distance to the next, so the two share a border line, and all are
// as wide as the widest, so the stack reads as one card with dividers.
struct StackedPage {
  int page, top;
};
const std::vector<std::vector<StackedPage>> kStacks = {
    {{0, 245}, {1, 263}, {2, 280}, {-1, 298}},
    {{7, 105}, {8, 125}, {9, 145}, {-1, 166}},
};

Bitmap32 DrawStackedPage(const std::vector<StackedPage>& stack, std::size_t row, const CardStyle& base) {
  CardStyle style = base;
  for (std::size_t r = 0; r + 1 < stack.size(); ++r)
    style.minWidth =
        std::max(style.minWidth, TextWidth(Pages()[std::size_t(stack[r].page)].lines[0], style.text) + 2 * style.padX);
  const int height = stack[row + 1].top - stack[row].top + 1;
  const int pads = height - TextHeight(style.text) - 2;
  style.padBottom = pads / 2;
  style.padTop = pads - style.padBottom;
  return TextCard(Pages()[std::size_t(stack[row].page)].lines, style);
}

}  // namespace

Bitmap32 DrawTutorialPage(int page) {
  const Page& p = Pages()[std::size_t(page)];
  CardStyle style;
  style.text = TextStyle{2, Px(pal::kInk)};
  style.cornerRadius = 0;
  style.padX = 12;
  for (const auto& stack : kStacks)
    for (std::size_t row = 0; row + 1 < stack.size(); ++row)
      if (stack[row].page == page) return DrawStackedPage(stack, row, style);
  // Cards of several lines breathe inside their borders; one-line labels and the squeezed card
  // keep tight margins, since their spots on the field leave no more room.
  const bool roomy = p.lines.size() > 1 && !p.compact;
  style.lineGap = p.compact ? 16 : 18;
  style.padX = roomy || p.compact ? 12 : 6;
  style.padTop = roomy ? 7 : (p.compact ? 2 : 3);
  style.padBottom = roomy ? 6 : (p.compact ? 1 : 2);
  style.minWidth = p.minWidth;
  style.block = p.table;
  return TextCard(p.lines, style);
}

}  // namespace assetgen
