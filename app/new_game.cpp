// Throwing a world away and laying out a fresh one.
#include "app/main_window.h"

namespace {
template <class T>
void DestroyFromLast(OwnedList<T>& list) {
  while (!list.empty()) list.pop_back();
}
}  // namespace

void TForm1::ClearWorld() {
  DestroyFromLast(Builders);
  RemoveAllMibbets();
  DestroyFromLast(Signs);
  DestroyFromLast(Orders);
  DestroyFromLast(Resources);
  DestroyFromLast(Effects);
  // The red squares went with the effects: so do the cells they marked.
  NoBuildCells.reset();
  Orb = nullptr;
  // A pending tunnel move died with its preview: without this, tunnels would never move again.
  TunnelMovePending = false;
  DestroyFromLast(KillAnims);
  DestroyFromLast(Turrets);
}

void TForm1::NewGame() {
  TickCount = 0;
  NameEntryState = 0;
  LoadHighScores();
  GameMode = ModeSplash;
  ResetSoundThrottle();
  ClearWorld();
  Rng.Seed(NextWorldSeed());
  Scrap = BASESCRAP;
  Score = 0;
  DrawCounter(imScore, "0");
  GameOver = false;
  HatredState = 1;
  SetHatred();
  DrawCounter(imScrapCt, std::to_string(Scrap));
  MusicStage = 0;
  // A warning flash cut off by the end of the last game must not carry into this one.
  for (TShape* frame : {&spNoCash, &spTooManySigns, &spHatred}) {
    frame->Visible = false;
    frame->Tag = 0;
  }
  // A menu left open when the last game ended must not greet the next one.
  MenuImg.Visible = false;
  OrbMenuImg.Visible = false;
  LayOutWorld();
  ResetCursorSprites();
}
