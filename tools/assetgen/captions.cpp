// Captions of the high-score screen, the tutorial question and the pictures built into the
// executable: text on flat backgrounds, drawn opaque by the game.
#include "tools/assetgen/art.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/pixel_font.h"

namespace assetgen {

namespace {

// Lines of text centred on a flat background; the first line may be a title.
Bitmap32 Notice(int w, int h, Rgb background, const std::vector<std::string>& lines, const TextStyle& style,
                int lineGap, const Bitmap32* title = nullptr) {
  Bitmap32 b(w, h, Px(background));
  int y = 0;
  if (title) {
    Stamp(b, *title, (w - title->Width()) / 2, 0);
    y = title->Height() + 4;
  }
  const int textH = int(lines.size() - 1) * lineGap + TextHeight(style);
  DrawCentredLines(b, lines, w / 2, title ? y : (h - textH) / 2, lineGap, style);
  return b;
}

const TextStyle kLight{2, Px(pal::kPaper), 1, true, Px({70, 60, 40})};
const TextStyle kKeys{2, Px(pal::kFire), 1, true, Px({90, 40, 0})};

}  // namespace

Bitmap32 DrawCaption(int which) {
  switch (which) {
    case 0: {
      const Bitmap32 title = TitleText("HIGH SCORES", 6, {255, 244, 170}, {255, 150, 40});
      return Notice(title.Width() + 8, title.Height() + 2, pal::kBlack, {}, kLight, 0, &title);
    }
    case 1: {
      const Bitmap32 title = TitleText("NEW HIGH SCORE!", 4, {255, 244, 170}, {255, 150, 40});
      return Notice(560, title.Height() + 60, pal::kBlack, {"TYPE YOUR NAME (UP TO 12 LETTERS)", "AND PRESS ENTER."},
                    kLight, 22, &title);
    }
    case 2:
      return Notice(420, 26, pal::kBlack, {"PRESS ENTER TO CONTINUE"}, kKeys, 0);
    case 3:
      return Notice(420, 26, pal::kBlack, {"CLICK TO CONTINUE"}, kKeys, 0);
    default:
      return Notice(560, 84, pal::kBlack, {"POST YOUR SCORE ONLINE?", "", "PRESS Y FOR YES,", "ANY OTHER KEY FOR NO."},
                    kLight, 20);
  }
}

Bitmap32 DrawPlayTutorialQuestion() {
  const Bitmap32 title = TitleText("PLAY THE TUTORIAL FIRST?", 4, pal::kFire, pal::kBrass);
  return Notice(
      654, 130, pal::kBlack,
      {"IT SHOWS THE MIBBETS, SIGNS AND SCRAP", "IN A FEW SHORT STEPS.", "PRESS Y FOR YES, OR N TO PLAY NOW."}, kLight,
      24, &title);
}

Bitmap32 DrawLeaveTutorial() {
  return Notice(628, 30, pal::kBlack, {"PRESS ESC AT ANY TIME TO LEAVE THE TUTORIAL"}, kLight, 0);
}

Bitmap32 DrawLoadingBanner() {
  Bitmap32 b(351, 40, Px(pal::kBlack));
  Stamp(b, DrawMibbet(1, 0), 4, 2);
  const TextStyle st{4, Px(pal::kWhite), 1};
  DrawString(b, "LOADING...", 60, 6, st);
  return b;
}

Bitmap32 DrawPausedPicture() {
  Bitmap32 b(336, 84, Px(pal::kBlack));
  const TextStyle big{8, Px(pal::kWhite), 1};
  const TextStyle hint{2, Px(pal::kFire), 1};
  const std::string press = "P CONTINUES";
  constexpr int kGap = 8;
  const int top = (84 - TextHeight(big) - kGap - TextHeight(hint)) / 2;
  DrawString(b, "PAUSED", (336 - TextWidth("PAUSED", big)) / 2, top, big);
  DrawString(b, press, (336 - TextWidth(press, hint)) / 2, top + TextHeight(big) + kGap, hint);
  return b;
}

// The key legend with the state of each switch: a switch that is off is greyed, struck through
// in red and says OFF, so a player without sound still sees what S and M did.
Bitmap32 DrawKeyLegend(bool soundOn, bool musicOn) {
  Bitmap32 b(100, 40, Px(pal::kWhite));
  const TextStyle on{1, Px(pal::kBlack), 1, false, 0, true};
  const TextStyle off{1, Px(pal::kStone), 1, false, 0, true};
  const TextStyle offMark{1, Px(pal::kSignal), 1, false, 0, true};
  const struct {
    const char* text;
    bool on;
  } lines[] = {{"[S]OUNDS", soundOn}, {"[M]USIC", musicOn}, {"[P]AUSE", true}};
  for (int i = 0; i < 3; ++i) {
    const int y = 4 + i * 12;
    const int end = DrawString(b, lines[i].text, 4, y, lines[i].on ? on : off);
    if (lines[i].on) continue;
    for (int x = 3; x < end; ++x) b.Set(x, y + TextHeight(on) / 2, Px(pal::kSignal));
    DrawString(b, "OFF", end + 4, y, offMark);
  }
  return b;
}

Bitmap32 DrawCreditsPicture() {
  Bitmap32 b(183, 200, Px(pal::kWhite));
  const Bitmap32 title = TitleText("MIBBETFALL", 2, pal::kFire, pal::kRust);
  Stamp(b, title, (183 - title.Width()) / 2, 8);
  for (int kind = 0; kind < 3; ++kind) Stamp(b, DrawMibbet(kind, 0), 30 + kind * 44, 34);
  const TextStyle st{1, Px(pal::kInk), 1, false, 0, true};
  const std::vector<std::string> lines = {"A GAME OF SIGNS,", "SCRAP AND MIBBETS", "",      "EVERY PICTURE, SOUND",
                                          "AND TUNE IS MADE", "BY THE GAME'S OWN", "CODE.", "",
                                          "VERSION 1.8"};
  DrawCentredLines(b, lines, 91, 78, 12, st);
  return b;
}

}  // namespace assetgen
