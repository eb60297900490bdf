// The tutorial's explanation cards. Each is sized for the spot its stage draws it on the playfield:
// the stacked one-liners are at most 17 pixels high, the labels sit beside their arrows.
#include <vector>

#include "tools/assetgen/art.h"
#include "tools/assetgen/pixel_font.h"

namespace assetgen {

namespace {

struct Page {
  std::vector<std::string> lines;
  int minWidth = 0;
  bool compact = false;  // squeezed between two other pages
};

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      /* 0 */ {{"THESE ARE MIBBETS. THERE ARE THREE KINDS."}},
      /* 1 */ {{"THEY CRAWL OUT OF TUNNELS AT THE BOTTOM..."}},
      /* 2 */ {{"...AND OUT OF HOLES THAT OPEN IN THE GROUND."}},
      /* 3 */ {{"ORB"}},
      /* 4 */ {{"TURRETS", "GUARD THE ORB"}},
      /* 5 */ {{"YOUR BUILDER", "BUILDS AND GATHERS"}},
      /* 6 */ {{"PROTECT THE ORB!", "MIBBETS THAT REACH THE BASE SHOOT IT.", "WHEN THE ORB FALLS, THE GAME IS OVER.",
                "CLICK TO GO ON."}},
      /* 7 */ {{"CLICK ON THE RED CROSS."}},
      /* 8 */ {{"NOW CHOOSE THE SIGN THAT POINTS LEFT."}},
      /* 9 */ {{"YOUR BUILDER WALKS THERE AND BUILDS IT."}},
      /* 10 */ {{"A MIBBET SHOOTS THE KIND IT HATES", "WHEN IT STANDS NEXT TO ONE. WATCH!"}},
      /* 11 */ {{"THIS PANEL SHOWS WHO HUNTS WHOM.", "THE CIRCLE FLIPS NOW AND THEN:", "A SIREN AND A RED FRAME WARN YOU.",
                 "CLICK TO GO ON."}},
      /* 12 */ {{"ROCKS, RUINS AND SCRAP PILES PAY SCRAP.", "CLICK ONE AND CHOOSE GET:", "A BUILDER FETCHES IT FOR YOU.",
                 "SCRAP BUYS SIGNS AND BUILDERS.", "CLICK TO GO ON."}},
      /* 13 */ {{"ROCK"}, 105},
      /* 14 */ {{"RUIN"}, 145},
      /* 15 */ {{"SCRAP PILE"}, 125},
      /* 16 */ {{"MORE BUILDERS WORK FASTER.", "CLICK THE ORB TO BUY ONE."}},
      /* 17 */ {{"NOW CLICK THE BUILDER IN THE ORB MENU."}},
      /* 18 */ {{"THE PANELS ON THE RIGHT SHOW", "YOUR SCORE, YOUR SCRAP AND YOUR", "SIGNS: BUILT / ALLOWED.",
                 "EACH BUILDER ALLOWS FOUR SIGNS."}},
      /* 19 */ {{"SCORE >"}},
      /* 20 */ {{"SCRAP >"}},
      /* 21 */ {{"SIGNS >"}},
      /* 22 */ {{"A MIBBET SHOT BY A MIBBET SCORES 50,", "ONE SHOT BY A TURRET ONLY 10."}, 0, true},
      /* 23 */ {{"KEYS:", "S  SOUND ON / OFF", "M  MUSIC ON / OFF", "P  PAUSE"}, 240},
      /* 24 */ {{"THAT'S ALL. GOOD LUCK!", "CLICK TO PLAY."}},
      /* 25 */ {{"A SIGN PUSHES A MIBBET THAT STEPS ON IT", "FIVE CELLS THE WAY THE SIGN POINTS."}},
  };
  return pages;
}

}  // namespace

Bitmap32 DrawTutorialPage(int page) {
  const Page& p = Pages()[std::size_t(page)];
  CardStyle style;
  style.text = TextStyle{2, Px(pal::kInk)};
  const bool single = p.lines.size() == 1;
  style.lineGap = p.compact ? 16 : 18;
  style.padTop = single || p.compact ? 1 : 3;
  style.padBottom = single || p.compact ? 0 : 2;
  style.minWidth = p.minWidth;
  return TextCard(p.lines, style);
}

}  // namespace assetgen
