// Effects: frames, lifetimes, the closing hole, and beam flashes.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TEST(Effects, AdvanceEverySecondUpdateAndEndWhenLifeRunsOut) {
  GameFixture f;
  TForm1& g = f.Game();
  TSprite& still = g.AddEffect(4, 4, 255, 3, 1, g.BmpSpeechMib);
  TSprite& loop = g.AddEffect(5, 5, 170, 7, 3, g.BmpFExclaim);
  g.AddEffect(6, 6, 255, 1, 1, g.BmpSplode);
  const std::size_t before = g.Effects.size();
  g.UpdateEffects();
  EXPECT_EQ(g.Effects.size(), before);  // life 1 lasts two updates
  EXPECT_EQ(loop.Frame, 0);
  g.UpdateEffects();
  EXPECT_EQ(g.Effects.size(), before - 1);
  EXPECT_EQ(loop.Frame, 1);
  EXPECT_EQ(loop.ShownPicture, g.BmpFExclaim + 1);
  EXPECT_EQ(loop.Layer->MasterAlpha, 170);
  EXPECT_EQ(still.ShownPicture, g.BmpSpeechMib);
  for (int i = 0; i < 4; ++i) g.UpdateEffects();
  EXPECT_EQ(loop.Frame, 0);  // wrapped after three frames
}

TEST(Effects, OpenHoleLeavesAFlickerBelowEveryLayer) {
  GameFixture f;
  TForm1& g = f.Game();
  TSprite& hole = g.AddEffect(7, 9, 255, 1, 1, g.BmpHole);
  hole.LeavesHoleMark = true;
  hole.HoleKind = 2;
  g.UpdateEffects();
  g.UpdateEffects();
  const TSprite& flicker = *g.Effects.back();
  EXPECT_EQ(flicker.CellX, 7);
  EXPECT_EQ(flicker.Life, 15);
  EXPECT_EQ(flicker.FrameCount, 2);
  EXPECT_EQ(flicker.Alpha, 128);
  EXPECT_EQ(g.Sprites.NameAt(flicker.Bitmap + 1), "Trans");
  EXPECT_EQ(g.Playfield.Image.IndexOf(flicker.Layer), 0);
}

TEST(Effects, OrbNeverEndsAndItsRemovalClearsTheReference) {
  GameFixture f;
  TForm1& g = f.Game();
  for (int i = 0; i < 100; ++i) g.UpdateEffects();
  ASSERT_NE(g.Orb, nullptr);
  EXPECT_EQ(g.Orb->Frame, 50 % 4);
  g.Orb->Life = 1;
  g.UpdateEffects();
  g.UpdateEffects();
  EXPECT_EQ(g.Orb, nullptr);
}

TEST(Beams, ThreePixelLineLivesFourUpdatesAndJitterKeepsGreyGrey) {
  GameFixture f;
  TForm1& g = f.Game();
  g.AddBeam(2, 3, 17, 17, 4, 3, 10, 10, MakePixel(75, 75, 75), true);
  ASSERT_EQ(g.KillAnims.size(), 1u);
  const BitmapLayer& layer = *g.KillAnims[0]->Layer;
  EXPECT_EQ(layer.Location, (LayerRect{70, 105, 175, 140}));
  EXPECT_EQ(g.Playfield.Image.IndexOf(&layer), g.Playfield.Image.LayerCount() - 1);
  const Pixel start = layer.ShownAt(17, 17);
  EXPECT_EQ(PixelAlpha(start), 255);
  EXPECT_EQ(PixelRed(start), PixelGreen(start));
  EXPECT_EQ(PixelGreen(start), PixelBlue(start));
  EXPECT_EQ(PixelAlpha(layer.ShownAt(17, 16)), 255);  // 3 px thick
  EXPECT_EQ(PixelAlpha(layer.ShownAt(17, 18)), 255);
  EXPECT_EQ(PixelAlpha(layer.ShownAt(17, 20)), 0);
  for (int i = 0; i < 3; ++i) g.UpdateEffects();
  EXPECT_EQ(g.KillAnims.size(), 1u);
  g.UpdateEffects();
  EXPECT_TRUE(g.KillAnims.empty());

  for (int i = 0; i < 20; ++i) g.AddBeam(0, 0, 17, 5, 1, 1, 17, 17, MakePixel(0, 0, 255), true);
  for (const auto& beam : g.KillAnims) {
    const Pixel p = beam->Layer->ShownAt(17, 5);
    EXPECT_EQ(PixelRed(p), PixelGreen(p));  // both clamped at 0 or moved up alike
    EXPECT_GE(PixelBlue(p), 225);
  }
}

}  // namespace
