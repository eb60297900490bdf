// The simulator's dump: what it shows of sounds, debug lines, layer order, menus and frames.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "tests/test_support.h"

namespace {

using Json = nlohmann::json;

// No creature comes out of a tunnel for the length of these tests.
struct QuietGame : GameFixture {
  explicit QuietGame(const std::string& settings = "") : GameFixture("INITDELAY=100000\n" + settings) {
    StartPlaying();
    Sim->Dump();  // what the start-up asked for is not the test's business
  }
  TForm1& g = Game();
  Json Dump() { return Json::parse(Sim->Dump()); }
  void ClickCell(int cx, int cy) { Sim->Press(9 + CellSize * cx + 17, 9 + CellSize * cy + 17); }
};

// The "Played" flags of the requests for one cue, in order.
std::vector<bool> PlayedFlags(const Json& dump, const std::string& cue) {
  std::vector<bool> flags;
  for (const Json& r : dump["SoundRequests"])
    if (r["Name"] == cue) flags.push_back(r["Played"].get<bool>());
  return flags;
}

TEST(SimDump, TurretCuesHeldBackByTheirThrottleAreListedButNotPlayed) {
  for (const bool fileThere : {true, false}) {
    QuietGame q;
    if (!fileThere) q.Assets.Remove("turret.wav");
    q.g.AddMibbet(KindF, 8, 2, 0);  // right below the base turret on (8, 1)

    const Json first = q.Dump();  // nothing has ticked yet
    EXPECT_TRUE(PlayedFlags(first, "turret").empty());

    q.Sim->Wait(100);  // two ticks: the turret fires at every one
    const Json early = q.Dump();
    const Json late = (q.Sim->Wait(500), q.Dump());  // the throttle lets one cue through again
    if (!fileThere) {
      // A cue without a file is no request at all, played or held back.
      EXPECT_TRUE(PlayedFlags(early, "turret").empty());
      EXPECT_TRUE(PlayedFlags(late, "turret").empty());
      continue;
    }
    EXPECT_EQ(PlayedFlags(early, "turret"), (std::vector<bool>{true, false}));
    const std::vector<bool> lateFlags = PlayedFlags(late, "turret");
    EXPECT_EQ(std::count(lateFlags.begin(), lateFlags.end(), true), 1);
    EXPECT_EQ(lateFlags.size(), 10u);
    // "Sounds" keeps its meaning: only the cues that reached the voice.
    for (const Json* dump : {&early, &late}) {
      const Json& sounds = (*dump)["Sounds"];
      EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "turret"), 1);
    }
    EXPECT_TRUE(q.Sim->Sound().Requested.empty());
    EXPECT_TRUE(q.Sim->Sound().Log.empty());
  }
}

TEST(SimDump, DebugLinesAreThoseLoggedSinceThePreviousDump) {
  QuietGame q("DEBUG=1\n");
  q.g.LogDebug("first");
  EXPECT_EQ(q.Dump()["DebugLines"], Json::array({"first"}));
  EXPECT_EQ(q.Dump()["DebugLines"], Json::array());

  q.g.LogDebug("second");
  q.g.LogDebug("third");
  const Json two = q.Dump();
  EXPECT_EQ(two["DebugLines"], Json::array({"second", "third"}));
  EXPECT_EQ(two["DebugLinesLost"], 0);

  // More lines than the log keeps: the dump shows the kept ones and counts the rest.
  const int kept = 100000, extra = 3;
  for (int i = 0; i < kept + extra; ++i) q.g.LogDebug("line " + std::to_string(i));
  const Json flood = q.Dump();
  ASSERT_EQ(flood["DebugLines"].size(), std::size_t(kept));
  EXPECT_EQ(flood["DebugLines"].front(), "line 3");
  EXPECT_EQ(flood["DebugLines"].back(), "line 100002");
  EXPECT_EQ(flood["DebugLinesLost"], extra);

  q.g.LogDebug("after");
  EXPECT_EQ(q.Dump()["DebugLines"], Json::array({"after"}));
}

TEST(SimDump, HolesLieAtTheBottomOfThePlayfieldStack) {
  QuietGame q;
  q.g.WarnHole(5, 10, 1);
  const auto layerOf = [](const Json& dump, const char* flag) {
    for (const Json& e : dump["Effects"])
      if (e[flag] == true) return e["LayerIndex"].get<int>();
    return -2;
  };
  const int top = q.g.Playfield.Image.LayerCount() - 1;
  Json dump = q.Dump();
  EXPECT_EQ(layerOf(dump, "OpensHole"), 0);
  const Json& warning = dump["Effects"][dump["Effects"].size() - 2];  // laid just before the bump
  EXPECT_EQ(warning["LayerIndex"], top);

  q.g.OpenEmergenceHole(5, 10, 1);
  dump = q.Dump();
  EXPECT_EQ(layerOf(dump, "LeavesHoleMark"), 0);
  EXPECT_EQ(layerOf(dump, "OpensHole"), 1);
  EXPECT_EQ(dump["Cursor"]["Visible"], true);
}

TEST(SimDump, MenusShowWhereTheyOpenedWhatIsPointedAtAndItsPrice) {
  QuietGame q;
  q.ClickCell(3, 4);
  Json dump = q.Dump();
  const Json& build = dump["Menus"]["MenuImg"];
  EXPECT_EQ(build["Left"], 105);
  EXPECT_EQ(build["Top"], 140);
  EXPECT_EQ(build["Tag"], -1);
  EXPECT_EQ(build["Visible"], true);
  EXPECT_EQ(build["Price"], "");
  EXPECT_EQ(dump["Cursor"], (Json{{"CellX", 3}, {"CellY", 4}, {"Visible", false}}));

  q.Sim->Move(105 + 60, 140 + 75);  // the fourth sign
  dump = q.Dump();
  EXPECT_EQ(dump["Menus"]["MenuImg"]["Tag"], 3);
  EXPECT_EQ(dump["Menus"]["MenuImg"]["Price"], std::to_string(q.g.SIGNCOST));
  EXPECT_EQ(dump["Menus"]["MenuImg"]["Highlight"], (Json{{"CellX", 1}, {"CellY", 1}, {"Visible", true}}));

  q.ClickCell(0, 10);  // closes it
  q.g.Scrap = 0;
  q.ClickCell(9, 0);
  q.Sim->Move(9 * CellSize + 30, 30);
  dump = q.Dump();
  EXPECT_EQ(dump["Menus"]["MenuImg"]["Visible"], false);
  const Json& orb = dump["Menus"]["OrbMenuImg"];
  EXPECT_EQ(orb["Left"], 9 * CellSize);
  EXPECT_EQ(orb["Top"], 0);
  EXPECT_EQ(orb["Visible"], true);
  EXPECT_EQ(orb["Price"], std::to_string(q.g.BOTCOST));
  EXPECT_EQ(orb["Highlight"], (Json{{"CellX", 0}, {"CellY", 0}, {"Visible", true}}));

  // Buying with no scrap flashes the frame; each tick counts on its tag.
  q.Sim->Press(9 * CellSize + 5, 70);
  dump = q.Dump();
  EXPECT_EQ(dump["WarningFrames"]["spNoCash"], (Json{{"Visible", true}, {"Tag", 0}}));
  EXPECT_EQ(dump["WarningFrames"]["spHatred"]["Visible"], false);
  EXPECT_EQ(dump["Cursor"]["Visible"], true);
  q.Sim->Wait(50);
  EXPECT_EQ(q.Dump()["WarningFrames"]["spNoCash"]["Tag"], 1);
}

}  // namespace
