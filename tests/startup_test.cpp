// Start-up: the first world, the settings file, the seasonal theme and the version text.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "tests/test_support.h"

namespace {

TEST(StartUp, LaysOutTheFirstWorldWithDefaults) {
  GameFixture f;
  TForm1& g = f.Game();
  EXPECT_EQ(g.GameMode, ModeSplash);
  EXPECT_EQ(g.Scrap, 50);
  EXPECT_EQ(g.Score, 0);
  ASSERT_EQ(g.Resources.size(), 26u);
  ASSERT_EQ(g.Turrets.size(), 4u);
  for (const auto& t : g.Turrets) EXPECT_TRUE(t->BaseTurret);
  ASSERT_EQ(g.Builders.size(), 1u);
  EXPECT_EQ(g.Builders[0]->CellX, 9);
  EXPECT_EQ(g.Builders[0]->CellY, 1);
  EXPECT_EQ(g.HeldBuilder, -1);
  ASSERT_EQ(g.Effects.size(), 1u);
  EXPECT_EQ(g.Orb, g.Effects[0].get());
  EXPECT_EQ(g.Orb->Health, 30.0);
  EXPECT_TRUE(g.Mibbets.empty());
  EXPECT_EQ(g.imScore.LastText, "0");
  EXPECT_EQ(g.imScrapCt.LastText, "50");
  EXPECT_EQ(g.imSignsCt.LastText, "0/4");
  EXPECT_TRUE(g.tmrDiv.Enabled());
  EXPECT_FALSE(g.tmrTick.Enabled());
  EXPECT_TRUE(g.pnlSplash.Visible);
  EXPECT_TRUE(g.MusicOn);
  EXPECT_TRUE(g.SoundOn);
}

TEST(StartUp, ResourcesHaveIncreasingIdsAndFreeCells) {
  GameFixture f;
  TForm1& g = f.Game();
  std::set<std::pair<int, int>> cells;
  for (std::size_t i = 0; i < g.Resources.size(); ++i) {
    const TSprite& r = *g.Resources[i];
    EXPECT_EQ(r.Id, int(i) + 1);
    EXPECT_LT(r.CellX, 19);
    EXPECT_LT(r.CellY, 19);
    EXPECT_FALSE(r.CellY <= 1 && r.CellX >= 8 && r.CellX <= 10) << "on a base cell";
    EXPECT_TRUE(cells.insert({r.CellX, r.CellY}).second) << "two resources share a cell";
    EXPECT_EQ(r.Gatherable, r.Variant >= 2) << "rocks and ruins only";
  }
}

TEST(StartUp, TooManyStartingResourcesStopWhenTheFieldIsFull) {
  GameFixture f("NUMSTARTRES=1000\n");
  EXPECT_EQ(f.Game().Resources.size(), 355u);
}

TEST(Settings, ParsesStrictlyAndFallsBackToDefaults) {
  struct Case {
    const char* line;
    int expectedKill;
  } cases[] = {{"MIBBETKILL=75", 75},   {"MIBBETKILL= -3 ", -3}, {"MIBBETKILL=abc", 50}, {"MIBBETKILL=12abc", 50},
               {"MIBBETKILL=0x10", 50}, {"MIBBETKILL=", 50},     {"OTHER=1", 50}};
  for (const Case& c : cases) {
    TestAssetDir dir(std::string(c.line) + "\n");
    EXPECT_EQ(ReadSettings(dir.Path() + "settings.ini").MIBBETKILL, c.expectedKill) << c.line;
  }
  TestAssetDir floats("TURRETSHOTSTRENGTH=0.25\nMIBBETSHOTSTRENGTH=x\n");
  const TSettings s = ReadSettings(floats.Path() + "settings.ini");
  EXPECT_DOUBLE_EQ(s.TURRETSHOTSTRENGTH, 0.25);
  EXPECT_DOUBLE_EQ(s.MIBBETSHOTSTRENGTH, 1.0);
  EXPECT_EQ(ReadSettings("/nonexistent/settings.ini").BASESCRAP, 50);
}

TEST(Settings, ShippedFileHoldsEveryKeyWithItsDefault) {
  const TSettings shipped = ReadSettings(std::string(MIBBETFALL_SOURCE_DIR) + "/Assets/settings.ini");
  const TSettings defaults;
  for (const SettingKey& key : SettingKeys()) {
    if (const auto* field = std::get_if<int TSettings::*>(&key.Field)) {
      EXPECT_EQ(shipped.*(*field), defaults.*(*field)) << key.Name;
    }
  }
  EXPECT_EQ(shipped.HISCORESERVER, defaults.HISCORESERVER);
  EXPECT_EQ(SettingKeys().size(), 37u);
}

TEST(Theme, FollowsTheDateOfStartUp) {
  struct Case {
    CalendarDate day;
    int theme;
    const char* gift;
    const char* floor;
  } cases[] = {{{2026, 12, 25}, 2, "giftc", "TileSnow"},
               {{2026, 12, 26}, -1, nullptr, "Tile"},
               {{2027, 1, 12}, 0, "gifta", "Tile"},
               {{2026, 6, 30}, 1, "giftb", "Tile"}};
  for (const Case& c : cases) {
    GameFixture f("", c.day);
    TForm1& g = f.Game();
    EXPECT_EQ(g.Theme, c.theme);
    int gifts = 0;
    for (const auto& r : g.Resources) {
      if (c.gift && g.Sprites.NameAt(r->ShownPicture) == c.gift) ++gifts;
    }
    EXPECT_EQ(gifts, c.gift ? 5 : 0);
    EXPECT_EQ(g.Resources.size(), c.gift ? 31u : 26u);
    // The floor is the tile picture painted at every cell of the playfield's own bitmap.
    const Bitmap32& floor = *g.Sprites.At(g.Sprites.NameAt(g.BmpTile) == c.floor ? g.BmpTile : g.BmpTile + 1);
    EXPECT_EQ(g.Playfield.Image.Bitmap.At(35 * 15 + 3, 35 * 12 + 4) | 0xFF000000u, floor.At(3, 4) | 0xFF000000u);
  }
}

TEST(Version, DropsAtMostTwoTrailingZeros) {
  EXPECT_EQ(TForm1::VersionText(1, 8, 0, 0), "1.8");
  EXPECT_EQ(TForm1::VersionText(1, 0, 0, 0), "1.0");
  EXPECT_EQ(TForm1::VersionText(2, 3, 0, 1), "2.3.0.1");
  EXPECT_EQ(TForm1::VersionText(2, 3, 1, 0), "2.3.1");
  EXPECT_EQ(TForm1::VersionString(), "1.8");
}

TEST(DebugMode, MaroonWindowHelpBoxAndLogWrittenAtExit) {
  GameFixture f("DEBUG=1\n");
  TForm1& g = f.Game();
  EXPECT_EQ(g.WindowColour, MakePixel(128, 0, 0));
  EXPECT_TRUE(g.memDbg.Visible);
  EXPECT_EQ(g.memDbg.Lines.size(), 6u);
  g.LogDebug("Mibbet 1 at sign 2");
  f.Sim->Quit();
  std::ifstream log(f.Assets.Path() + "debug.txt", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "Mibbet 1 at sign 2\r\n");
}

TEST(DebugMode, OffCollectsNothingAndWritesNothing) {
  GameFixture f;
  f.Game().LogDebug("line");
  EXPECT_TRUE(f.Game().DebugLog.empty());
  f.Sim->Quit();
  EXPECT_FALSE(std::filesystem::exists(f.Assets.Path() + "debug.txt"));
}

}  // namespace
