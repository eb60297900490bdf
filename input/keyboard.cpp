// Keyboard dispatch: which key does what in which state of the game.
#include <algorithm>
#include <cctype>

#include "app/main_window.h"

namespace {

constexpr char kEsc = 27;
constexpr int kDebugCashStep = 50;
constexpr int kDebugScoreStep = 50;
constexpr int kGatherCell = 9;

// The ones that end the game or set the game's timers going work only in play: on the splash or
// the end screens they would leave a finished game behind the next one, or timers running on it.
// A game may end during a pause (the pause panel goes), but a paused game starts no timer.
bool InPlay(const TForm1& g) { return g.GameMode == ModePlaying && !g.GameOver; }
bool InPlayUnpaused(const TForm1& g) { return InPlay(g) && !g.pnlPause.Visible; }

// The debug commands, matched in this order against the typed character (letters upper-cased).
struct DebugKey {
  char Key;
  void (*Run)(TForm1& game);
  bool (*Allowed)(const TForm1& game) = nullptr;  // none: at any time
};

constexpr DebugKey kDebugKeys[] = {
    {'X', [](TForm1& g) { g.AddBuilder(); }},
    {'Z', [](TForm1& g) { g.RemoveAllMibbets(); }},
    {'C', [](TForm1& g) { g.DebugAddScrap(kDebugCashStep); }},
    {'V', [](TForm1& g) { g.DebugAddScrap(-kDebugCashStep); }},
    {'B', [](TForm1& g) { g.DbgFreeze = !g.DbgFreeze; }},
    {'A', [](TForm1& g) { g.DbgInvincible = !g.DbgInvincible; }},
    {'N', [](TForm1& g) { g.DebugReplaceTurrets(); }},
    {'F', [](TForm1& g) { g.DebugFastMibbets(); }},
    {'G', [](TForm1& g) { g.DbgNoEmerge = !g.DbgNoEmerge; }},
    {'W', [](TForm1& g) { g.DebugAddScore(kDebugScoreStep); }},
    {'Q', [](TForm1& g) { g.EndGame(); }, InPlay},
    {'1', [](TForm1& g) { g.SpawnMibbet(g.Cursor->CellX, g.Cursor->CellY, 1); }},
    {'2', [](TForm1& g) { g.SpawnMibbet(g.Cursor->CellX, g.Cursor->CellY, 2); }},
    {'3', [](TForm1& g) { g.SpawnMibbet(g.Cursor->CellX, g.Cursor->CellY, 3); }},
    {'4', [](TForm1& g) { g.WarnHole(g.Cursor->CellX, g.Cursor->CellY, 1); }},
    {'5', [](TForm1& g) { g.WarnHole(g.Cursor->CellX, g.Cursor->CellY, 2); }},
    {'6', [](TForm1& g) { g.WarnHole(g.Cursor->CellX, g.Cursor->CellY, 3); }},
    {'7', [](TForm1& g) { g.tmrEmergeHoleTimer(); }, InPlayUnpaused},
    {'8', [](TForm1& g) { g.MakeScrap(g.Cursor->CellX, g.Cursor->CellY, true); }},
    {'9', [](TForm1& g) { g.CreateTurret(g.Cursor->CellX, g.Cursor->CellY); }},
    {'O', [](TForm1& g) { g.tmrTunnelTimer(); }, InPlayUnpaused},
    {'I', [](TForm1& g) { g.DebugGather(); }},
};

}  // namespace

void TForm1::FormKeyPress(char ch) {
  const char key = char(std::toupper(static_cast<unsigned char>(ch)));
  if (DebugKeysEnabled()) RunDebugKey(key);
  if (NameEntryState == 1) {
    NameEntryKey(ch);
    return;
  }
  if (NameEntryState == 2) {
    PostAnswerKey(ch);
    return;
  }
  if (ch == kEsc && GameMode == ModeTutorial) EndTutorial();
  if (pnlTutorial.Visible) {
    if (key == 'Y') {
      pnlTutorial.Visible = false;
      StartTutorial();
    } else if (key == 'N') {
      pnlTutorial.Visible = false;
      StartGame();
    }
  }
  if (key == 'M') ToggleMusic();
  if (key == 'S') {
    SoundOn = !SoundOn;
    ShowSwitches();
  }
  if (key == 'P' && GameMode == ModePlaying) ToggleGamePause();
}

void TForm1::FormKeyUp(int key) {
  constexpr int kBackspace = 8;
  if (NameEntryState == 1 && key == kBackspace && !EnteredName.empty()) NameEntryBackspace();
}

bool TForm1::DebugKeysEnabled() const {
  // Never while a name is typed, the tutorial question waits for its answer, or the tutorial runs.
  return DEBUG != 0 && NameEntryState == 0 && !pnlTutorial.Visible && GameMode != ModeTutorial;
}

void TForm1::RunDebugKey(char key) {
  for (const DebugKey& command : kDebugKeys)
    if (command.Key == key && (!command.Allowed || command.Allowed(*this))) command.Run(*this);
}

void TForm1::DebugAddScrap(int amount) {
  Scrap = std::max(AddToTotal(Scrap, amount), 0);
  DrawCounter(imScrapCt, std::to_string(Scrap));
}

void TForm1::DebugReplaceTurrets() {
  for (int t = int(Turrets.size()) - 1; t >= 0; --t) RemoveTurretAt(t);
  LayOutBaseTurrets();
}

void TForm1::DebugFastMibbets() {
  FMIBBETBASESPEED = EMIBBETBASESPEED = SMIBBETBASESPEED = 0;
  for (auto& m : Mibbets) m->StepInterval = 0;
}

void TForm1::DebugAddScore(int amount) {
  Score = AddToTotal(Score, amount);
  DrawCounter(imScore, std::to_string(Score));
}

void TForm1::DebugGather() {
  const auto gather = [](TSprite& s) {
    s.DestX = kGatherCell;
    s.DestY = kGatherCell;
  };
  for (auto& m : Mibbets) gather(*m);
  for (auto& e : Effects) gather(*e);
  for (auto& b : Builders) gather(*b);
  for (TunnelRec* t : {&FTunnel, &STunnel, &ETunnel})
    if (t->Sprite) t->Sprite->Place();
}
