// Pictures, layered images and their files: blending, layer order, BMP files, alpha companions.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/bmp_file.h"
#include "presentation/damage.h"
#include "presentation/layered_image.h"
#include "tests/test_support.h"

namespace {

TEST(Compositor, BlendsWithPixelAlphaTimesMasterAlpha) {
  struct Case {
    int pixelAlpha, masterAlpha, expectedRed;
  } cases[] = {{255, 255, 200}, {255, 0, 0}, {0, 255, 0}, {255, 128, 100}, {128, 255, 100}, {128, 128, 50}};
  for (const Case& c : cases) {
    Bitmap32 target(1, 1, MakePixel(0, 0, 0));
    const Bitmap32 src(1, 1, MakePixel(200, 0, 0, c.pixelAlpha));
    target.DrawBlended(src, 0, 0, c.masterAlpha);
    EXPECT_NEAR(PixelRed(target.At(0, 0)), c.expectedRed, 1) << c.pixelAlpha << " " << c.masterAlpha;
  }
}

TEST(Compositor, ATintedLayerShowsItsColourInThePicturesShape) {
  LayeredImage image;
  image.Bitmap.Resize(3, 1, MakePixel(0, 0, 0));
  Bitmap32 shape(3, 1, 0);
  shape.Set(0, 0, MakePixel(255, 255, 255, 255));
  shape.Set(1, 0, MakePixel(255, 255, 255, 128));
  BitmapLayer& beam = image.CreateLayer();
  beam.ShowPicture(std::make_shared<Bitmap32>(shape));
  beam.Tint = MakePixel(0, 200, 0);
  beam.Location = {0, 0, 3, 1};
  Bitmap32 frame(3, 1);
  image.Render(frame, 0, 0, frame.FullRect());
  EXPECT_EQ(frame.At(0, 0) & 0xFFFFFF, MakePixel(0, 200, 0) & 0xFFFFFF);
  EXPECT_NEAR(PixelGreen(frame.At(1, 0)), 100, 1);
  EXPECT_EQ(frame.At(2, 0) & 0xFFFFFF, 0u) << "where the shape is transparent the image shows";
  EXPECT_EQ(beam.ShownAt(0, 0), MakePixel(0, 200, 0));
  beam.ShowPicture(std::make_shared<Bitmap32>(shape));
  EXPECT_FALSE(beam.Tint) << "a new picture shows its own colours";
}

TEST(Compositor, LayersKeepTheirOrderAndPositionsThroughRemovalsAndMoves) {
  LayeredImage image;
  std::vector<BitmapLayer*> layers;
  for (int i = 0; i < 6; ++i) {
    layers.push_back(&image.CreateLayer());
    layers.back()->Tag = i;
  }
  const auto tags = [&] {
    std::vector<int> order;
    for (int i = 0; i < image.LayerCount(); ++i) order.push_back(image.LayerAt(i).Tag);
    return order;
  };
  image.DestroyLayer(layers[1]);
  image.DestroyLayer(layers[4]);
  EXPECT_EQ(tags(), (std::vector<int>{0, 2, 3, 5}));
  image.BringToFront(layers[0]);
  image.SendToBack(layers[5]);
  EXPECT_EQ(tags(), (std::vector<int>{5, 2, 3, 0}));
  image.DestroyLayer(layers[3]);
  EXPECT_EQ(image.IndexOf(layers[0]), 2);
  EXPECT_EQ(image.IndexOf(nullptr), -1);
  image.CreateLayer().Tag = 9;
  image.DestroyLayerAt(0);
  EXPECT_EQ(tags(), (std::vector<int>{2, 0, 9}));
}

TEST(Compositor, DrawsLayersInStackOrderOpaqueOrBlendedAndClipped) {
  LayeredImage image;
  image.Bitmap.Resize(4, 1, MakePixel(10, 10, 10));
  BitmapLayer& below = image.CreateLayer();
  below.ShowPicture(std::make_shared<Bitmap32>(2, 1, MakePixel(100, 0, 0, 0)));  // opaque ignores alpha
  below.Location = {0, 0, 2, 1};
  BitmapLayer& above = image.CreateLayer();
  above.ShowPicture(std::make_shared<Bitmap32>(3, 1, MakePixel(0, 0, 200)));
  above.Mode = DrawMode::Blend;
  above.MasterAlpha = 255;
  above.Location = {1, 0, 4, 1};
  Bitmap32 frame(3, 1);  // narrower than the image: the rest is clipped
  image.Render(frame, 0, 0, frame.FullRect());
  EXPECT_EQ(frame.At(0, 0) & 0xFFFFFF, MakePixel(100, 0, 0) & 0xFFFFFF);
  EXPECT_EQ(frame.At(1, 0) & 0xFFFFFF, MakePixel(0, 0, 200) & 0xFFFFFF);

  image.SendToBack(&above);
  EXPECT_EQ(image.IndexOf(&above), 0);
  image.Render(frame, 0, 0, frame.FullRect());
  EXPECT_EQ(frame.At(1, 0) & 0xFFFFFF, MakePixel(100, 0, 0) & 0xFFFFFF);
  image.BringToFront(&above);
  EXPECT_EQ(image.IndexOf(&above), 1);
  above.Visible = false;
  image.Render(frame, 0, 0, frame.FullRect());
  EXPECT_EQ(frame.At(2, 0) & 0xFFFFFF, MakePixel(10, 10, 10) & 0xFFFFFF);
}

TEST(Compositor, DamageMergesWhatTouchesAndKeepsApartWhatDoesNot) {
  struct Case {
    std::vector<ClipRect> added;
    std::vector<ClipRect> areas;
  } cases[] = {
      {{}, {}},
      {{{0, 0, 0, 5}}, {}},  // empty
      {{{0, 0, 10, 10}, {20, 20, 30, 30}}, {{0, 0, 10, 10}, {20, 20, 30, 30}}},
      {{{0, 0, 10, 10}, {5, 5, 15, 15}}, {{0, 0, 15, 15}}},
      {{{0, 0, 10, 10}, {10, 0, 20, 10}}, {{0, 0, 20, 10}}},  // side by side
      // The third joins the first two, which did not touch each other.
      {{{0, 0, 10, 10}, {20, 0, 30, 10}, {5, 0, 25, 5}}, {{0, 0, 30, 10}}},
  };
  for (const Case& c : cases) {
    DamageList damage;
    for (const ClipRect& area : c.added) damage.Add(area);
    EXPECT_EQ(damage.Areas(), c.areas) << c.added.size() << " added";
  }
  DamageList many;
  for (int i = 0; i < 40; ++i) many.Add({i * 20, 0, i * 20 + 5, 5});
  ClipRect all;
  for (const ClipRect& area : many.Areas()) all = Union(all, area);
  EXPECT_LE(many.Areas().size(), 12u) << "too many areas become their bounding box";
  EXPECT_EQ(all, (ClipRect{0, 0, 785, 5}));
}

TEST(Compositor, LayersReportWhereTheyCameWentMovedAndRestacked) {
  LayeredImage image;
  image.Bitmap.Resize(100, 100);
  const auto picture = std::make_shared<const Bitmap32>(10, 10, MakePixel(1, 2, 3));
  BitmapLayer& a = image.CreateLayer();
  a.ShowPicture(picture);
  a.Location = {5, 5, 15, 15};
  BitmapLayer& b = image.CreateLayer();
  b.ShowPicture(picture);
  b.Location = {50, 50, 60, 60};
  const ClipRect clip{0, 0, 100, 100};
  const auto changes = [&](int x = 0, int y = 0) {
    DamageList damage;
    image.CollectChanges(damage, x, y, {x, y, x + 100, y + 100});
    return damage.Areas();
  };
  EXPECT_EQ(changes(), std::vector<ClipRect>{clip}) << "the bitmap was never shown";
  EXPECT_TRUE(changes().empty());
  a.Location = {8, 5, 18, 15};
  EXPECT_EQ(changes(), (std::vector<ClipRect>{{5, 5, 18, 15}})) << "moved";
  b.Visible = false;
  EXPECT_EQ(changes(1000, 0), (std::vector<ClipRect>{{1050, 50, 1060, 60}})) << "hidden, the image placed at 1000";
  b.Visible = true;
  b.MasterAlpha = 100;
  b.Mode = DrawMode::Blend;
  EXPECT_EQ(changes(), (std::vector<ClipRect>{{50, 50, 60, 60}})) << "shown, blended";
  image.SendToBack(&b);
  EXPECT_EQ(changes(), (std::vector<ClipRect>{{50, 50, 60, 60}})) << "restacked";
  image.DestroyLayer(&a);
  EXPECT_EQ(changes(), (std::vector<ClipRect>{{8, 5, 18, 15}})) << "destroyed";
  BitmapLayer& never = image.CreateLayer();
  never.ShowPicture(picture);
  image.DestroyLayer(&never);
  EXPECT_TRUE(changes().empty()) << "a layer never shown leaves nothing to repaint";
  image.Bitmap.Set(0, 0, 0);
  EXPECT_EQ(changes(), std::vector<ClipRect>{clip}) << "the bitmap drawn on";
}

TEST(BmpFiles, RoundTripExactlyAndRejectWhatIsNoPicture) {
  Bitmap32 picture(5, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 5; ++x) picture.Set(x, y, MakePixel(x * 50, y * 25, (x * 7 + y * 13) % 256));
  TestAssetDir dir;
  ASSERT_TRUE(WriteBmp24(dir.Path() + "p.bmp", picture));
  const std::optional<Bitmap32> back = ReadBmp(dir.Path() + "p.bmp");
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, picture);
  dir.Write("bad.bmp", "this is not a bitmap");
  EXPECT_FALSE(ReadBmp(dir.Path() + "bad.bmp").has_value());
  EXPECT_FALSE(ReadBmp(dir.Path() + "missing.bmp").has_value());
}

TEST(Catalogue, HoldsEveryPictureAtItsFixedPosition) {
  GameFixture f;
  TForm1& g = f.Game();
  EXPECT_EQ(g.Sprites.Count(), 184);
  EXPECT_EQ(g.BmpTile, 0);
  EXPECT_EQ(g.BmpFont, 61);
  EXPECT_EQ(g.BmpTutorial, 158);
  EXPECT_EQ(g.Sprites.NameAt(g.BmpBuilder + 3), "Builder_R");
  EXPECT_EQ(g.Sprites.NameAt(g.BmpSTunnel), "SMibbetTunnel");
  EXPECT_EQ(g.Sprites.NameAt(g.BmpFTunnel), "FMibbetTunnel");
}

TEST(Catalogue, AlphaCompanionBrightnessBecomesAlpha) {
  struct Case {
    int grey, alpha;
  } cases[] = {{255, 255}, {0, 0}, {128, 128}};
  for (const Case& c : cases) {
    GameFixture probe;
    ASSERT_TRUE(WriteBmp24(probe.Assets.Path() + "companion.bmp", Bitmap32(35, 35, MakePixel(c.grey, c.grey, c.grey))));
    probe.Assets.Remove("Tree1A.bmp");
    std::filesystem::rename(probe.Assets.Path() + "companion.bmp", probe.Assets.Path() + "Tree1A.bmp");
    probe.Game().LoadPicture("Tree1");
    const Bitmap32& tree = *probe.Game().Sprites.At(probe.Game().Sprites.Count() - 1);
    EXPECT_EQ(PixelAlpha(tree.At(17, 17)), c.alpha) << c.grey;
  }
}

TEST(Catalogue, MissingPictureKeepsLaterPicturesInPlace) {
  TestAssetDir dir;
  dir.Remove("Tile.bmp");
  dir.Remove("Cursor.bmp");
  SimulatorOptions options;
  options.AssetDir = dir.Path();
  options.SystemFonts = false;
  Simulator sim(options);
  TForm1& g = sim.Game();
  EXPECT_EQ(g.Sprites.Count(), 184);
  EXPECT_EQ(g.BmpCursor, 2);
  EXPECT_EQ(g.Sprites.NameAt(g.BmpTurret), "Turret");
  EXPECT_EQ(g.Sprites.At(g.BmpTile)->Width(), 35);
  EXPECT_EQ(PixelAlpha(g.Sprites.At(g.BmpTile)->At(0, 0)), 0);
}

// The pictures a session may never show: the tutorial's pages, arrows and cross, and the
// high-score screen's titles.
std::vector<int> PicturesShownOnlyLater(const TForm1& g) {
  std::vector<int> later = {g.BmpHighScores, g.BmpRedCross};
  for (int i = 0; i < 4; ++i) later.insert(later.end(), {g.BmpEnterName + i, g.BmpArrow + i});
  for (int page = 0; page <= 25; ++page) later.push_back(g.BmpTutorial + page);
  return later;
}

Simulator StartedOn(const TestAssetDir& dir) {
  SimulatorOptions options;
  options.AssetDir = dir.Path();
  options.SystemFonts = false;
  return Simulator(options);
}

TEST(Catalogue, PicturesShownOnlyLaterAreReadWhenFirstDrawnAsTheSameFilesAreAtStart) {
  // Tree1, read at start, is given the very files of a tutorial page with its alpha companion.
  TestAssetDir dir;
  for (const std::string suffix : {".bmp", "A.bmp"}) {
    dir.Remove("Tree1" + suffix);
    std::filesystem::copy_file(dir.Path() + "tutorial12" + suffix, dir.Path() + "Tree1" + suffix);
  }
  Simulator sim = StartedOn(dir);
  const TForm1& g = sim.Game();
  for (int picture : PicturesShownOnlyLater(g)) EXPECT_FALSE(g.Sprites.Loaded(picture)) << g.Sprites.NameAt(picture);
  EXPECT_TRUE(g.Sprites.Loaded(g.BmpTree));
  EXPECT_TRUE(g.Sprites.Loaded(g.BmpSplode));

  const PicturePtr page = g.Sprites.At(g.BmpTutorial + 12);
  EXPECT_TRUE(g.Sprites.Loaded(g.BmpTutorial + 12));
  EXPECT_FALSE(g.Sprites.Loaded(g.BmpTutorial + 13)) << "only the picture asked for is read";
  EXPECT_EQ(*page, *g.Sprites.At(g.BmpTree));
  EXPECT_EQ(g.Sprites.At(g.BmpTutorial + 12), page) << "read once, then shared";
}

TEST(Catalogue, ADamagedOrMissingPictureReadLaterBecomesThePlaceholderWhenFirstDrawn) {
  TestAssetDir dir;
  dir.Write("tutorial3.bmp", "this is not a bitmap");
  dir.Remove("highscores.bmp");
  testing::internal::CaptureStderr();
  Simulator sim = StartedOn(dir);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "nothing is read before it is drawn";
  TForm1& g = sim.Game();

  testing::internal::CaptureStderr();
  g.DrawHighScores();
  const Bitmap32 placeholder(35, 35, 0);
  EXPECT_EQ(*g.Sprites.At(g.BmpTutorial + 3), placeholder);
  EXPECT_EQ(*g.Sprites.At(g.BmpHighScores), placeholder);
  g.Sprites.At(g.BmpTutorial + 3);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << "one line for each picture: " << said;
  EXPECT_NE(said.find("tutorial3.bmp"), std::string::npos) << said;
  EXPECT_NE(said.find("highscores.bmp"), std::string::npos) << said;
}

TEST(Catalogue, MenuFramesSizeTheirMenusAndCarryTheIcons) {
  GameFixture f;
  TForm1& g = f.Game();
  EXPECT_EQ(g.MenuImg.Width, g.MenuImg.Image.Bitmap.Width());
  EXPECT_EQ(g.MenuImg.Height, g.MenuImg.Image.Bitmap.Height());
  EXPECT_GT(g.MenuImg.Width, 82);
  EXPECT_GT(g.OrbMenuImg.Height, 54);
  EXPECT_FALSE(g.imSplash.Picture.Empty());
  EXPECT_EQ(g.imGOR.Picture, g.imGOL.Picture);
}

}  // namespace
