// The end of a game: two waves of explosions, the game-over panel and the way back to the splash.
#include "app/main_window.h"

namespace {
constexpr int kExplosionsPerWave = 21;
constexpr int kFirstWaveCells = FieldCells;  // the first wave covers the whole field
constexpr int kSecondWaveCells = FieldCells - 2;  // the second leaves the last two rows and columns
// A wave is over when fewer effects than this are left, the hidden orb included.
constexpr int kBurntDown = 5;
constexpr int kEndTextStart = 569, kEndTextStop = 121, kEndTextStep = 10;
constexpr int kClosingStage = 4;
}  // namespace

void TForm1::EndGame() {
  // The orb falls once; a second call (the debug key during the explosions) changes nothing.
  if (GameOver) return;
  LogDebug("We win! >:D");
  MenuImg.Visible = false;
  OrbMenuImg.Visible = false;
  ShowNoBuildMarks(false);
  for (Timer* t : {&tmrTick, &tmrRHS, &tmrTunnel, &tmrEmergeHole, &tmrEmergeSwap}) t->SetEnabled(false);
  // A pause raised now would cover the coming game-over panel for good.
  if (pnlPause.Visible) {
    pnlPause.Visible = false;
    pnlPause.SendToBack();
  }
  GameOver = true;
  if (MusicStage != kClosingStage) {
    MusicStage = kClosingStage;
    ApplyMusicStage();
  }
  imEnd.Top = kEndTextStart;
  // No tunnel move, hole or emergence after the end.
  for (int i = int(Effects.size()) - 1; i >= 0; --i) {
    const TSprite& e = *Effects[std::size_t(i)];
    if (e.MovesTunnel || e.OpensHole || e.HoleKind != -1 || e.ClosingHoleMark) RemoveEffectAt(i);
  }
  TunnelMovePending = false;
  AddEffect(Orb ? Orb->CellX : 9, Orb ? Orb->CellY : 0, DeathExplosion, BmpSplode);
  AddExplosionWave(kFirstWaveCells);
  SplodeWave = 0;
  tmrSplode.SetEnabled(true);
}

void TForm1::AddExplosionWave(int cells) {
  for (int n = 0; n < kExplosionsPerWave; ++n) {
    const int y = Rng.Random(cells);
    const int x = Rng.Random(cells);
    AddEffect(x, y, DeathExplosion, BmpSplode).ExplodeSound = true;
  }
}

void TForm1::tmrSplodeTimer() {
  // The main tick has stopped: the explosions are run from here.
  UpdateEffects();
  if (int(Effects.size()) < kBurntDown && SplodeWave == 1) {
    SplodeWave = 2;
    LoadGameOverPictures();
    pnlGameOver.Visible = true;
    tmrSplode.SetEnabled(false);
    tmrScrollET.SetEnabled(true);
    PaintBox1.Visible = true;
    PaintBox2.Visible = true;
    GameMode = ModeGameOver;
  }
  if (int(Effects.size()) < kBurntDown && SplodeWave == 0) {
    SplodeWave = 1;
    AddExplosionWave(kSecondWaveCells);
  }
}

void TForm1::tmrScrollETTimer() {
  imEnd.SendToBack();
  imEnd.Top -= kEndTextStep;
  if (imEnd.Top <= kEndTextStop) tmrScrollET.SetEnabled(false);
}

void TForm1::PaintBox1Click() {
  pnlGameOver.Visible = false;
  PaintBox1.Visible = false;
  PaintBox2.Visible = false;
  pnlHighScores.Visible = true;
  DrawHighScores();
}

void TForm1::ReturnToSplash() {
  GameOver = false;
  MusicStage = 0;
  ApplyMusicStage();
  for (Control* c : std::initializer_list<Control*>{&pnlHighScores, &pnlGameOver, &PaintBox1, &PaintBox2})
    c->Visible = false;
  pnlSplash.Visible = true;
  imSplash.Visible = true;
  tmrScrollST.SetEnabled(false);
  tmrDiv.SetEnabled(true);
  NewGame();
}
