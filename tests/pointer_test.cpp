// The playfield pointer and the two menus, driven with the simulated mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/test_support.h"

namespace {

// Menu pixels of the six build-menu items, inside their hover regions.
constexpr int kSignDown[2] = {20, 30}, kSignLeft[2] = {20, 75};
constexpr int kGet[2] = {20, 115}, kDestroy[2] = {60, 115};

struct MenuGame : GameFixture {
  explicit MenuGame(const std::string& settings = "") : GameFixture("INITDELAY=100000\n" + settings) {
    StartPlaying();
    Sim->Sound().Requested.clear();
  }
  TForm1& g = Game();

  void ClickCell(int cx, int cy, MouseButton button = MouseButton::Left) {
    Sim->Press(9 + CellSize * cx + 17, 9 + CellSize * cy + 17, button);
  }
  void PointAtMenu(int mx, int my) { Sim->Move(g.MenuImg.Left + mx, g.MenuImg.Top + my); }
  void PressMenu(const int (&item)[2], MouseButton button = MouseButton::Left) {
    Sim->Press(g.MenuImg.Left + item[0], g.MenuImg.Top + item[1], button);
  }
  std::vector<std::string>& Sounds() { return Sim->Sound().Requested; }
  int LayersTagged(const TLayeredImageControl& image, int tag) const {
    int n = 0;
    for (int i = 0; i < image.Image.LayerCount(); ++i) n += image.Image.LayerAt(i).Tag == tag;
    return n;
  }
  int Marks() const {
    return int(std::count_if(g.Effects.begin(), g.Effects.end(), [](const auto& e) { return e->NoBuildMark; }));
  }
};

TEST(MenuOpening, AReopenedMenuShowsNoHighlightOrPriceUntilThePointerMoves) {
  MenuGame m;
  for (int pass = 0; pass < 2; ++pass) {
    const bool orb = pass == 1;
    TLayeredImageControl& menu = orb ? m.g.OrbMenuImg : m.g.MenuImg;
    const TSprite& highlight = orb ? *m.g.OrbMenuHighlight : *m.g.MenuHighlight;
    const auto open = [&] { orb ? m.ClickCell(9, 0) : m.ClickCell(3, 4); };
    open();
    m.Sim->Move(menu.Left + kSignDown[0], menu.Top + kSignDown[1]);
    EXPECT_TRUE(highlight.Layer->Visible);
    EXPECT_GT(m.LayersTagged(menu, -1), 0) << "the price is shown while an item is pointed at";
    m.ClickCell(12, 12);  // a click beside the menu closes it
    ASSERT_FALSE(menu.Visible);
    open();
    EXPECT_EQ(menu.Tag, -1);
    EXPECT_FALSE(highlight.Layer->Visible);
    EXPECT_EQ(m.LayersTagged(menu, -1), 0);
    m.Sim->Move(menu.Left + kSignDown[0], menu.Top + kSignDown[1] + 1);
    EXPECT_TRUE(highlight.Layer->Visible);
    EXPECT_GT(m.LayersTagged(menu, -1), 0);
    m.ClickCell(12, 12);
  }
}

TEST(MenuOpening, BuildMenuBesideTheCellOrHeldInsideTheWindow) {
  struct Case {
    int cx, cy, left, top;
  };
  const Case cases[] = {{3, 4, 105, 140},   {16, 14, 560, 490}, {17, 4, 595, 140},
                        {19, 14, 595, 490}, {5, 15, 175, 525},  {19, 19, 595, 525}};
  MenuGame m;
  for (const Case& c : cases) {
    m.ClickCell(c.cx, c.cy);
    EXPECT_TRUE(m.g.MenuImg.Visible);
    EXPECT_EQ(m.g.MenuImg.Left, c.left) << c.cx << "," << c.cy;
    EXPECT_EQ(m.g.MenuImg.Top, c.top) << c.cx << "," << c.cy;
    EXPECT_EQ(m.g.MenuCellX, c.cx);
    EXPECT_EQ(m.g.MenuCellY, c.cy);
    EXPECT_EQ(m.g.MenuImg.Tag, -1);
    EXPECT_FALSE(m.g.Cursor->Visible);
    EXPECT_FALSE(m.g.Cursor->Layer->Visible);
    EXPECT_EQ(m.g.Window.Children.back(), &m.g.MenuImg);
    EXPECT_GT(m.Marks(), 0);
    EXPECT_EQ(m.Sounds(), std::vector<std::string>{"menuopen"});
    m.Sounds().clear();

    // Any further press on the playfield closes it silently and opens nothing.
    m.g.PlayfieldMouseDown(MouseButton::Left, 0, 0);
    EXPECT_FALSE(m.g.MenuImg.Visible);
    EXPECT_TRUE(m.g.Cursor->Visible);
    EXPECT_EQ(m.Marks(), 0);
    EXPECT_TRUE(m.Sounds().empty());
  }
}

TEST(MenuOpening, OrbCellOpensTheOrbMenuAtTheCell) {
  MenuGame m;
  m.ClickCell(9, 0);
  EXPECT_FALSE(m.g.MenuImg.Visible);
  EXPECT_TRUE(m.g.OrbMenuImg.Visible);
  EXPECT_EQ(m.g.OrbMenuImg.Left, 9 * CellSize);
  EXPECT_EQ(m.g.OrbMenuImg.Top, 0);
  EXPECT_EQ(m.g.OrbMenuImg.Tag, -1);
  EXPECT_FALSE(m.g.Cursor->Visible);
  EXPECT_EQ(m.Marks(), 0);
  EXPECT_EQ(m.Sounds(), std::vector<std::string>{"menuopen"});
}

TEST(MenuOpening, UnaffordableItemsAreMarkedEachTimeAMenuOpens) {
  MenuGame m;
  m.g.Scrap = 9;
  m.ClickCell(5, 5);
  ASSERT_EQ(m.LayersTagged(m.g.MenuImg, -10), 4);
  const int expected[4][2] = {{3, 17}, {3, 58}, {44, 17}, {44, 58}};
  int found = 0;
  for (int i = 0; i < m.g.MenuImg.Image.LayerCount(); ++i) {
    const BitmapLayer& layer = m.g.MenuImg.Image.LayerAt(i);
    if (layer.Tag != -10) continue;
    EXPECT_EQ(layer.Location.Left, expected[found][0]);
    EXPECT_EQ(layer.Location.Top, expected[found][1]);
    EXPECT_EQ(layer.MasterAlpha, 250);
    EXPECT_EQ(layer.Mode, DrawMode::Blend);
    ++found;
  }
  m.ClickCell(0, 10);  // close
  m.g.Scrap = 10;
  m.ClickCell(5, 5);
  EXPECT_EQ(m.LayersTagged(m.g.MenuImg, -10), 0);
  m.ClickCell(0, 10);

  m.g.Scrap = 99;
  m.ClickCell(9, 0);
  EXPECT_EQ(m.LayersTagged(m.g.OrbMenuImg, -10), 1);
  m.ClickCell(0, 10);
  m.g.Scrap = 100;
  m.ClickCell(9, 0);
  EXPECT_EQ(m.LayersTagged(m.g.OrbMenuImg, -10), 0);
}

TEST(MenuHover, RegionsInTableOrderWithTheirOverlaps) {
  struct Case {
    int mx, my;
    int tag, column, row;
    const char* price;
  };
  const Case cases[] = {
      {20, 30, 0, 0, 0, "10"}, {60, 30, 1, 1, 0, "10"}, {41, 30, 1, 1, 0, "10"},   {42, 30, 1, 1, 0, "10"},
      {43, 30, 1, 1, 0, "10"}, {40, 30, 0, 0, 0, "10"}, {20, 55, 2, 0, 1, "10"},   {60, 75, 3, 1, 1, "10"},
      {20, 96, 5, 0, 2, "10"}, {20, 115, 5, 0, 2, ""},  {60, 137, 1000, 1, 2, ""}, {41, 96, 1000, 1, 2, "10"},
      {0, 0, 1000, 0, 2, ""},  // the margin keeps the last item
      {20, 14, 0, 0, 0, "10"}, {83, 60, 0, 0, 2, ""},
  };
  MenuGame m;
  m.ClickCell(3, 4);
  for (const Case& c : cases) {
    m.PointAtMenu(c.mx, c.my);
    const std::string where = std::to_string(c.mx) + "," + std::to_string(c.my);
    EXPECT_EQ(m.g.MenuImg.Tag, c.tag) << where;
    EXPECT_EQ(m.g.MenuHighlight->Location.Left, c.column == 0 ? 3 : 44) << where;
    EXPECT_EQ(m.g.MenuHighlight->Location.Top, 17 + 41 * c.row) << where;
    EXPECT_EQ(m.g.MenuImg.LastText, c.price) << where;
    EXPECT_EQ(m.LayersTagged(m.g.MenuImg, -1), int(std::string(c.price).size())) << where;
  }
}

TEST(MenuChoice, MarginPressCarriesOutTheItemLastPointedAt) {
  MenuGame m;
  m.ClickCell(5, 8);
  m.PointAtMenu(kSignLeft[0], kSignLeft[1]);
  const int margin[2] = {0, 0};
  m.PressMenu(margin);
  ASSERT_EQ(m.g.Orders.size(), 1u);
  EXPECT_EQ(m.g.Orders[0]->Action, 2);
  EXPECT_EQ(m.g.MenuHighlight->Location.Top, 99);
}

TEST(MenuChoice, PressBeforePointingAtAnItemOnlyCloses) {
  MenuGame m;
  m.ClickCell(5, 8);
  m.Sounds().clear();
  m.g.MenuImgMouseDown(MouseButton::Left, kSignLeft[0], kSignLeft[1]);
  EXPECT_TRUE(m.g.Orders.empty());
  EXPECT_FALSE(m.g.MenuImg.Visible);
  EXPECT_TRUE(m.g.Cursor->Visible);
  EXPECT_EQ(m.Sounds(), std::vector<std::string>{"menuselect"});
}

TEST(MenuChoice, RightAndMiddleButtonsDoNothing) {
  for (MouseButton button : {MouseButton::Right, MouseButton::Middle}) {
    MenuGame m;
    m.ClickCell(5, 8, button);
    EXPECT_FALSE(m.g.MenuImg.Visible);
    m.ClickCell(5, 8);
    m.PressMenu(kSignLeft, button);
    EXPECT_TRUE(m.g.MenuImg.Visible);
    EXPECT_TRUE(m.g.Orders.empty());
    m.ClickCell(1, 18, button);
    EXPECT_TRUE(m.g.MenuImg.Visible);
    m.ClickCell(1, 18);  // close
    m.ClickCell(9, 0);
    m.Sim->Press(m.g.OrbMenuImg.Left + 30, m.g.OrbMenuImg.Top + 30, button);
    EXPECT_TRUE(m.g.OrbMenuImg.Visible);
    EXPECT_EQ(m.Sounds(), (std::vector<std::string>{"menuopen", "menuopen"}));
  }
}

TEST(MenuChoice, SignPlacementChecksRunInOrder) {
  struct Case {
    const char* name;
    std::function<void(TForm1&)> setUp;
    int cx, cy;
    const char* sound;
    bool scrapFrame, signFrame, ordered;
  };
  const auto signsFarAway = [](TForm1& g, int n) {
    for (int i = 0; i < n; ++i) g.CreateSign(2 * i, 17, false, 0);
    g.RefreshSignCounter();
  };
  const Case cases[] = {
      {"free cell", [](TForm1&) {}, 5, 8, "menuselect", false, false, true},
      {"exactly the price", [](TForm1& g) { g.Scrap = 10; }, 5, 8, "menuselect", false, false, true},
      {"a sign there, no scrap",
       [](TForm1& g) {
         g.CreateSign(5, 8, true, 1);
         g.Scrap = 0;
       },
       5, 8, "nocando", false, false, false},
      {"beside a placeholder, no scrap",
       [](TForm1& g) {
         g.CreateSign(6, 9, false, 1);
         g.Scrap = 0;
       },
       5, 8, "nomoney", false, false, false},
      {"the base ring", [](TForm1&) {}, 11, 2, "nomoney", false, false, false},
      {"a hole warning", [](TForm1& g) { g.AddEffect(5, 8, 255, 50, 1, g.BmpBump).HoleKind = 3; }, 5, 8, "nomoney",
       false, false, false},
      {"at the sign limit, no scrap",
       [&](TForm1& g) {
         signsFarAway(g, 4);
         g.Scrap = 0;
       },
       5, 8, "nomoney", false, true, false},
      {"counter past the limit", [&](TForm1& g) { signsFarAway(g, 5); }, 5, 8, "nomoney", false, true, false},
      {"one short of the price", [](TForm1& g) { g.Scrap = 9; }, 5, 8, "nomoney", true, false, false},
  };
  for (const Case& c : cases) {
    MenuGame m;
    c.setUp(m.g);
    m.g.spNoCash.Tag = 7;
    m.g.spTooManySigns.Tag = 7;
    const int scrapBefore = m.g.Scrap;
    const std::size_t signsBefore = m.g.Signs.size();
    m.g.HeldBuilder = 0;
    m.ClickCell(c.cx, c.cy);
    m.Sounds().clear();
    m.PressMenu(kSignLeft);

    EXPECT_EQ(m.Sounds(), std::vector<std::string>{c.sound}) << c.name;
    EXPECT_EQ(m.g.spNoCash.Visible, c.scrapFrame) << c.name;
    EXPECT_EQ(m.g.spNoCash.Tag, c.scrapFrame ? 0 : 7) << c.name;
    EXPECT_EQ(m.g.spTooManySigns.Visible, c.signFrame) << c.name;
    EXPECT_EQ(m.g.spTooManySigns.Tag, c.signFrame ? 0 : 7) << c.name;
    EXPECT_FALSE(m.g.MenuImg.Visible) << c.name;
    EXPECT_TRUE(m.g.Cursor->Visible) << c.name;
    EXPECT_EQ(m.Marks(), 0) << c.name;
    if (!c.ordered) {
      EXPECT_TRUE(m.g.Orders.empty()) << c.name;
      EXPECT_EQ(m.g.Scrap, scrapBefore) << c.name;
      EXPECT_EQ(m.g.HeldBuilder, 0) << c.name;
      continue;
    }
    EXPECT_EQ(m.g.Scrap, scrapBefore - 10) << c.name;
    EXPECT_EQ(m.g.imScrapCt.LastText, std::to_string(scrapBefore - 10)) << c.name;
    ASSERT_EQ(m.g.Signs.size(), signsBefore + 1) << c.name;
    const TSign& placeholder = *m.g.Signs.back();
    EXPECT_EQ(placeholder.Layer->MasterAlpha, PlaceholderSignAlpha) << c.name;
    EXPECT_EQ(placeholder.Variant, 2) << c.name;
    ASSERT_EQ(m.g.Orders.size(), 1u) << c.name;
    const TOrder& order = *m.g.Orders[0];
    EXPECT_EQ(order.Kind, SignOrder);
    EXPECT_EQ(order.Action, 2);
    EXPECT_EQ(order.CellX, c.cx);
    EXPECT_EQ(order.CellY, c.cy);
    EXPECT_EQ(order.TargetId, placeholder.Id);
    EXPECT_EQ(m.g.HeldBuilder, -1) << c.name;
  }
}

TEST(MenuChoice, GetAndDestroy) {
  MenuGame m;
  const auto firstOf = [&](int family) {
    return std::find_if(m.g.Resources.begin(), m.g.Resources.end(),
                        [&](const auto& r) { return r->Bitmap == family || r->Bitmap == family + 1; })
        ->get();
  };
  const TSprite* tree = firstOf(m.g.BmpTree);
  const TSprite* rock = firstOf(m.g.BmpRock);
  ASSERT_TRUE(tree && rock);

  m.ClickCell(tree->CellX, tree->CellY);
  m.PressMenu(kGet);
  EXPECT_TRUE(m.g.Orders.empty());
  EXPECT_EQ(m.Sounds().back(), "nocando");

  m.ClickCell(rock->CellX, rock->CellY);
  m.PressMenu(kGet);
  EXPECT_EQ(m.Sounds().back(), "menuselect");
  ASSERT_EQ(m.g.Orders.size(), 1u);
  EXPECT_EQ(m.g.Orders[0]->Kind, GatherOrder);
  EXPECT_EQ(m.g.Orders[0]->TargetId, rock->Id);
  EXPECT_EQ(rock->Layer->MasterAlpha, 128);
  m.g.Orders.clear();

  m.ClickCell(5, 8);
  m.PressMenu(kDestroy);  // no sign: nothing queued, still accepted
  EXPECT_TRUE(m.g.Orders.empty());
  EXPECT_EQ(m.Sounds().back(), "menuselect");

  const int sign = m.g.CreateSign(5, 8, true, 0).Id;
  m.ClickCell(5, 8);
  m.PressMenu(kDestroy);
  EXPECT_EQ(m.g.Scrap, 55);
  ASSERT_EQ(m.g.Orders.size(), 1u);
  EXPECT_EQ(m.g.Orders[0]->Action, -1);
  EXPECT_EQ(m.g.Orders[0]->TargetId, sign);
}

TEST(MenuOrb, PriceOnHoverAndABuilderForItsPrice) {
  for (const int scrap : {100, 99}) {
    MenuGame m;
    m.g.Scrap = scrap;
    m.ClickCell(9, 0);
    m.Sim->Move(m.g.OrbMenuImg.Left + 30, m.g.OrbMenuImg.Top + 30);
    EXPECT_EQ(m.g.OrbMenuImg.LastText, "100");
    EXPECT_EQ(m.LayersTagged(m.g.OrbMenuImg, -1), 3);
    EXPECT_EQ(m.g.OrbMenuHighlight->Location.Left, 24);
    EXPECT_EQ(m.g.OrbMenuHighlight->Location.Top, 16);
    m.Sounds().clear();
    m.Sim->Press(m.g.OrbMenuImg.Left + 5, m.g.OrbMenuImg.Top + 70);
    EXPECT_FALSE(m.g.OrbMenuImg.Visible);
    EXPECT_TRUE(m.g.Cursor->Visible);
    if (scrap == 100) {
      EXPECT_EQ(m.Sounds(), std::vector<std::string>{"menuselect"});
      EXPECT_EQ(m.g.Scrap, 0);
      EXPECT_EQ(m.g.imScrapCt.LastText, "0");
      EXPECT_EQ(m.g.Builders.size(), 2u);
      EXPECT_EQ(m.g.HeldBuilder, 1);
      EXPECT_EQ(m.g.imSignsCt.LastText, "0/8");
      EXPECT_FALSE(m.g.spNoCash.Visible);
    } else {
      EXPECT_EQ(m.Sounds(), std::vector<std::string>{"nomoney"});
      EXPECT_EQ(m.g.Scrap, 99);
      EXPECT_EQ(m.g.Builders.size(), 1u);
      EXPECT_TRUE(m.g.spNoCash.Visible);
      EXPECT_EQ(m.g.spNoCash.Tag, 0);
    }
  }
}

TEST(MenuTutorialGate, OnlyTheAwaitedCellAndItemCount) {
  MenuGame m;
  m.g.GameMode = ModeTutorial;
  m.g.TutMenuTag = 2;
  m.ClickCell(5, 8);  // waiting for a menu item: the playfield is inert
  EXPECT_FALSE(m.g.MenuImg.Visible);

  m.g.TutMenuTag = -1;
  m.g.TutCellX = 5;
  m.g.TutCellY = 8;
  m.ClickCell(4, 4);
  EXPECT_FALSE(m.g.MenuImg.Visible);
  m.ClickCell(5, 8);
  EXPECT_TRUE(m.g.MenuImg.Visible);
  EXPECT_EQ(m.g.TutCellX, -1);

  m.g.TutMenuTag = 2;
  m.PressMenu(kSignDown);
  EXPECT_TRUE(m.g.MenuImg.Visible) << "another item leaves the menu open";
  EXPECT_TRUE(m.g.Orders.empty());
  m.PressMenu(kSignLeft);
  EXPECT_FALSE(m.g.MenuImg.Visible);
  EXPECT_EQ(m.g.TutMenuTag, -1);
  EXPECT_EQ(m.g.Orders.size(), 1u);

  // Waiting for any click: the click is used up and closes whatever menu is open.
  m.g.GameMode = ModePlaying;
  m.ClickCell(12, 12);
  ASSERT_TRUE(m.g.MenuImg.Visible);
  m.g.GameMode = ModeTutorial;
  m.g.PlayfieldMouseDown(MouseButton::Left, 0, 0);
  EXPECT_FALSE(m.g.MenuImg.Visible);
  EXPECT_TRUE(m.g.Cursor->Visible);
  EXPECT_EQ(m.Marks(), 0);
}

}  // namespace
