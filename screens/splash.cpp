// The splash screen, the tutorial question, the start of play and the pause.
#include "app/main_window.h"
#include "platform/bmp_file.h"
#include "presentation/text.h"

namespace {
constexpr int kStartTextTop = 680;
constexpr int kStartTextStep = 10;
constexpr int kStartTextEnd = -605;  // scrolled out once its top is here or above
}  // namespace

void TForm1::tmrDivTimer() {
  imSplash.Visible = false;
  PaintBox2.Visible = true;
  imStart.Top = kStartTextTop;
  tmrScrollST.SetEnabled(true);
  tmrDiv.SetEnabled(false);
}

void TForm1::tmrScrollSTTimer() {
  imStart.SendToBack();
  imStart.Top -= kStartTextStep;
  if (imStart.Top <= kStartTextEnd) {
    tmrScrollST.SetEnabled(false);
    imSplash.Visible = true;
    tmrDiv.SetEnabled(true);
  }
}

void TForm1::imSplashClick() {
  if (SplashClicked) {
    pnlTutorial.Visible = false;
    StartGame();
    return;
  }
  SplashClicked = true;
  ShowTutorialQuestion();
}

void TForm1::ShowTutorialQuestion() {
  Bitmap32& page = imTutorial.Picture;
  page.Resize(PlayfieldSize, PlayfieldSize, MakePixel(0, 0, 0));
  const auto drawFile = [&](const std::string& file, int x, int y) {
    const std::optional<Bitmap32> picture = ReadBmp(AssetDir + file);
    if (picture) page.DrawOpaque(*picture, x, y);
    return picture.has_value();
  };
  const bool asked = drawFile("playtut.bmp", 23, 300);
  drawFile("leavetut.bmp", 36, 650);
  if (asked) {
    pnlTutorial.Visible = true;
    return;
  }
  // Without its picture the question is still asked, in the game's own letters.
  int pen = 60;
  for (char ch : std::string("PLAY THE TUTORIAL - Y OR N")) {
    const int glyph = GlyphIndex(ch, GlyphsPerSet);
    if (glyph < 0) continue;
    const Bitmap32& picture = *Sprites.At(BmpFont + glyph);
    page.DrawOpaque(picture, pen, 320);
    pen += picture.Width();
  }
  pnlTutorial.Visible = true;
}

void TForm1::StartGame() {
  GameMode = ModePlaying;
  tmrTick.SetEnabled(true);
  tmrRHS.SetEnabled(true);
  if (MIBBETTUNNELSWAP > 0) {
    tmrTunnel.SetInterval(TimerPeriodMs(MIBBETTUNNELSWAP));
    tmrTunnel.SetEnabled(true);
  }
  if (MIBBETEMERGEHOLE > 0) {
    tmrEmergeHole.SetInterval(TimerPeriodMs(MIBBETEMERGEHOLE));
    tmrEmergeHole.SetEnabled(true);
  }
  if (MIBBETEMERGESWAP > 0) {
    tmrEmergeSwap.SetInterval(TimerPeriodMs(MIBBETEMERGESWAP));
    tmrEmergeSwap.SetEnabled(true);
  }
  pnlSplash.Visible = PaintBox1.Visible = PaintBox2.Visible = false;
}

void TForm1::ToggleGamePause() {
  // During the game-over explosions a pause would hide the coming game-over screen and could
  // restart the tick: the game would lock.
  if (GameOver) return;
  pnlPause.Visible = !pnlPause.Visible;
  if (pnlPause.Visible) {
    pnlPause.BringToFront();
    for (Timer* t : {&tmrTick, &tmrRHS, &tmrTunnel, &tmrEmergeHole}) t->SetEnabled(false);
    return;
  }
  pnlPause.SendToBack();
  tmrTick.SetEnabled(true);
  tmrRHS.SetEnabled(true);
  if (MIBBETTUNNELSWAP > 0) tmrTunnel.SetEnabled(true);
  if (MIBBETEMERGEHOLE > 0) tmrEmergeHole.SetEnabled(true);
}
