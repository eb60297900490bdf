// The tutorial: fifteen stages on the real field, each a small scene and one event to wait for.
#include <algorithm>

#include "app/main_window.h"

namespace {

constexpr int kOverlayTag = -1;
constexpr int kCentred = -1;
constexpr int kArrowAlpha = 200;
constexpr int kLabelAlpha = 200;
constexpr int kRedCrossAlpha = 127;
enum ArrowDirection { ArrowDown = 0, ArrowUp = 1, ArrowLeft = 2, ArrowRight = 3 };
// What a playfield click must hit to count: any cell, or none at all.
constexpr int kAnyClick = -1, kNoClick = -2;
constexpr int kLeftSignItem = 2;
constexpr int kStageCount = 15;
constexpr double kMarkedHealth = 3.0;

void Page(TForm1& g, int page, int x, int y, int alpha = 255) {
  g.AddPictureLayer(g.Playfield, x, y, g.BmpTutorial + page, alpha, kOverlayTag);
}

void Arrow(TForm1& g, ArrowDirection direction, int x, int y) {
  g.AddPictureLayer(g.Playfield, x, y, g.BmpArrow + direction, kArrowAlpha, kOverlayTag);
}

void WaitForClick(TForm1& g, int cellX, int cellY) {
  g.TutCellX = cellX;
  g.TutCellY = cellY;
}

// A creature that stands where it is put, as if it had always been there.
TMibbet& Frozen(TMibbet& m) {
  m.Active = false;
  m.Arrived = true;
  return m;
}

TMibbet& Spawned(TForm1& g, int x, int y, int type) {
  g.SpawnMibbet(x, y, type);
  return *g.Mibbets.back();
}

// A creature that walks briskly to its place.
void Walker(TForm1& g, int x, int y, int type, int destX, int destY, bool canAttack = true) {
  TMibbet& m = Spawned(g, x, y, type);
  m.StepInterval = 1;
  m.DestX = destX;
  m.DestY = destY;
  m.CanAttack = canAttack;
}

void ShowPointer(TForm1& g, bool shown) {
  g.Cursor->SetShown(shown);
  g.MenuHighlight->SetShown(shown);
}

// The hint pages that stay up from the sign's order to the marked creature's end.
void SignHints(TForm1& g) {
  Page(g, 7, kCentred, 105);
  Page(g, 8, kCentred, 125);
  Page(g, 9, kCentred, 145);
  Page(g, 25, kCentred, 255);
}

using StageScene = void (*)(TForm1& g);

constexpr StageScene kStages[kStageCount] = {
    // 0: the three kinds, standing still.
    [](TForm1& g) {
      Page(g, 0, kCentred, 245);
      Frozen(Spawned(g, 5, 9, 3));
      Frozen(Spawned(g, 9, 9, 2));
      Frozen(Spawned(g, 13, 9, 1));
    },
    // 1: the tunnels, and a creature out of each.
    [](TForm1& g) {
      Page(g, 1, kCentred, 263);
      g.LayOutTunnels();
      Walker(g, g.STunnel.X, g.STunnel.Y - 1, 2, 9, 10);
      Walker(g, g.FTunnel.X, g.FTunnel.Y - 1, 1, 13, 10);
      Walker(g, g.ETunnel.X, g.ETunnel.Y - 1, 3, 5, 10);
    },
    // 2: holes are announced; the first to open moves on.
    [](TForm1& g) {
      g.WarnHole(5, 15, 3);
      g.WarnHole(9, 15, 2);
      g.WarnHole(13, 15, 1);
      WaitForClick(g, kNoClick, kNoClick);
      Page(g, 2, kCentred, 280);
    },
    // 3: creatures out of the holes.
    [](TForm1& g) {
      WaitForClick(g, kAnyClick, kAnyClick);
      Walker(g, 9, 14, 2, 9, 11, false);
      Walker(g, 13, 14, 1, 13, 11, false);
      Walker(g, 5, 14, 3, 5, 11, false);
    },
    // 4: the base.
    [](TForm1& g) {
      g.ClearTutorialOverlays();
      g.ClearWorld();
      g.PaintFloor();
      g.LayOutBase();
      g.AddBuilder();
      g.HeldBuilder = -1;
      Arrow(g, ArrowRight, 265, 0);
      Page(g, 3, 210, 10);
      Arrow(g, ArrowUp, 315, 70);
      Page(g, 4, 460, 45);
      Arrow(g, ArrowLeft, 385, 35);
      Page(g, 5, 245, 140);
      Page(g, 6, kCentred, 250);
    },
    // 5: a click on the marked cell opens the build menu there.
    [](TForm1& g) {
      g.ClearTutorialOverlays();
      Page(g, 7, kCentred, 105);
      ShowPointer(g, true);
      WaitForClick(g, g.STunnel.X - 1, g.STunnel.Y - 3);
      g.AddPictureLayer(g.Playfield, CellSize * g.TutCellX, CellSize * g.TutCellY, g.BmpRedCross, kRedCrossAlpha,
                        kOverlayTag);
      TMibbet& marked = Frozen(Spawned(g, 5, 16, 3));
      marked.Health = kMarkedHealth;
      marked.TutorialMark = true;
    },
    // 6: the left-pointing sign.
    [](TForm1& g) {
      Page(g, 8, kCentred, 125);
      g.TutMenuTag = kLeftSignItem;
    },
    // 7: the builder puts the sign up.
    [](TForm1& g) {
      g.ClearTutorialOverlays();
      SignHints(g);
      ShowPointer(g, false);
      WaitForClick(g, kNoClick, kNoClick);
    },
    // 8: a creature walks into the sign and is pushed next to the kind it hates.
    [](TForm1& g) {
      g.ClearTutorialOverlays();
      SignHints(g);
      Page(g, 10, kCentred, 355);
      WaitForClick(g, kNoClick, kNoClick);
      g.SpawnMibbet(10, 18, 2);
    },
    // 9: the score.
    [](TForm1& g) {
      if (!g.Mibbets.empty()) Frozen(*g.Mibbets.back());
      g.ClearTutorialOverlays();
      Page(g, 10, kCentred, 105);
      Page(g, 11, kCentred, 210);
      Arrow(g, ArrowRight, 595, 210);
      WaitForClick(g, kAnyClick, kAnyClick);
    },
    // 10: what can be gathered.
    [](TForm1& g) {
      g.RemoveAllMibbets();
      g.ClearTutorialOverlays();
      Page(g, 12, kCentred, 105);
      const int pictures[3] = {g.BmpRock, g.BmpRuin, g.BmpScrap};
      const int columns[3] = {105, 315, 560};
      for (int k = 0; k < 3; ++k) {
        g.AddPictureLayer(g.Playfield, columns[k], 350, pictures[k], 255, kOverlayTag);
        g.Playfield.Image.LayerAt(g.Playfield.Image.LayerCount() - 1).Mode = DrawMode::Blend;
        Arrow(g, ArrowUp, columns[k], 385);
      }
      Page(g, 13, 70, 455, kLabelAlpha);
      Page(g, 14, 260, 455, kLabelAlpha);
      Page(g, 15, 515, 455, kLabelAlpha);
    },
    // 11: scrap for a builder; a click on the orb.
    [](TForm1& g) {
      g.Scrap = g.BOTCOST + g.SIGNCOST;
      g.RedrawScrap();
      g.ClearTutorialOverlays();
      Page(g, 16, kCentred, 105);
      WaitForClick(g, 9, 0);
      if (g.Orb) {
        g.Orb->SetCellX(9);
        g.Orb->SetCellY(0);
      }
    },
    // 12: the orb menu buys a builder.
    [](TForm1& g) {
      g.ClearTutorialOverlays();
      Page(g, 17, kCentred, 105);
    },
    // 13: the panels on the right.
    [](TForm1& g) {
      g.ClearTutorialOverlays();
      Page(g, 18, 70, 105);
      Page(g, 19, 605, 20);
      Page(g, 20, 545, 70);
      Page(g, 21, 595, 132);
    },
    // 14: the last words.
    [](TForm1& g) {
      g.ClearTutorialOverlays();
      Page(g, 22, kCentred, 105);
      Page(g, 23, kCentred, 140);
      Page(g, 24, kCentred, 245);
    },
};

}  // namespace

void TForm1::StartTutorial() {
  GameMode = ModeTutorial;
  ClearWorld();
  tmrTickTut.SetEnabled(true);
  Scrap = BASESCRAP;
  Score = 0;
  DrawCounter(imScore, "0");
  HatredState = 1;
  SetHatred();
  DrawCounter(imScrapCt, std::to_string(Scrap));
  TutCellX = TutCellY = TutMenuTag = -1;
  PaintFloor();
  // The tunnels come back in the second stage.
  for (TunnelRec* t : {&FTunnel, &STunnel, &ETunnel}) t->Sprite.reset();
  RefreshSignCounter();
  for (TSprite* s : {Cursor.get(), MenuHighlight.get(), OrbMenuHighlight.get()}) s->SetShown(false);
  TutorialStage = 0;
  SetTutorialStage(0);
  pnlSplash.Visible = PaintBox1.Visible = PaintBox2.Visible = false;
}

void TForm1::EndTutorial() {
  ClearTutorialOverlays();
  tmrTickTut.SetEnabled(false);
  ClearWorld();
  for (TLayeredImageControl* menu : {&MenuImg, &OrbMenuImg}) {
    if (!menu->Visible) continue;
    menu->Visible = false;
    Cursor->SetShown(true);
  }
  TutCellX = TutCellY = TutMenuTag = -1;
  NewGame();
  tmrTickTut.SetEnabled(false);
  StartGame();
}

void TForm1::AdvanceTutorial(bool requireArrived) {
  // An event while a creature is still walking is spent without effect.
  if (requireArrived && std::any_of(Mibbets.begin(), Mibbets.end(), [](const auto& m) { return !m->Arrived; })) return;
  ++TutorialStage;
  SetTutorialStage(TutorialStage);
  if (TutorialStage >= kStageCount) EndTutorial();
}

void TForm1::SetTutorialStage(int stage) {
  // No tick may see a half-built scene.
  tmrTickTut.SetEnabled(false);
  if (stage >= 0 && stage < kStageCount) kStages[stage](*this);
  if (GameMode == ModeTutorial) tmrTickTut.SetEnabled(true);
}

void TForm1::ClearTutorialOverlays() {
  tmrTickTut.SetEnabled(false);
  LayeredImage& field = Playfield.Image;
  for (int i = field.LayerCount() - 1; i >= 0; --i)
    if (field.LayerAt(i).Tag == kOverlayTag) field.DestroyLayerAt(i);
  if (GameMode == ModeTutorial) tmrTickTut.SetEnabled(true);
}

void TForm1::tmrTickTutTimer() {
  tmrTickTut.SetEnabled(false);
  UpdateMibbets();
  ClearHitFlags();
  UpdateEffects();
  Cursor->Place();
  AssignOrders();
  // Whatever the newest builder works on moves the tutorial on when it is done.
  if (!Builders.empty() && Builders.back()->Order) Builders.back()->Order->AdvancesTutorial = true;
  StepBuilders();
  if (GameMode == ModeTutorial) tmrTickTut.SetEnabled(true);
}
