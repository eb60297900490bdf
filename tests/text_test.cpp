// Bitmap-font text: glyphs, one layer per character, and tags.
#include <gtest/gtest.h>

#include "presentation/text.h"
#include "tests/test_support.h"

namespace {

TEST(Text, GlyphIndexMapsTheFontCharacters) {
  struct Case {
    char ch;
    int base, index;
  } cases[] = {{'0', 0, 0},  {'9', 40, 49}, {'/', 40, 50}, {'A', 0, 11},  {'Z', 0, 36}, {' ', 0, 37},
               {'_', 0, 38}, {'-', 40, 79}, {'a', 0, -1},  {'a', 40, -1}, {'!', 0, -1}};
  for (const Case& c : cases) EXPECT_EQ(GlyphIndex(c.ch, c.base), c.index) << c.ch;
}

TEST(Text, LaysOneOpaqueLayerPerCharacterLeftToRight) {
  GameFixture f;
  TForm1& g = f.Game();
  g.DrawText(g.imScore, "120", 0, true, 0, 0, 0);
  LayeredImage& image = g.imScore.Image;
  ASSERT_EQ(image.LayerCount(), 3);
  const int w0 = g.Sprites.At(g.BmpFont + 1)->Width(), w1 = g.Sprites.At(g.BmpFont + 2)->Width();
  EXPECT_EQ(image.LayerAt(0).Location.Left, 0);
  EXPECT_EQ(image.LayerAt(1).Location.Left, w0);
  EXPECT_EQ(image.LayerAt(2).Location.Left, w0 + w1);
  EXPECT_EQ(image.LayerAt(2).Mode, DrawMode::Opaque);
  g.DrawText(g.imScore, "10", 0, true, 0, 0, 0);
  g.DrawText(g.imScore, "9", 0, true, 0, 0, 0);
  EXPECT_EQ(image.LayerCount(), 1);
  g.DrawText(g.imScore, "a-!", 0, false, 0, 0, 0);  // no glyph: nothing drawn, the pen stays
  EXPECT_EQ(image.LayerCount(), 2);
  EXPECT_EQ(image.LayerAt(1).Location.Left, 0);
}

TEST(Text, ClearingWithATagReplacesOnlyThatText) {
  GameFixture f;
  TForm1& g = f.Game();
  LayeredImage& menu = g.MenuImg.Image;
  const int before = menu.LayerCount();  // the highlight
  g.AddPictureLayer(g.MenuImg, 3, 17, g.BmpRedSquare, 250, -10);
  g.DrawText(g.MenuImg, "10", 0, true, 27, 139, -1);
  g.DrawText(g.MenuImg, "5", 0, true, 27, 139, -1);
  EXPECT_EQ(menu.LayerCount(), before + 2);
  EXPECT_EQ(menu.LayerAt(before).Tag, -10);
  EXPECT_EQ(menu.LayerAt(before + 1).Location.Left, 27);
  g.DrawText(g.MenuImg, "", 0, true, 27, 139, -1);
  EXPECT_EQ(menu.LayerCount(), before + 1);
}

TEST(Text, PictureLayersCentreAndBlendBelowFullAlpha) {
  GameFixture f;
  TForm1& g = f.Game();
  g.AddPictureLayer(g.Playfield, -1, 245, g.BmpTutorial, 255, -1);
  const BitmapLayer& page = g.Playfield.Image.LayerAt(g.Playfield.Image.LayerCount() - 1);
  EXPECT_EQ(page.Location.Left, float((700 - page.PictureWidth()) / 2));
  EXPECT_EQ(page.Mode, DrawMode::Opaque);
  g.AddPictureLayer(g.Playfield, 10, 10, g.BmpArrow, 200, -1);
  const BitmapLayer& arrow = g.Playfield.Image.LayerAt(g.Playfield.Image.LayerCount() - 1);
  EXPECT_EQ(arrow.Mode, DrawMode::Blend);
  EXPECT_EQ(arrow.MasterAlpha, 200);
  EXPECT_EQ(arrow.Tag, -1);
}

}  // namespace
