// The playfield pointer and the build and orb menus.
#include "app/main_window.h"

namespace {

constexpr int kNoItem = -1;
constexpr int kGatherItem = 5;
constexpr int kRemoveSignItem = 1000;
constexpr int kUnaffordableTag = -10;
constexpr int kPriceTag = -1;
constexpr int kUnaffordableAlpha = 250;
// Columns and rows from which the build menu would hang off the window's right or bottom edge.
constexpr int kBuildMenuLastFreeColumn = 16;
constexpr int kBuildMenuLastFreeRow = 14;
constexpr int kBuildMenuRightmostLeft = 595;
constexpr int kBuildMenuLowestTop = 525;
constexpr int kBuildMenuPriceX = 27, kBuildMenuPriceY = 139;
constexpr int kOrbMenuPriceX = 27, kOrbMenuPriceY = 54;
constexpr int kOrbMenuSlotX = 24, kOrbMenuSlotY = 16;

// The hover regions overlap by a pixel; a later item wins, so the table order matters.
struct BuildMenuItem {
  int Tag;
  int Column, Row;
  int Left, Right, Top, Bottom;  // inclusive, in menu pixels
  bool ShowsSignPrice;
};
constexpr BuildMenuItem kBuildMenuItems[] = {
    {0, 0, 0, 1, 42, 14, 55, true},
    {1, 1, 0, 41, 82, 14, 55, true},
    {2, 0, 1, 1, 42, 55, 96, true},
    {3, 1, 1, 41, 82, 55, 96, true},
    {kGatherItem, 0, 2, 1, 42, 96, 137, false},
    {kRemoveSignItem, 1, 2, 41, 82, 96, 137, false},
};
// Where the four sign icons sit, in the order their unaffordable marks are laid.
constexpr int kSignIconSlots[4][2] = {{3, 17}, {3, 58}, {44, 17}, {44, 58}};

void RemoveLayersTagged(LayeredImage& image, int tag) {
  for (int i = image.LayerCount() - 1; i >= 0; --i)
    if (image.LayerAt(i).Tag == tag) image.DestroyLayerAt(i);
}

}  // namespace

void TForm1::PlayfieldMouseMove(int x, int y) {
  Cursor->SetCellX(x / CellSize);
  Cursor->SetCellY(y / CellSize);
}

void TForm1::PlayfieldMouseDown(MouseButton button, int, int) {
  if (button != MouseButton::Left || GameOver) return;
  if (GameMode == ModeTutorial && !PassPlayfieldTutorialGate()) return;
  if (CloseOpenMenu()) return;
  MenuCellX = Cursor->CellX;
  MenuCellY = Cursor->CellY;
  if (Orb && Orb->CellX == MenuCellX && Orb->CellY == MenuCellY) OpenOrbMenu();
  else OpenBuildMenu();
}

// True when the click may go on to open a menu. A click the tutorial takes closes any open menu,
// and once the tutorial has handed over to a fresh game the click has nothing left to do.
bool TForm1::PassPlayfieldTutorialGate() {
  if (TutMenuTag != -1) return false;
  if (TutCellX == -1) {
    AdvanceTutorial(true);
    CloseOpenMenu();
    return false;
  }
  if (Cursor->CellX != TutCellX || Cursor->CellY != TutCellY) return false;
  TutCellX = -1;
  TutCellY = -1;
  AdvanceTutorial(true);
  return GameMode == ModeTutorial;
}

// Clears the no-build marks in any case; closing a menu this way is silent.
bool TForm1::CloseOpenMenu() {
  ShowNoBuildMarks(false);
  TLayeredImageControl* open = MenuImg.Visible ? &MenuImg : OrbMenuImg.Visible ? &OrbMenuImg : nullptr;
  if (!open) return false;
  open->Visible = false;
  Cursor->SetShown(true);
  return true;
}

void TForm1::ShowMenu(TLayeredImageControl& menu, int left, int top) {
  menu.Left = left;
  menu.Top = top;
  menu.Visible = true;
  // No item has been pointed at yet; only a real pointer movement chooses one. A highlight or a
  // price left from the last opening would promise a choice that a click does not make.
  menu.Tag = kNoItem;
  RemoveLayersTagged(menu.Image, kPriceTag);
  menu.LastText.clear();
  (&menu == &MenuImg ? MenuHighlight : OrbMenuHighlight)->SetShown(false);
  menu.BringToFront();
  Cursor->SetShown(false);
  PlaySfx("menuopen", 0);
  RemoveLayersTagged(menu.Image, kUnaffordableTag);
}

void TForm1::OpenOrbMenu() {
  ShowMenu(OrbMenuImg, MenuCellX * CellSize, MenuCellY * CellSize);
  if (Scrap - BOTCOST < 0)
    AddPictureLayer(OrbMenuImg, kOrbMenuSlotX, kOrbMenuSlotY, BmpRedSquare, kUnaffordableAlpha, kUnaffordableTag);
}

void TForm1::OpenBuildMenu() {
  const int left = MenuCellX <= kBuildMenuLastFreeColumn ? MenuCellX * CellSize : kBuildMenuRightmostLeft;
  const int top = MenuCellY <= kBuildMenuLastFreeRow ? MenuCellY * CellSize : kBuildMenuLowestTop;
  ShowNoBuildMarks(true);
  ShowMenu(MenuImg, left, top);
  if (Scrap - SIGNCOST >= 0) return;
  for (const auto& slot : kSignIconSlots)
    AddPictureLayer(MenuImg, slot[0], slot[1], BmpRedSquare, kUnaffordableAlpha, kUnaffordableTag);
}

void TForm1::MenuImgMouseMove(int x, int y) {
  int column = 0, row = 2;
  std::string price;
  for (const BuildMenuItem& item : kBuildMenuItems) {
    if (x < item.Left || x > item.Right || y < item.Top || y > item.Bottom) continue;
    column = item.Column;
    row = item.Row;
    MenuImg.Tag = item.Tag;
    if (item.ShowsSignPrice) price = std::to_string(SIGNCOST);
  }
  DrawText(MenuImg, price, 0, true, kBuildMenuPriceX, kBuildMenuPriceY, kPriceTag);
  MenuHighlight->SetCellX(column);
  MenuHighlight->SetCellY(row);
  MenuHighlight->SetShown(true);
  MenuHighlight->Place();
}

void TForm1::MenuImgMouseDown(MouseButton button, int, int) {
  if (button != MouseButton::Left) return;
  if (GameMode == ModeTutorial && !PassBuildMenuTutorialGate()) return;
  // Every press that gets this far closes the menu, whatever it ordered.
  const std::string sound = CarryOutBuildMenuItem(MenuImg.Tag);
  CloseOpenMenu();
  PlaySfx(sound, 0);
}

// In the tutorial only the awaited item counts; any other press leaves the menu open.
bool TForm1::PassBuildMenuTutorialGate() {
  if (TutMenuTag == -1 || TutMenuTag != MenuImg.Tag) return false;
  TutMenuTag = -1;
  AdvanceTutorial(true);
  if (GameMode == ModeTutorial) return true;
  CloseOpenMenu();
  return false;
}

// Places the order the item stands for and returns the cue that answers the press.
std::string TForm1::CarryOutBuildMenuItem(int tag) {
  if (tag == kGatherItem) return OrderGather(MenuCellX, MenuCellY) ? "menuselect" : "nocando";
  if (tag == kRemoveSignItem) return OrderSignRemoval(MenuCellX, MenuCellY) ? "menuselect" : "nocando";
  if (tag >= 0 && tag <= 3) return OrderSignFromMenu(tag);
  return "menuselect";
}

std::string TForm1::OrderSignFromMenu(int direction) {
  switch (SignPlacementRefusal(MenuCellX, MenuCellY)) {
    case SignRefusal::SignThere:
      return "nocando";
    case SignRefusal::NoBuildMark:
      return "nomoney";
    case SignRefusal::SignLimit:
      StartWarningFlash(spTooManySigns);
      return "nomoney";
    case SignRefusal::NoScrap:
      StartWarningFlash(spNoCash);
      return "nomoney";
    case SignRefusal::None:
      break;
  }
  OrderSign(MenuCellX, MenuCellY, direction);
  return "menuselect";
}

void TForm1::OrbMenuImgMouseMove(int, int) {
  OrbMenuHighlight->SetCellX(0);
  OrbMenuHighlight->SetCellY(0);
  OrbMenuHighlight->SetShown(true);
  OrbMenuHighlight->Place();
  DrawText(OrbMenuImg, std::to_string(BOTCOST), 0, true, kOrbMenuPriceX, kOrbMenuPriceY, kPriceTag);
}

void TForm1::OrbMenuImgMouseDown(MouseButton button, int, int) {
  if (button != MouseButton::Left) return;
  if (GameMode == ModeTutorial) {
    tmrTickTut.SetEnabled(false);
    AdvanceTutorial(true);
    if (GameMode != ModeTutorial) {
      CloseOpenMenu();
      return;
    }
  }
  BuyBuilder();
}

void TForm1::BuyBuilder() {
  if (Scrap - BOTCOST < 0) {
    StartWarningFlash(spNoCash);
    CloseOpenMenu();
    PlaySfx("nomoney", 0);
    return;
  }
  Scrap = AddToTotal(Scrap, -BOTCOST);
  RedrawScrap();
  AddBuilder();
  CloseOpenMenu();
  PlaySfx("menuselect", 0);
  if (GameMode == ModeTutorial) tmrTickTut.SetEnabled(true);
}

// The main tick blinks a shown frame twice and hides it; a new warning starts the blink over.
void TForm1::StartWarningFlash(TShape& frame) {
  frame.Visible = true;
  frame.Tag = 0;
}
