// The 50 ms main tick: the fixed order in which the world advances.
#include <exception>
#include <iostream>

#include "app/main_window.h"
#include "app/text_format.h"

void TForm1::tmrTickTimer() {
  // The next tick is armed only when this one has ended, so a slow tick slows the game
  // instead of piling up ticks.
  tmrTick.SetEnabled(false);
  try {
    ++TickCount;
    if (DEBUG != 0) Caption = Format("%s [%d %d]", ApplicationTitle, Cursor->CellX, Cursor->CellY);
    ClearHitFlags();
    if (TickCount > INITDELAY) EmergenceTick();
    UpdateMibbets();
    UpdateEffects();
    if (GameOver) return;  // the game was lost in this tick: no further tick
    UpdateMusicStage();
    TurretsFire();
    Cursor->Place();
    if (int(Signs.size()) != ShownSignCount) RefreshSignCounter();
    BlinkWarningFrame(spNoCash, false);
    BlinkWarningFrame(spTooManySigns, false);
    BlinkWarningFrame(spHatred, true);
    MaybeShowSpeechBubble();
    AssignOrders();
    StepBuilders();
  } catch (const std::exception& e) {
    // A failed step must never freeze the game: report it and keep ticking.
    std::cerr << "mibbetfall: tick " << TickCount << " failed: " << e.what() << "\n";
  }
  if (!GameOver) tmrTick.SetEnabled(true);
}

void TForm1::ClearHitFlags() {
  if (Orb) Orb->HitThisTick = false;
  for (auto& m : Mibbets) m->HitThisTick = false;
  for (auto& t : Turrets) t->HitThisTick = false;
}

void TForm1::EmergenceTick() {
  if (DEBUG != 0 && DbgNoEmerge) return;
  EmergeFromTunnel(ETunnel);
  EmergeFromTunnel(STunnel);
  EmergeFromTunnel(FTunnel);
}

void TForm1::BlinkWarningFrame(TShape& frame, bool flipsHatred) {
  // The tag counts ticks since the warning: shown for 1..4, hidden 5..9, shown 10..14, gone at 15.
  if (!frame.Visible && frame.Tag < 5) return;
  ++frame.Tag;
  if (frame.Tag >= 5) frame.Visible = false;
  if (frame.Tag >= 10) frame.Visible = true;
  if (frame.Tag >= 15) {
    frame.Visible = false;
    frame.Tag = 0;
    if (flipsHatred) NextHatred();
  }
}

void TForm1::MaybeShowSpeechBubble() {
  if (Rng.Random(50000) < 47000) return;
  const int i = Rng.Random(int(Mibbets.size()));
  if (i >= int(Mibbets.size()) || !Mibbets[std::size_t(i)]) return;
  if (++SpeechToggle == 2) SpeechToggle = 0;
  const TMibbet& speaker = *Mibbets[std::size_t(i)];
  AddEffect(speaker.CellX, speaker.CellY - 1, 170, 7, 1, SpeechToggle == 0 ? BmpSpeechMib : BmpSpeechBet);
}

void TForm1::StepBuilders() {
  for (std::size_t i = 0; i < Builders.size(); ++i) {
    TSprite& b = *Builders[i];
    // One column and one row at most; the picture shows the last step, vertical winning.
    if (b.CellX < b.DestX) {
      b.SetCellX(b.CellX + 1);
      ShowPicture(b, BmpBuilder + 3);
    }
    if (b.CellX > b.DestX) {
      b.SetCellX(b.CellX - 1);
      ShowPicture(b, BmpBuilder + 2);
    }
    if (b.CellY < b.DestY) {
      b.SetCellY(b.CellY + 1);
      ShowPicture(b, BmpBuilder + 0);
    }
    if (b.CellY > b.DestY) {
      b.SetCellY(b.CellY - 1);
      ShowPicture(b, BmpBuilder + 1);
    }
    if (!b.Place()) continue;
    // The order has dwelt long enough: the builder lets go of it before carrying it out, so
    // that whatever the completion does, the builder is idle again afterwards.
    std::unique_ptr<TOrder> order = std::move(b.Order);
    CompleteOrder(*order);
  }
}
