// Sprites: where Place puts a layer, gliding, menu slots and the builder's dwell.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TSprite& NewSprite(TForm1& g, int x, int y, bool glide) {
  g.Effects.push_back(std::make_unique<TSprite>(g.Playfield.Image));
  TSprite& s = *g.Effects.back();
  g.ShowPicture(s, g.BmpTree);
  s.SetCellX(x);
  s.SetCellY(y);
  s.Place();
  s.Glide = glide;
  return s;
}

TEST(Sprite, JumpsOntoItsCell) {
  GameFixture f;
  TSprite& s = NewSprite(f.Game(), 3, 4, false);
  EXPECT_EQ(s.Location, (LayerRect{105, 140, 140, 175}));
  EXPECT_EQ(s.Layer->Location, s.Location);
  EXPECT_EQ(s.Layer->Mode, DrawMode::Blend);
}

TEST(Sprite, GlidesFourPixelsPerPlaceAndSnapsWhenClose) {
  GameFixture f;
  TSprite& s = NewSprite(f.Game(), 0, 0, true);
  s.SetCellX(1);
  std::vector<float> lefts;
  for (int i = 0; i < 8; ++i) {
    s.Place();
    lefts.push_back(s.Location.Left);
  }
  EXPECT_EQ(lefts, (std::vector<float>{4, 8, 12, 16, 20, 24, 28, 35}));
  s.Location.Left = 26;
  s.Place();
  EXPECT_EQ(s.Location.Left, 30);
  s.Place();
  EXPECT_EQ(s.Location.Left, 35);

  TSprite& d = NewSprite(f.Game(), 0, 0, true);
  d.SetCellX(1);
  d.SetCellY(1);
  d.Place();
  EXPECT_EQ(d.Location.Left, 4);
  EXPECT_EQ(d.Location.Top, 4);
}

TEST(Sprite, MenuHighlightsSitOnTheirSlots) {
  GameFixture f;
  TForm1& g = f.Game();
  struct Case {
    int x, y;
    float left, top;
  } cases[] = {{0, 0, 3, 17}, {1, 0, 44, 17}, {0, 1, 3, 58}, {1, 2, 44, 99}};
  for (const Case& c : cases) {
    g.MenuHighlight->SetCellX(c.x);
    g.MenuHighlight->SetCellY(c.y);
    g.MenuHighlight->Place();
    EXPECT_EQ(g.MenuHighlight->Location.Left, c.left);
    EXPECT_EQ(g.MenuHighlight->Location.Top, c.top);
  }
  g.OrbMenuHighlight->SetCellX(5);
  g.OrbMenuHighlight->Place();
  EXPECT_EQ(g.OrbMenuHighlight->Location.Left, 24);
  EXPECT_EQ(g.OrbMenuHighlight->Location.Top, 16);
}

TEST(Sprite, HiddenSpriteKeepsItsPlaceAndShowingAPictureResetsAlpha) {
  GameFixture f;
  TForm1& g = f.Game();
  TSprite& s = NewSprite(g, 2, 2, false);
  s.Visible = false;
  s.Place();
  EXPECT_FALSE(s.Layer->Visible);
  EXPECT_EQ(s.Location.Left, 70);
  s.Layer->MasterAlpha = 64;
  g.ShowPicture(s, g.BmpSign);
  EXPECT_EQ(s.Layer->MasterAlpha, 255);
}

TEST(Sprite, BuilderOnItsCellCompletesItsOrderOnTheSixthPlace) {
  GameFixture f;
  TSprite& builder = *f.Game().Builders[0];
  builder.Order = std::make_unique<TOrder>(&f.Game());
  std::vector<bool> due;
  for (int i = 0; i < 6; ++i) due.push_back(builder.Place());
  EXPECT_EQ(due, (std::vector<bool>{false, false, false, false, false, true}));
  builder.Order.reset();
  EXPECT_FALSE(builder.Place());
}

}  // namespace
